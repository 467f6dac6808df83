#pragma once
// Contact sheets of the drawn pictures, for looking them over: each picture on a checkered ground
// (so transparency shows), scaled down to fit its cell, with its path under it.
#include <QDir>
#include <QStringList>

namespace Pictures {

// Writes the sheets of each folder of `paths` (relative to `pictures`) into `sheets` as
// "<folder with slashes as dashes>-<page>.png"; returns the sheet files written.
QStringList WriteContactSheets(const QDir& pictures, const QStringList& paths, const QDir& sheets);

}  // namespace Pictures
