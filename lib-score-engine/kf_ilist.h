#pragma once

// The engine's list of element pointers. With the ownership flag set the list deletes an element
// whenever it removes it and deletes what is left when it is destroyed; with the flag clear it
// only manages its nodes and the elements belong to someone else. All deletion goes through the
// virtual DeleteData, and the flag is read at the moment of removal.

#include "kf_list.h"

template <class T>
class KF_IPointerList : public KF_List<T*> {
  using Base = KF_List<T*>;
  using Node = typename Base::Node;

 public:
  using Compare = int (*)(T const*, T const*);
  using Base::Cut;
  using Base::sort;

  explicit KF_IPointerList(int ownership) : ownership(ownership) {}

  // The same pointers as other, in the same order; the elements are not copied.
  KF_IPointerList(KF_IPointerList<T> const& other, int ownership) : ownership(ownership) {
    for (Node* cur = other.head; cur; cur = cur->next) this->AddTail(cur->data);
  }

  ~KF_IPointerList() override { DeleteElementsForward(); }

  void RemoveAll() override {
    DeleteElementsForward();
    Base::RemoveAll();
  }

  void RemoveAllBackward() override {
    // Each predecessor is taken before its successor's element goes, so an element whose
    // destructor looks at the list still finds it intact.
    Node* cur = this->tail;
    while (cur) {
      Node* prev = cur->prev;
      DeleteData(cur->data);
      cur = prev;
    }
    Base::RemoveAllBackward();
  }

  void RemoveElementAt(void* pos) override {
    if (!pos) return;
    DeleteData(static_cast<Node*>(pos)->data);
    Base::RemoveElementAt(pos);
  }

  virtual void* GetElementPos(T* element) {
    for (Node* cur = this->head; cur; cur = cur->next)
      if (cur->data == element) return cur;
    return nullptr;
  }

  // Removes the first occurrence only; 1 when one was found.
  virtual int RemoveElement(T* element) {
    void* pos = GetElementPos(element);
    if (!pos) return 0;
    RemoveElementAt(pos);
    return 1;
  }

  // Moves every node of other to this tail without copying; other ends empty and its elements
  // fall under this list's flag. Dumping a list into itself would close the chain into a ring.
  virtual void DumpListAtTail(KF_IPointerList<T>* other) {
    MELVARIN_ASSERT(other != this);
    if (!other || !other->head) return;
    ++this->version;
    if (!this->head) {
      this->head = other->head;
      this->tail = other->tail;
      this->count = other->count;
    } else {
      this->tail->next = other->head;
      other->head->prev = this->tail;
      this->tail = other->tail;
      this->count += other->count;
    }
    other->ResetChain();
  }

  // A plain, non-owning list of the same pointers, whatever class this list is.
  virtual KF_IPointerList<T>* getCopy() {
    auto* copy = new KF_IPointerList<T>(0);
    for (Node* cur = this->head; cur; cur = cur->next) copy->AddTail(cur->data);
    return copy;
  }

  virtual void DeleteData(T* element) {
    if (ownership && element) delete element;
  }

  // As the plain Cut, but the new half is a plain pointer list with this list's flag, so with
  // the flag set each half owns the elements of its own nodes.
  virtual void Cut(void* pos, KF_IPointerList<T>** out) {
    auto* rest = new KF_IPointerList<T>(ownership);
    *out = rest;
    this->SpliceAfter(pos, rest);
  }

  virtual void setOwnership(int newOwnership) { ownership = newOwnership; }
  virtual int getOwnership() const { return ownership; }

  // Bubble sort by cmp(earlier, later); only a result of exactly 1 exchanges the pair, so any
  // other positive result leaves it in place and equal elements never move. Values move
  // between nodes, links stay.
  virtual void sort(Compare cmp) {
    if (!this->head) return;
    bool swapped = true;
    while (swapped) {
      swapped = false;
      for (Node* cur = this->head; cur->next; cur = cur->next) {
        if (cmp(cur->data, cur->next->data) == 1) {
          ++this->version;
          T* keep = cur->data;
          cur->data = cur->next->data;
          cur->next->data = keep;
          swapped = true;
        }
      }
    }
  }

  // Inserts before the first element, from the head, that belongs after element; so it lands
  // after every element that compares equal.
  virtual void* AddSortedHead(T* element, Compare cmp) {
    for (Node* cur = this->head; cur; cur = cur->next)
      if (cmp(cur->data, element) > 0) return this->AddElementAt(cur, element);
    return this->AddTail(element);
  }

  // Inserts after the first element, from the tail, that belongs before element; so it lands
  // before every element that compares equal.
  virtual void* AddSortedTail(T* element, Compare cmp) {
    for (Node* cur = this->tail; cur; cur = cur->prev)
      if (cmp(cur->data, element) < 0) return this->AddElementAfter(cur, element);
    return this->AddHead(element);
  }

 protected:
  int ownership;

 private:
  // The nodes stay linked until every element is gone; each successor is taken first.
  void DeleteElementsForward() {
    Node* cur = this->head;
    while (cur) {
      Node* next = cur->next;
      DeleteData(cur->data);
      cur = next;
    }
  }
};
