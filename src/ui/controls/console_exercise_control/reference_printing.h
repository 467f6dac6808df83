#pragma once

// Printing a tall widget over as many pages as it needs: each page shows a header line in red at
// its top left, the title of what is printed at its top right and, below them, the next slice of
// the widget on the white of the paper. A rich-text label is cut only where its pieces meet, so
// that no line or picture is parted and a caption prints on the page of its picture. Works on any
// paged device, a printer or a PDF writer.

#include <QList>
#include <QSize>
#include <QString>

class QPagedPaintDevice;
class QPainter;
class QWidget;

namespace UI::ReferencePrint {

// The band at the top of every page that holds the header instead of content.
constexpr int HeaderBand = 20;

// The maker, the product and the service host the program talks to, or the product's site when
// no host is configured, as one line.
QString Header();

// The rows of the content that one page shows, from `top` up to but not including `bottom`.
struct Slice {
  int top = 0;
  int bottom = 0;
};

// The slices of `content` on pages `pageHeight` high, one a page; none when the page leaves no
// room below the header.
QList<Slice> Slices(const QWidget& content, int pageHeight);

// Paints `slice` of `content` on a page of `pageSize` pixels.
void PaintPage(QPainter& painter, QWidget& content, Slice slice, QSize pageSize,
               const QString& header, const QString& title = {});

enum class Result { Printed, NoRoom, CannotBegin, PageFailed };

// Prints all pages of `content` on `device`. Nothing is painted when the page leaves no room;
// pages painted before a failing page stay printed.
Result Print(QPagedPaintDevice& device, QWidget& content, const QString& header,
             const QString& title = {});

}  // namespace UI::ReferencePrint
