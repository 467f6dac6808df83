#pragma once

// Printing a tall widget over as many pages as it needs: each page shows a header line in red at
// its top left, the title of what is printed at its top right and, below them, the next slice of
// the widget on the white of the paper. Works on any paged device, a printer or a PDF writer.

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

// Pages needed for `contentHeight` pixels on pages `pageHeight` high; 0 when the page leaves no
// room below the header.
int PageCount(int contentHeight, int pageHeight);

// Paints page `page` (from 0) of `content` on a page of `pageSize` pixels.
void PaintPage(QPainter& painter, QWidget& content, int page, QSize pageSize, const QString& header,
               const QString& title = {});

enum class Result { Printed, NoRoom, CannotBegin, PageFailed };

// Prints all pages of `content` on `device`. Nothing is painted when the page leaves no room;
// pages painted before a failing page stay printed.
Result Print(QPagedPaintDevice& device, QWidget& content, const QString& header,
             const QString& title = {});

}  // namespace UI::ReferencePrint
