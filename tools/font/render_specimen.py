#!/usr/bin/python3
"""Renders every glyph of razid2.ttf on five-line staves to a PNG, placed as the engine draws it.

Line space 50 px, glyphs at 200 px (one font unit is 0.2 px). Each column shows one symbol code at
the position and alignment the engine uses for it, with the note heads, stems or staff it goes
with; a red tick marks the element's own position. The image is for looking at, not for tests.

    /usr/bin/python3 tools/font/render_specimen.py [--font razid2.ttf] [--output specimen.png]
"""

import argparse
import os
import struct
import sys
import zlib

import numpy
from fontTools.pens.basePen import BasePen
from fontTools.ttLib import TTFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_razid2  # noqa: E402  (the code-to-character table)

SCALE = 0.2  # pixels per font unit at 200 px
COLUMNS = 10
COLUMN_WIDTH = 140
ROW_HEIGHT = 500
STAFF_TOP = 170  # y of the top line within a row


class FlattenPen(BasePen):
    """Collects an outline as closed polygons in pixels, curves cut into short lines."""

    def __init__(self, glyph_set, x, y):
        super().__init__(glyph_set)
        self.origin = (x, y)
        self.polygons = []

    def _point(self, pt):
        return (self.origin[0] + pt[0] * SCALE, self.origin[1] - pt[1] * SCALE)

    def _moveTo(self, pt):
        self.polygons.append([self._point(pt)])

    def _lineTo(self, pt):
        self.polygons[-1].append(self._point(pt))

    def _qCurveToOne(self, pt1, pt2):
        start = self._getCurrentPoint()
        for i in range(1, 9):
            t = i / 8
            x = (1 - t)**2 * start[0] + 2 * (1 - t) * t * pt1[0] + t * t * pt2[0]
            y = (1 - t)**2 * start[1] + 2 * (1 - t) * t * pt1[1] + t * t * pt2[1]
            self.polygons[-1].append(self._point((x, y)))

    def _curveToOne(self, pt1, pt2, pt3):
        start = self._getCurrentPoint()
        for i in range(1, 9):
            t = i / 8
            a, b, c, d = (1 - t)**3, 3 * (1 - t)**2 * t, 3 * (1 - t) * t * t, t**3
            self.polygons[-1].append(
                self._point((a * start[0] + b * pt1[0] + c * pt2[0] + d * pt3[0],
                             a * start[1] + b * pt1[1] + c * pt2[1] + d * pt3[1])))


def fill(image, polygons, value):
    """Non-zero winding fill, sampled at pixel centres."""
    edges = []
    for polygon in polygons:
        for i, (x0, y0) in enumerate(polygon):
            x1, y1 = polygon[(i + 1) % len(polygon)]
            if y0 != y1:
                edges.append((x0, y0, x1, y1))
    if not edges:
        return
    top = max(0, int(min(min(e[1], e[3]) for e in edges)))
    bottom = min(image.shape[0] - 1, int(max(max(e[1], e[3]) for e in edges)) + 1)
    for row in range(top, bottom + 1):
        yc = row + 0.5
        crossings = []
        for x0, y0, x1, y1 in edges:
            if (y0 <= yc < y1) or (y1 <= yc < y0):
                crossings.append((x0 + (yc - y0) * (x1 - x0) / (y1 - y0), 1 if y1 > y0 else -1))
        crossings.sort()
        winding = 0
        for i, (x, direction) in enumerate(crossings[:-1]):
            winding += direction
            if winding != 0:
                start = max(0, int(round(x)))
                end = min(image.shape[1], int(round(crossings[i + 1][0])))
                image[row, start:end] = value


class Specimen:

    def __init__(self, font_path, rows):
        self.font = TTFont(font_path)
        self.glyphs = self.font.getGlyphSet()
        self.cmap = self.font.getBestCmap()
        self.table = make_razid2.read_symbol_table()
        self.image = numpy.full((rows * ROW_HEIGHT, COLUMNS * COLUMN_WIDTH, 3), 255, numpy.uint8)

    def advance(self, code):
        return self.font["hmtx"][self.cmap[self.table[code]]][0] * SCALE

    def draw(self, code, x, y, align=17, colour=(0, 0, 0)):
        """Draws code with its baseline at y; alignment 9 centres the advance on x."""
        if align == 9:
            x -= self.advance(code) / 2
        pen = FlattenPen(self.glyphs, x, y)
        self.glyphs[self.cmap[self.table[code]]].draw(pen)
        fill(self.image, pen.polygons, colour)

    def staff(self, column, row):
        left = column * COLUMN_WIDTH + 10
        top = row * ROW_HEIGHT + STAFF_TOP
        for line in range(5):
            self.image[int(top + 50 * line), left:left + COLUMN_WIDTH - 20] = (150, 150, 150)
        return left + COLUMN_WIDTH / 2 - 10, top

    def tick(self, x, y):
        x, y = int(x), int(y)
        self.image[y - 6:y + 7, x] = (220, 0, 0)
        self.image[y, x - 6:x + 7] = (220, 0, 0)

    def head(self, code, x, y):
        self.draw(code, x - self.advance(code) / 2, y)

    def stem_note(self, x, y, direction, flag=None, length=175):
        """A filled head with the engine's stem pieces, as a note draws them."""
        self.head(88, x, y)
        left = x - 30
        if direction < 0:
            self.draw(218, left, y)
            dy = 25
            while True:
                if 50 + dy > length:
                    self.draw(150, left, y + length - 50)
                    break
                self.draw(150, left, y + dy)
                dy += 25
                if dy >= length:
                    break
            tip = y + length
        else:
            self.draw(219, left, y)
            dy = -25
            while True:
                if 50 - dy > length:
                    self.draw(151, left, y + 50 - length)
                    break
                self.draw(151, left, y + dy)
                dy -= 25
                if -dy >= length:
                    break
            tip = y - length
        if flag:
            self.draw(flag, left, tip)
            self.tick(left, tip)


def layout(s):
    """(code, drawing function) in the order shown."""
    rests = {165: 100, 97: 62.5, 64: 112.5, 174: 112.5, 108: 162.5, 47: 212.5, 249: 262.5}
    clefs = {38: (150, 50), 66: (100, 100), 63: (50, 150)}
    articulations = {46: 0, 62: 25, 94: 26.4, 118: 56, 45: 0, 85: 0, 44: -49.875, 109: 0}

    def heads(code):
        return lambda x, top: (s.head(code, x, top + 100), s.tick(x, top + 100))

    def rest(code):
        return lambda x, top: (s.draw(code, x, top + rests[code], 9), s.tick(x, top + rests[code]))

    def clef(code):
        y, ref_y = clefs[code]
        return lambda x, top: (s.draw(code, x - s.advance(code) / 2 - 10, top + y + ref_y),
                               s.tick(x, top + y))

    def digits(code):
        def draw(x, top):
            for y in (50, 150):
                s.draw(code, x - s.advance(code) / 2 - 10, top + y)
                s.tick(x, top + y)
        return draw

    def articulation(code):
        def draw(x, top):
            s.head(88, x, top + 150)
            y = top + 25 + (articulations[code] if code != 118 else 0)
            if code == 118:  # below the note
                y = top + 225 + articulations[code]
            s.draw(code, x - s.advance(code) / 2, y)
            s.tick(x, y)
        return draw

    def accidental(code):
        def draw(x, top):
            s.head(88, x + 20, top + 125)
            h = s.advance(code) / 2
            ax = x + 20 - (30 + h + 10)
            s.draw(code, ax - h, top + 125)
            s.tick(ax, top + 125)
        return draw

    def flagged(code, direction):
        # The engine lengthens the stem by 25 for three flags, by 50 for four, by 100 (up) or
        # 125 (down) for five and by 150 (up) or 175 (down) for six.
        length = 175 + {221: 25, 222: 25, 83: 50, 115: 50, 245: 125, 246: 100, 247: 175,
                        248: 150}.get(code, 0)
        return lambda x, top: s.stem_note(x, top + (75 if direction < 0 else 150), direction, code,
                                          length)

    def dynamic(code):
        return lambda x, top: (s.draw(code, x - s.advance(code) / 2, top + 280), s.tick(x, top + 280))

    def bar(code):
        ref_x = {139: -s.advance(139) / 2, 92: -40}.get(code)
        if ref_x is None:
            return lambda x, top: (s.draw(code, x, top + 200, 9), s.tick(x, top))
        return lambda x, top: (s.draw(code, x + ref_x, top + 200), s.tick(x, top))

    def ledger(x, top):
        for y in (-50, -100, 250):
            s.draw(95, x - 51, top + y)
        s.head(88, x, top - 100)
        s.head(88, x, top + 250)
        s.tick(x, top - 100)

    def dot(x, top):
        s.head(88, x, top + 125)
        s.draw(46, x, top + 125)
        s.head(69, x, top + 25)
        s.draw(46, x, top + 25)
        s.tick(x, top + 125)

    def jump(code):
        return lambda x, top: (s.draw(code, x - s.advance(code) / 2, top - 100),
                               s.tick(x, top - 100))

    def bembel(x, top):
        s.draw(164, x - s.advance(164) / 2, top + 25)
        s.tick(x, top + 25)

    def stems(direction):
        return lambda x, top: (s.stem_note(x, top + (50 if direction < 0 else 150), direction),
                               s.tick(x, top + (50 if direction < 0 else 150)))

    def common(code):
        return lambda x, top: (s.draw(code, x - s.advance(code) / 2 - 10, top + 100),
                               s.tick(x, top))

    entries = [(c, heads(c)) for c in (88, 69, 191, 119, 87, 81, 79)]
    entries += [(218, stems(-1)), (219, stems(1))]
    entries += [(c, flagged(c, -1)) for c in (74, 75, 222, 83, 245, 247)]
    entries += [(c, flagged(c, 1)) for c in (106, 107, 221, 115, 246, 248)]
    entries += [(46, dot), (95, ledger)]
    entries += [(c, accidental(c)) for c in (35, 98, 110, 180, 134)]
    entries += [(c, rest(c)) for c in rests]
    entries += [(c, clef(c)) for c in clefs]
    entries += [(c, common(c)) for c in (99, 67)]
    entries += [(c, digits(c)) for c in range(48, 58)]
    entries += [(c, bar(c)) for c in (139, 92, 125, 93)]
    entries += [(c, articulation(c)) for c in articulations]
    entries += [(164, bembel), (230, jump(230)), (37, jump(37))]
    entries += [(c, dynamic(c)) for c in (112, 132, 80, 70, 102, 131, 39)]
    return entries


def write_png(path, image):
    height, width, _ = image.shape
    raw = b"".join(b"\0" + image[row].tobytes() for row in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--font", default=make_razid2.DEFAULT_OUTPUT)
    parser.add_argument("--output", default="razid2-specimen.png")
    args = parser.parse_args()
    probe = Specimen(args.font, 1)
    entries = layout(probe)
    specimen = Specimen(args.font, (len(entries) + COLUMNS - 1) // COLUMNS)
    for index, (code, draw) in enumerate(layout(specimen)):
        x, top = specimen.staff(index % COLUMNS, index // COLUMNS)
        draw(x, top)
    write_png(args.output, specimen.image)
    print("%s: %d symbols" % (args.output, len(entries)))


if __name__ == "__main__":
    main()
