#pragma once

#include <QString>
#include <memory>

#include "VGPictureFile.h"

class GSystemQt;

namespace RazidQt {

// The picture in the file of that name, or of that name with a picture format's suffix, read
// whole and weighed by its content; null when there is no such regular file, or its content is
// none whose cost is known before it is decoded. A file too large to be read whole, and a picture
// whose decoded pixels the decoder would not hold, are weighed as more than any score takes. The
// file is kept open, and its picture decoded from what is read from it then when that weighs the
// same.
std::unique_ptr<VGPictureFile> OpenPicture(QString const& path, GSystemQt* system);

}  // namespace RazidQt
