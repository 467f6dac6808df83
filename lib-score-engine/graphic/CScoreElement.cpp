#include "CScoreElement.h"

#include <algorithm>

#include "ScoreSymbolMap.h"
#include "VGColor.h"
#include "VGDevice.h"

bool CScoreElement::AddChild(CScoreElement* child) {
  if (!child) return false;
  TreesChanged();
  mChildren.push_back(child);
  child->mParent = this;
  return true;
}

void CScoreElement::AdjustDeepDurations() {
  float first = -1;
  float end = -1;
  for (CScoreElement* child : mChildren) {
    if (!child || child->kind == 2) continue;
    child->AdjustDeepDurations();
    if (first == -1 || child->date < first) first = child->date;
    end = std::max(end, child->date + child->duration);
  }
  if (end - first > duration) duration = end - first;
  if (first != -1) date = first;
}

namespace {

bool hasArea(ScoreElementDesc const& d) {
  return d.right - d.left > 0 && d.bottom - d.top > 0;
}

}  // namespace

void CScoreElement::AdjustDeepBoundindBox() {
  for (CScoreElement* child : mChildren) {
    if (!child) continue;
    child->AdjustDeepBoundindBox();
    if (child->kind == 2 || !hasArea(*child)) continue;
    if (hasArea(*this)) {
      left = std::min(left, child->left);
      top = std::min(top, child->top);
      right = std::max(right, child->right);
      bottom = std::max(bottom, child->bottom);
    } else {
      left = child->left;
      top = child->top;
      right = child->right;
      bottom = child->bottom;
    }
  }
}

void CScoreElement::UpdateDeepChildNums() {
  int number = 0;
  for (CScoreElement* child : mChildren) {
    if (!child) continue;
    child->mIndex = number++;
    child->UpdateDeepChildNums();
  }
}

namespace {

VGColor colourOfKind(int kind, unsigned char alpha) {
  switch (kind) {
    case 1:
      return VGColor(200, 0, 0, alpha);
    case 3:
      return VGColor(0, 140, 0, alpha);
    case 4:
      return VGColor(200, 80, 0, alpha);
    case 5:
      return VGColor(0, 0, 200, alpha);
    case 6:
      return VGColor(200, 0, 100, alpha);
    case 7:
      return VGColor(180, 180, 0, alpha);
    case 8:
      return VGColor(0, 120, 120, alpha);
    default:
      return VGColor(0, 0, 0, alpha);
  }
}

}  // namespace

void CScoreElement::Draw(VGDevice& device) const {
  device.SelectFillColor(colourOfKind(kind, kind == 8 ? 255 : 250));
  device.SelectPen(colourOfKind(kind, 120), 1);
  device.Rectangle(left, top, right, bottom);
}

void CScoreElement::DeepDraw(VGDevice& device) const {
  for (CScoreElement const* child : mChildren)
    if (child) child->DeepDraw(device);
  Draw(device);
}

void CScoreElement::Print(std::ostream& os, int indent) const {
  ScoreSymbolMap::DispSymbolInfos(os, this);
  for (CScoreElement const* child : mChildren) {
    if (!child) continue;
    for (int i = 0; i < indent; ++i) os << "  ";
    child->Print(os, indent + 2);
  }
}
