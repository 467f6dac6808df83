#pragma once

#include <vector>

#include "ScoreElementDesc.h"
#include "VScoreSymbolMap.h"

namespace EngineTesting {

// Keeps every record reported to it.
class RecordingSymbolMap : public VScoreSymbolMap {
 public:
  std::vector<ScoreElementDesc> elements;

  void AddElement(VGDevice const&, ScoreElementDesc const& desc) override {
    elements.push_back(desc);
  }
  void Finish() override {}
  void SetDent(VGDevice const&, float dent) override { mDent = dent; }
  void Reset() override { elements.clear(); }
  bool IsEmpty() const override { return elements.empty(); }
  float GetDent() const override { return mDent; }
  CScoreElement* GetRootElement() const override { return nullptr; }
  int ElementCount() const override { return static_cast<int>(elements.size()); }
  int ElementCountForType(int) const override { return 0; }
  CScoreElement const* GetElement(int) const override { return nullptr; }
  float GetMinDate() const override { return -1; }
  float GetMaxDate() const override { return 0; }
  CScoreElement* FindNthElementOfType(int, int, CScoreElement*) const override { return nullptr; }
  CScoreElement* FindNearestSubElement(int, float, float) const override { return nullptr; }
  CScoreElement* FindEventHitBy(float, float) const override { return nullptr; }

 private:
  float mDent = 0;
};

}  // namespace EngineTesting
