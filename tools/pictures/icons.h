#pragma once
// Line icons drawn into a square box in one colour; the toolbar, the captions, the home screen
// and the dialogs all use the same set.
#include <QColor>
#include <QPainter>
#include <QRectF>

namespace Pictures::Icons {

void Envelope(QPainter& painter, const QRectF& box, const QColor& colour);
void PianoKeys(QPainter& painter, const QRectF& box, const QColor& colour);
void Book(QPainter& painter, const QRectF& box, const QColor& colour);
void BarChart(QPainter& painter, const QRectF& box, const QColor& colour);
void Gear(QPainter& painter, const QRectF& box, const QColor& colour);
void Question(QPainter& painter, const QRectF& box, const QColor& colour);
void Info(QPainter& painter, const QRectF& box, const QColor& colour);
void Exclamation(QPainter& painter, const QRectF& box, const QColor& colour);
void Plus(QPainter& painter, const QRectF& box, const QColor& colour);
void BackArrow(QPainter& painter, const QRectF& box, const QColor& colour);
void Cross(QPainter& painter, const QRectF& box, const QColor& colour);
void Minimise(QPainter& painter, const QRectF& box, const QColor& colour);
// Four corner arrows pointing out of (enter) or into (leave) the box.
void FullScreen(QPainter& painter, const QRectF& box, const QColor& colour, bool enter);
void EighthNote(QPainter& painter, const QRectF& box, const QColor& colour);
void Ear(QPainter& painter, const QRectF& box, const QColor& colour);
// A flat and a sharp side by side: the music-symbols trainer.
void Accidentals(QPainter& painter, const QRectF& box, const QColor& colour);
void Loudspeaker(QPainter& painter, const QRectF& box, const QColor& colour, int waves);
void MidiPlug(QPainter& painter, const QRectF& box, const QColor& colour);
void PlayTriangle(QPainter& painter, const QRectF& box, const QColor& colour);
void Repeat(QPainter& painter, const QRectF& box, const QColor& colour);
void Sliders(QPainter& painter, const QRectF& box, const QColor& colour);

}  // namespace Pictures::Icons
