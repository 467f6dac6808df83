#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Picture files made in memory, as a user or a hostile file would have them beside a score.
namespace PictureFiles {

// The picture in the format Qt writes it in (a name such as "png", "bmp" or "jpeg").
QByteArray Written(QImage const& picture, char const* format, bool progressive = false);
// A picture of the size in two halves, blue then red.
QImage Halves(int width, int height);

// A PNG of the picture (8 bits a channel, colour) with its rows interlaced.
QByteArray InterlacedPng(QImage const& picture);
// A PNG of one pixel whose image data go on for so many more bytes.
QByteArray PngWithMoreData(qint64 moreBytes);

// A black PNG of the side at 16 bits a channel.
QByteArray BlackPngOf16Bits(int side);

// An SVG document of the size around the body.
QByteArray Svg(int side, QString const& body);
// Gzip-compressed: the head, so many copies of the fill byte, then the tail.
QByteArray Gzip(QByteArray const& head, char fill, qint64 fills, QByteArray const& tail);

// An icon whose directory tells of one picture of a single pixel, holding the PNG instead.
QByteArray IconHolding(QByteArray const& png);
// A progressive JPEG of the picture whose last scan is repeated so many times more.
QByteArray JpegWithScanRepeated(QImage const& picture, int times);
// The JPEG with the bytes put in front of its first scan.
QByteArray JpegWithBeforeScans(QByteArray const& jpeg, QByteArray const& bytes);
// The JPEG with comment segments of so many bytes in all after its start.
QByteArray JpegWithComments(QByteArray const& jpeg, qint64 bytes);
// A plain (text) pixmap of two pixels, blue then red, with so many blanks after its magic.
QByteArray PlainPixmapAfterBlanks(qint64 blanks);

}  // namespace PictureFiles
