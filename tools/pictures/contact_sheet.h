#pragma once
// Contact sheets of the drawn pictures, for looking them over: each picture on a checkered ground
// (so transparency shows), scaled down to fit its cell, with its path under it.
#include <QDir>
#include <QImage>
#include <QStringList>

namespace Pictures {

// Writes the sheets of each folder of `paths` (relative to `pictures`) into `sheets` as
// "<folder with slashes as dashes>-<page>.png", and beside them previews of the home screen, the
// toolbar and the piano put together from the pictures as the screens lay them out; returns the
// files written.
QStringList WriteContactSheets(const QDir& pictures, const QStringList& paths, const QDir& sheets);

// One sheet of the pictures at paths (relative to pictures), `columns` to a row.
QImage ContactSheet(const QDir& pictures, const QStringList& paths, int columns);

}  // namespace Pictures
