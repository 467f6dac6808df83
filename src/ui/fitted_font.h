#pragma once

// Fitting a text into a fixed box by making its font smaller, for the few places whose looks set
// one font size for texts of any length.

#include <QFont>
#include <QSize>
#include <QString>

namespace UI {

// `font` at the largest pixel size, no larger than its own, at which `text` (all its lines)
// fits `room`; at `smallest` when even that size does not fit.
QFont FittedFont(QFont font, const QString& text, QSize room, int smallest);

}  // namespace UI
