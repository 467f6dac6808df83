#include "lib-razid-qt/GSystemQt.h"

#include <QFile>
#include <QFont>
#include <QtDebug>
#include <memory>

#include "lib-razid-qt/GDeviceQt.h"
#include "lib-razid-qt/GFontQt.h"
#include "lib-razid-qt/engine_fonts.h"
#include "lib-razid-qt/picture_file.h"
#include "music_symbol_table.h"

VGDevice* GSystemQt::CreateDisplayDevice() {
  auto device = std::make_unique<GDeviceQt>(mPainter, this);
  device->AdoptFonts(CreateVGFont("Arial", 10, 0), CreateVGFont(RazidQt::kMusicFontFamily, 10, 0));
  if (!RazidQt::MusicFamilyAvailable())
    qDebug("Warning : GSystemQt::CreateDisplayDevice() : %s font is not available",
           RazidQt::kMusicFontFamily);
  return device.release();
}

VGDevice* GSystemQt::CreateMemoryDevice(int, int) {
  return nullptr;
}
VGDevice* GSystemQt::CreateMemoryDevice(char const* path) {
  std::unique_ptr<VGPictureFile> const picture = OpenPicture(path);
  return picture ? picture->Read() : nullptr;
}
std::unique_ptr<VGPictureFile> GSystemQt::OpenPicture(char const* path) {
  if (!path) return nullptr;
  return RazidQt::OpenPicture(QFile::decodeName(path), this);
}
VGDevice* GSystemQt::CreatePrinterDevice() {
  return nullptr;
}
VGDevice* GSystemQt::CreateAntiAliasedMemoryDevice(int, int) {
  return nullptr;
}

VGFont const* GSystemQt::CreateVGFont(char const* face, int size, int properties) const {
  if (!face) return nullptr;
  const QFont::Weight weight = (properties & 1) ? QFont::Bold : QFont::Normal;
  QFont font(QString::fromLatin1(face), 10, weight, (properties & 2) != 0);
  // The engine sizes its fonts in pixels; a size Qt refuses (0 or less) keeps the point size.
  if (size > 0) font.setPixelSize(size);
  return new GFontQt(font, face, size, properties, kMusicSymbolTable.data());
}
