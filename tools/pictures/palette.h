#pragma once
// The one palette every picture of the program is drawn from: a deep night-blue ground, light
// paper panels, an orange accent for what is chosen, and the verdict colours of the trainers.
#include <QColor>

namespace Pictures::Palette {

inline const QColor Night{0x0f, 0x15, 0x25};  // deepest ground, bottoms of gradients
inline const QColor Navy{0x1a, 0x25, 0x3e};   // toolbar and dark panels
inline const QColor Slate{0x2b, 0x3a, 0x5c};  // raised dark surfaces
inline const QColor Steel{0x4a, 0x5e, 0x88};  // borders and quiet buttons on dark ground
inline const QColor Mist{0xc9, 0xd3, 0xe4};   // lines on light panels
inline const QColor Paper{0xf5, 0xf7, 0xfb};  // light panels
inline const QColor Ink{0x64, 0x64, 0x64};    // the grey text the light panels carry
inline const QColor Orange{0xf2, 0x88, 0x22};
inline const QColor Amber{0xff, 0xb4, 0x4a};
inline const QColor Green{0x00, 0xab, 0x65};  // a right answer
inline const QColor Red{0xdc, 0x3f, 0x46};    // a wrong answer
inline const QColor Blue{0x33, 0x82, 0xee};   // a missing note
inline const QColor Gold{0xff, 0xc6, 0x35};

}  // namespace Pictures::Palette
