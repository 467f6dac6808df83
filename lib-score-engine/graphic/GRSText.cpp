#include "GRSText.h"

#include "NVstring.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"

GRSText::GRSText(GRStaff* staff, NVstring const& text, int line)
    : GRTag(nullptr, 50), mText(new NVstring(text)), mLine(line) {
  mGrStaff = staff;
  mNeedsSpring = 1;
  float width = 0;
  float height = 0;
  if (gGlobalSettings.gDevice && gFontDefs.text.font)
    gFontDefs.text.font->GetExtent(mText->c_str(), static_cast<int>(mText->length()), &width,
                                   &height, gGlobalSettings.gDevice);
  mBoundingBox.right = width;
  mBoundingBox.top = height;
  mBoundingBox.left -= 12.5f;
  mBoundingBox.bottom = 200;
}

GRSText::~GRSText() {
  delete mText;
  if (mAssociatedElement && !IsWholeLayoutGoing()) mAssociatedElement->removeAssociation(this);
}

void GRSText::addAssociation(GRNotationElement* element) {
  if (mAssociatedElement || !element) return;
  mAssociatedElement = element;
  element->addAssociation(this);
}

void GRSText::removeAssociation(GRNotationElement* element) {
  // The element goes first: the text must not reach back to it later.
  if (element && element == mAssociatedElement) mAssociatedElement = nullptr;
  GRNotationElement::removeAssociation(element);
}

void GRSText::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  device.SetFontAlign(20);
  device.DrawString(mPosition.x + mBoundingBox.left, mLine * 50.0f, mText->c_str(),
                    static_cast<int>(mText->length()));
}
