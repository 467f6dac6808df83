#pragma once

#include <deque>
#include <ostream>

#include "CScoreElement.h"
#include "VScoreSymbolMap.h"

// The symbol map of one page: the records reported while the page draws, turned into a tree by
// Finish. It holds as many records as the page draws (the layout's work limit bounds them), and
// a record never moves once added, so tree links stay valid.
class ScoreSymbolMap : public VScoreSymbolMap {
 public:
  static constexpr int kKinds = 10;

  ScoreSymbolMap();

  void AddElement(VGDevice const& device, ScoreElementDesc const& desc) override;
  void Finish() override;
  void SetDent(VGDevice const& device, float dent) override;
  void Reset() override;
  bool IsEmpty() const override { return mElements.empty(); }
  float GetDent() const override { return mDent; }
  CScoreElement* GetRootElement() const override { return mCurrentPage; }
  int ElementCount() const override { return static_cast<int>(mElements.size()); }
  int ElementCountForType(int kind) const override;
  CScoreElement const* GetElement(int index) const override { return &mElements[index]; }
  float GetMinDate() const override { return mMinDate; }
  float GetMaxDate() const override { return mMaxDate; }
  // From the given element, else from the root.
  CScoreElement* FindNthElementOfType(int kind, int n, CScoreElement* from) const override;
  // The root itself when it has the kind.
  CScoreElement* FindNearestSubElement(int kind, float x, float y) const override;
  // The event where the descent from the root by the point stops; null when it stops elsewhere.
  CScoreElement* FindEventHitBy(float x, float y) const override;

  static char const* KindToString(int kind);
  static void DispSymbolInfos(std::ostream& os, ScoreElementDesc const* desc);

 private:
  void BuildTree();
  void CleanupTree(CScoreElement* element);

  int mCounts[kKinds] = {};
  std::deque<CScoreElement> mElements;
  CScoreElement* mCurrentPage = nullptr;
  CScoreElement* mCurrentSystem = nullptr;
  CScoreElement* mCurrentSlice = nullptr;
  CScoreElement* mCurrentStaff = nullptr;
  float mMinDate = -1;
  float mMaxDate = 0;
  float mDent = 0;
};
