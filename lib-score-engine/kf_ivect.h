#pragma once

// The engine's sparse array of element pointers with an ownership flag. An owning vector deletes
// an element when Delete empties its slot and deletes what is left when it is destroyed; Set over
// an element does not delete the old one, and Cut/CutBegin hand elements over to the new vector.

#include "kf_vect.h"

template <class T>
class KF_IVector : public KF_Vector<T*> {
  using Base = KF_Vector<T*>;

 public:
  using Base::Cut;

  explicit KF_IVector(int ownership) : Base(nullptr), ownership(ownership) {}

  ~KF_IVector() override {
    if (!ownership) return;
    for (int i = 0; i < this->memsize; ++i) {
      T* element = this->data[i];
      if (!element) continue;
      // clang-format off
      MELVARIN_ASSERT(i+this->indexoffset >= this->minimum);
      MELVARIN_ASSERT(i+this->indexoffset <= this->maximum);
      // clang-format on
      delete element;
    }
  }

  // Owning: an empty slot, or an index outside the buffer, is left alone.
  void Delete(int index) override {
    if (!ownership) {
      Base::Delete(index);
      return;
    }
    const int slot = index - this->indexoffset;
    if (slot < 0 || slot >= this->memsize || !this->data[slot]) return;
    MELVARIN_ASSERT(index >= this->minimum);
    MELVARIN_ASSERT(index <= this->maximum);
    delete this->data[slot];
    Base::Delete(index);
  }

  // Moves the elements above index into a new vector with this flag.
  virtual void Cut(int index, KF_IVector<T>** out) {
    *out = nullptr;
    if (index < this->minimum || index > this->maximum) return;
    auto* rest = new KF_IVector<T>(ownership);
    *out = rest;
    if (index == this->maximum) return;
    const int newcount = this->MoveAbove(index, *rest);
    if (rest->count == 0) MELVARIN_ASSERT(newcount == 0);
  }

  // Moves the elements from minimum up to index into a new vector with this flag.
  virtual void CutBegin(int index, KF_IVector<T>** out) {
    *out = nullptr;
    if (index < this->minimum || index > this->maximum) return;
    auto* front = new KF_IVector<T>(ownership);
    *out = front;
    std::free(front->data);
    front->Allocate(index - this->minimum + 21, this->minimum - 10);
    int newcount = 0;
    for (int i = this->minimum; i <= index; ++i) {
      T*& from = this->data[i - this->indexoffset];
      if (!from) continue;
      front->data[i - front->indexoffset] = from;
      from = nullptr;
      if (newcount == 0) front->minimum = i;
      front->maximum = i;
      ++newcount;
    }
    front->count = newcount;
    if (front->maximum < front->minimum) {
      MELVARIN_ASSERT(newcount == 0);
      front->maximum = -1;
      front->minimum = 0;
    }
    this->count -= newcount;
    if (this->count == 0) {
      this->maximum = -1;
      this->minimum = 0;
      return;
    }
    this->minimum = index + 1;
    while (this->minimum < this->maximum && this->IsEmptyAt(this->minimum)) ++this->minimum;
  }

  virtual void setOwnership(int newOwnership) { ownership = newOwnership; }
  virtual int getOwnership() const { return ownership; }

 protected:
  int ownership;
};
