#include "ScoreSymbolMap.h"

#include <algorithm>
#include <iostream>

#include "VGDevice.h"

ScoreSymbolMap::ScoreSymbolMap() = default;

void ScoreSymbolMap::AddElement(VGDevice const& device, ScoreElementDesc const& desc) {
  // Tree links point at the records: a deque keeps them in place as it grows at its end.
  CScoreElement& e = mElements.emplace_back(desc);
  const float x0 = device.GetXOrigin();
  const float y0 = device.GetYOrigin();
  const float sx = device.GetXScale();
  const float sy = device.GetYScale();
  e.left = (e.left + x0) * sx;
  e.right = (e.right + x0) * sx;
  e.top = (e.top + y0) * sy;
  e.bottom = (e.bottom + y0) * sy;
  e.refX = (e.refX + x0) * sx;
  e.headX = (e.headX + x0) * sx;
  e.refY = (e.refY + y0) * sy;
  if (static_cast<unsigned>(e.kind) < kKinds) ++mCounts[e.kind];
}

void ScoreSymbolMap::SetDent(VGDevice const& device, float dent) {
  mDent = device.GetYScale() * dent;
}

int ScoreSymbolMap::ElementCountForType(int kind) const {
  return static_cast<unsigned>(kind) < kKinds ? mCounts[kind] : 0;
}

void ScoreSymbolMap::Reset() {
  mElements.clear();
  for (int& count : mCounts) count = 0;
  mCurrentPage = mCurrentSystem = mCurrentSlice = mCurrentStaff = nullptr;
  mMinDate = -1;
  mMaxDate = 0;
  mDent = 0;
}

namespace {

void adopt(CScoreElement* parent, CScoreElement& child, char const* missing) {
  if (parent)
    parent->AddChild(&child);
  else
    std::cout << "ScoreSymbolMap error: " << missing << std::endl;
}

}  // namespace

void ScoreSymbolMap::BuildTree() {
  // The furthest bar of the system so far, and where that put the start of the current slice:
  // its staves start there, the lower ones too, which a bar of the staff above in the same
  // slice would shrink to nothing.
  float lastBarX = -1;
  float sliceStartX = -1;
  std::vector<CScoreElement*> others;
  for (CScoreElement& e : mElements) {
    switch (e.kind) {
      case 8:
        mCurrentPage = &e;
        break;
      case 7:
        mCurrentSystem = &e;
        adopt(mCurrentPage, e, "no current page");
        lastBarX = sliceStartX = -1;
        break;
      case 6:
        mCurrentSlice = &e;
        adopt(mCurrentSystem, e, "no current system");
        sliceStartX = lastBarX;
        break;
      case 5:
        mCurrentStaff = &e;
        adopt(mCurrentSlice, e, "no current system slice");
        // A staff after a bar of an earlier slice of its system starts at that bar.
        if (e.parent() && sliceStartX != -1) e.left = sliceStartX;
        break;
      case 3:
        if (mCurrentStaff) {
          lastBarX = std::max(lastBarX, e.right);
          mCurrentStaff->right = e.right;
        }
        adopt(mCurrentStaff, e, "no current staff");
        break;
      case 1:
        if (mMinDate == -1 || mMinDate > e.date) mMinDate = e.date;
        if (e.date + e.duration > mMaxDate) mMaxDate = e.date + e.duration;
        adopt(mCurrentStaff, e, "no current staff");
        break;
      case 2:
        others.push_back(&e);
        break;
      default:
        break;
    }
  }
  if (mCurrentStaff)
    for (CScoreElement* e : others) mCurrentStaff->AddChild(e);
}

void ScoreSymbolMap::CleanupTree(CScoreElement* element) {
  auto& children = element->mutableChildren();
  for (size_t i = 0; i < children.size();) {
    CScoreElement* child = children[i];
    if (child) CleanupTree(child);
    if (child && (child->kind == 5 || child->kind == 6) && child->children().empty() &&
        child->duration <= 0) {
      children.erase(children.begin() + static_cast<long>(i));
      --mCounts[child->kind];
      continue;
    }
    ++i;
  }
}

void ScoreSymbolMap::Finish() {
  BuildTree();
  if (!mCurrentPage) return;
  mCurrentPage->AdjustDeepDurations();
  mCurrentPage->AdjustDeepBoundindBox();
  CleanupTree(mCurrentPage);
  mCurrentPage->UpdateDeepChildNums();
}

char const* ScoreSymbolMap::KindToString(int kind) {
  switch (kind) {
    case 1:
      return "event";
    case 3:
      return "bar";
    case 4:
      return "measure";
    case 5:
      return "staff";
    case 6:
      return "system_slice";
    case 7:
      return "system";
    case 8:
      return "page";
    default:
      return "unknown";
  }
}

void ScoreSymbolMap::DispSymbolInfos(std::ostream& os, ScoreElementDesc const* desc) {
  if (!desc) {
    os << "\\null" << std::endl;
    return;
  }
  os << "\\" << KindToString(desc->kind) << "<date=\"" << desc->date << "\" duration=\""
     << desc->duration << "\" box=\"" << static_cast<int>(desc->left) << ", "
     << static_cast<int>(desc->top) << ", " << static_cast<int>(desc->right) << ", "
     << static_cast<int>(desc->bottom) << "\">" << std::endl;
}
