#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace RazidQt {

// The engine keeps texts as the bytes the score was written in. Scores are written in UTF-8;
// bytes that are not valid UTF-8 come from older Latin-1 files and are read as such.
QString DecodeScoreText(QByteArrayView bytes);

// The bytes of a score text as the engine reads them: UTF-8, so that every character survives.
QByteArray EncodeScoreText(const QString& text);

}  // namespace RazidQt
