#!/usr/bin/python3
"""Writes the music font resources/fonts/razid2.ttf from LilyPond's Emmentaler-20.

The engine draws each symbol code as one character of the font "Razid2" at 200 pixels, which is
four staff line spaces, so one line space is 250 of the font's 1000 units and the source glyphs
keep their size. What this script adds is placement: every glyph is moved to where the engine's
drawing code expects it (left edge or centre of the advance, baseline on the note, the clef's
bottom line, the stem's tip, ...), and a few symbols (stems, ledger line, bar lines) are drawn
here because the source font has none.

The code-to-character table is read from the engine's own source, so the font and the engine use
one table. The same input gives the same bytes.

Run with Debian's Python (python3-fonttools), from anywhere:
    /usr/bin/python3 tools/font/make_razid2.py [--source emmentaler-20.otf] [--output razid2.ttf]
"""

import argparse
import glob
import math
import os
import re
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

REPO = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
TABLE_SOURCE = os.path.join(REPO, "lib-score-engine", "graphic", "music_symbol_table.cpp")
DEFAULT_OUTPUT = os.path.join(REPO, "resources", "fonts", "razid2.ttf")
SOURCE_PATTERN = "/usr/share/lilypond/*/fonts/otf/emmentaler-20.otf"

FAMILY = "Razid2"
VERSION = "Version 1.000"
# Fixed so that the same input gives the same bytes: 2026-01-01 in seconds since 1904-01-01.
TIMESTAMP = 3850070400
COPYRIGHT = ("Copyright (c) 1996-2017 The LilyPond authors (lilypond.org); "
             "glyphs selected, placed and completed by the MelvarinStudio developers.")
LICENSE = ("This Font Software is licensed under the SIL Open Font License, Version 1.1. "
           "This license is available with a FAQ at: https://openfontlicense.org")
LICENSE_URL = "https://openfontlicense.org"
RESERVED_NAMES = ("emmentaler", "feta")

LINE_SPACE = 250  # font units; the engine's 50 units at size 1 are 5 font units each
ENGINE_UNIT = LINE_SPACE / 50
STEM = 25  # thickness of stems and thin bar lines
HEAD_WIDTH = 300  # the engine spaces notes for heads exactly 60 units wide
DOT_RADIUS = 56

# Symbol codes the engine draws whose character the table moves onto another code's glyph.
SHARED_CODES = {}


def read_symbol_table(path=TABLE_SOURCE):
    """The 256-entry code -> character table, as the engine builds it."""
    with open(path, encoding="utf-8") as source:
        text = source.read()
    block = re.search(r"// BEGIN MOVED SYMBOLS\n(.*?)// END MOVED SYMBOLS", text, re.S)
    if not block:
        sys.exit("make_razid2: no moved-symbol block in " + path)
    table = list(range(256))
    for code, character in re.findall(r"\{(\d+),\s*(\d+)\}", block.group(1)):
        table[int(code)] = int(character)
    return table


def round_up_to_5(value):
    return int(math.ceil(value / 5.0 - 1e-9)) * 5


# Outline parts: a source glyph under a transform, or a filled rectangle.
def part(name, dx=0, dy=0, sx=1.0):
    return ("glyph", name, (sx, 0, 0, 1, dx, dy))


def rect(x0, y0, x1, y1):
    return ("rect", (x0, y0, x1, y1))


def repeat_dots(centre_x):
    return [part("dots.dot", centre_x - DOT_RADIUS, y) for y in (375, 625)]


# How the ink sits in the advance:
#   "centre": the ink moves horizontally so that it is centred in an advance that is its width
#             rounded up to 5 units (left-aligned glyphs then start at their x, centred ones
#             (alignment 9 or a reference of minus half the width) are centred on it);
#   "head":   as centre, stretched to exactly HEAD_WIDTH;
#   int:      the parts are kept where they are, with this advance.
class Symbol:

    def __init__(self, code, name, parts, advance="centre", dy=0, ink_on_baseline=False,
                 ink_under_baseline=False):
        self.code = code
        self.name = name
        self.parts = parts
        self.advance = advance
        self.dy = dy
        self.ink_on_baseline = ink_on_baseline
        self.ink_under_baseline = ink_under_baseline


def rest(code, name, source, row_y):
    # Emmentaler's rests have their origin on the middle line (engine y 100); the engine draws
    # each at its own row, so the glyph moves down by the rows' distance.
    return Symbol(code, name, [part(source)], dy=-round(ENGINE_UNIT * (100 - row_y)))


def above(code, name, source):
    # Articulations and similar marks are placed by the lowest point of their ink.
    return Symbol(code, name, [part(source)], ink_on_baseline=True)


def below(code, name, source):
    # Marks turned over under the notes hang from the highest point of their ink.
    return Symbol(code, name, [part(source)], ink_under_baseline=True)


# Extra room after a letter when the next one follows, where the source relies on kerning.
DYNAMIC_KERNING = {"mp": 40}


def dynamic(code, name, letters, widths):
    x = 0
    parts = []
    for index, letter in enumerate(letters):
        parts.append(part(letter, x))
        x += widths[letter] + DYNAMIC_KERNING.get(letters[index:index + 2], 0)
    return Symbol(code, name, parts)


def symbols(source_widths):
    up_flag_dx = HEAD_WIDTH - STEM + 16  # the source flag's stem part starts 16 left of 0
    down_flag_dx = 16
    ls = LINE_SPACE
    return [
        # Note heads: drawn at the note's x minus half the advance, on the note's y.
        Symbol(88, "noteheadBlack", [part("noteheads.s2")], "head"),
        Symbol(69, "noteheadHalf", [part("noteheads.s1")], "head"),
        Symbol(191, "noteheadX", [part("noteheads.s2cross")], "head"),
        Symbol(119, "noteheadWhole", [part("noteheads.s0")]),
        Symbol(87, "noteheadBreve", [part("noteheads.sM1")]),
        Symbol(81, "noteheadDiamondBlack", [part("noteheads.s2diamond")]),
        Symbol(79, "noteheadDiamondWhite", [part("noteheads.s1diamond")]),
        # Stem pieces, drawn from the head's left edge: down stems on the head's left side, up
        # stems on its right side, one line space each.
        Symbol(218, "stemDownStart", [rect(0, -ls, STEM, 0)], HEAD_WIDTH),
        Symbol(150, "stemDown", [rect(0, -ls, STEM, 0)], HEAD_WIDTH),
        Symbol(219, "stemUpStart", [rect(HEAD_WIDTH - STEM, 0, HEAD_WIDTH, ls)], HEAD_WIDTH),
        Symbol(151, "stemUp", [rect(HEAD_WIDTH - STEM, 0, HEAD_WIDTH, ls)], HEAD_WIDTH),
        # Flags hang from the stem's tip at the baseline, on the stem's x, towards the head.
        Symbol(106, "flag8thUp", [part("flags.u3", up_flag_dx)], 500),
        Symbol(107, "flag16thUp", [part("flags.u4", up_flag_dx)], 500),
        Symbol(221, "flag32ndUp", [part("flags.u5", up_flag_dx)], 500),
        Symbol(115, "flag64thUp", [part("flags.u6", up_flag_dx)], 500),
        Symbol(246, "flag128thUp", [part("flags.u7", up_flag_dx)], 500),
        Symbol(248, "flag256thUp", [part("flags.u8", up_flag_dx)], 500),
        Symbol(74, "flag8thDown", [part("flags.d3", down_flag_dx)], 285),
        Symbol(75, "flag16thDown", [part("flags.d4", down_flag_dx)], 285),
        Symbol(222, "flag32ndDown", [part("flags.d5", down_flag_dx)], 285),
        Symbol(83, "flag64thDown", [part("flags.d6", down_flag_dx)], 285),
        Symbol(245, "flag128thDown", [part("flags.d7", down_flag_dx)], 285),
        Symbol(247, "flag256thDown", [part("flags.d8", down_flag_dx)], 285),
        # The augmentation dot is drawn at the note's x and must clear the head; the staccato,
        # the same code, is centred by half the advance: the dot sits at half the advance.
        Symbol(46, "augmentationDot", [part("dots.dot", 265 - DOT_RADIUS)], 530),
        Symbol(95, "legerLine", [rect(0, -10, 510, 10)], 510),
        # Accidentals: centred on their x, on the note's y.
        Symbol(35, "accidentalSharp", [part("accidentals.sharp")]),
        Symbol(98, "accidentalFlat", [part("accidentals.flat")]),
        Symbol(110, "accidentalNatural", [part("accidentals.natural")]),
        Symbol(180, "accidentalDoubleSharp", [part("accidentals.doublesharp")]),
        Symbol(134, "accidentalDoubleFlat", [part("accidentals.flatflat")]),
        # Rests (drawn centred) at the staff rows the engine gives them.
        rest(165, "restQuarter", "rests.2", 100),
        rest(97, "rest8th", "rests.3", 62.5),
        rest(64, "rest16th", "rests.4", 112.5),
        rest(174, "rest32nd", "rests.5", 112.5),
        rest(108, "rest64th", "rests.6", 162.5),
        rest(47, "rest128th", "rests.7", 212.5),
        rest(249, "rest256th", "rests.8", 262.5),
        # Clefs stand on the bottom line: their reference lines are 1, 2 and 3 spaces above it.
        Symbol(38, "gClef", [part("clefs.G")], dy=ls),
        Symbol(66, "cClef", [part("clefs.C")], dy=2 * ls),
        Symbol(63, "fClef", [part("clefs.F")], dy=3 * ls),
        # Meters: common and cut time on the middle line, digits centred on the baseline.
        Symbol(99, "timeSigCommon", [part("timesig.C44")]),
        Symbol(67, "timeSigCutCommon", [part("timesig.C22")]),
    ] + [
        Symbol(48 + digit, "timeSig%d" % digit, [part(word)], dy=-ls)
        for digit, word in enumerate(("zero", "one", "two", "three", "four", "five", "six",
                                      "seven", "eight", "nine"))
    ] + [
        # Bar lines and repeats stand on the bottom line and reach the top line.
        Symbol(139, "barlineSingle", [rect(0, 0, STEM, 4 * ls)], STEM),
        Symbol(92, "barlineFinal", [rect(0, 0, STEM, 4 * ls), rect(100, 0, 200, 4 * ls)], 200),
        Symbol(125, "repeatRight",
               repeat_dots(DOT_RADIUS) + [rect(187, 0, 212, 4 * ls), rect(287, 0, 387, 4 * ls)]),
        Symbol(93, "repeatLeft",
               [rect(0, 0, 100, 4 * ls), rect(175, 0, 200, 4 * ls)] + repeat_dots(275 + DOT_RADIUS)),
        # Articulations, the trill sign and the breath mark, centred on their x.
        above(62, "articAccent", "scripts.sforzato"),
        above(94, "articMarcatoAbove", "scripts.umarcato"),
        above(118, "articMarcatoBelow", "scripts.dmarcato"),
        above(45, "articTenuto", "scripts.tenuto"),
        above(85, "fermataAbove", "scripts.ufermata"),
        below(117, "fermataBelow", "scripts.dfermata"),
        above(44, "breathMarkComma", "scripts.rcomma"),
        above(109, "ornamentTrill", "scripts.trill"),
        above(77, "ornamentMordent", "scripts.mordent"),
        # The wavy vertical mark hangs three line spaces down from its y.
        Symbol(164, "wiggleArpeggiato",
               [part("scripts.arpeggio", 0, -306 - k * ls) for k in range(3)]),
        # Jump marks, centred on their y.
        Symbol(230, "coda", [part("scripts.coda")]),
        Symbol(37, "segno", [part("scripts.segno")]),
        # Dynamics on the baseline, composed of the source's letters.
        dynamic(112, "dynamicPiano", "p", source_widths),
        dynamic(132, "dynamicPP", "pp", source_widths),
        dynamic(80, "dynamicMP", "mp", source_widths),
        dynamic(70, "dynamicMF", "mf", source_widths),
        dynamic(102, "dynamicForte", "f", source_widths),
        dynamic(131, "dynamicFF", "ff", source_widths),
        dynamic(39, "dynamicFFF", "fff", source_widths),
        dynamic(240, "dynamicPPP", "ppp", source_widths),
        dynamic(241, "dynamicPPPP", "pppp", source_widths),
        dynamic(242, "dynamicFFFF", "ffff", source_widths),
        dynamic(243, "dynamicSforzando", "sf", source_widths),
        dynamic(244, "dynamicSforzato", "sfz", source_widths),
    ]


def draw_parts(parts, source_glyphs, pen):
    for kind, *data in parts:
        if kind == "glyph":
            name, transform = data
            source_glyphs[name].draw(TransformPen(pen, transform))
        else:
            x0, y0, x1, y1 = data[0]
            pen.moveTo((x0, y0))
            pen.lineTo((x0, y1))
            pen.lineTo((x1, y1))
            pen.lineTo((x1, y0))
            pen.closePath()


def ink_bounds(parts, source_glyphs, transform=(1, 0, 0, 1, 0, 0)):
    bounds = BoundsPen(source_glyphs)
    draw_parts(parts, source_glyphs, TransformPen(bounds, transform))
    return bounds.bounds


def placed_transform(symbol, source_glyphs):
    """The transform that puts the symbol's ink where the engine draws it, and its advance."""
    x_min, y_min, x_max, y_max = ink_bounds(symbol.parts, source_glyphs)
    dy = symbol.dy - (y_min if symbol.ink_on_baseline else 0)
    dy -= y_max if symbol.ink_under_baseline else 0
    if isinstance(symbol.advance, int):
        return (1, 0, 0, 1, 0, dy), symbol.advance
    if symbol.advance == "head":
        scale = HEAD_WIDTH / (x_max - x_min)
        return (scale, 0, 0, 1, -x_min * scale, dy), HEAD_WIDTH
    width = x_max - x_min
    advance = round_up_to_5(width)
    return (1, 0, 0, 1, (advance - width) / 2 - x_min, dy), advance


def quadratic_glyph(symbol, transform, source_glyphs):
    pen = TTGlyphPen(source_glyphs)
    # PostScript outlines run counter-clockwise, TrueType ones clockwise.
    draw_parts(symbol.parts, source_glyphs,
               TransformPen(Cu2QuPen(pen, max_err=1.0, reverse_direction=True), transform))
    return pen.glyph()


def check_table(table, placed):
    """Every code the engine draws must reach a glyph, and no two glyphs may share a character."""
    characters = {}
    for symbol in placed:
        character = table[symbol.code]
        if character in characters:
            sys.exit("make_razid2: codes %d and %d both map to character %d" %
                     (characters[character], symbol.code, character))
        characters[character] = symbol.code
    for code, character in SHARED_CODES.items():
        if table[code] != character or character not in characters:
            sys.exit("make_razid2: code %d must share character %d with a drawn code" %
                     (code, character))
    return characters


def check_names(font):
    for record in font["name"].names:
        text = record.toUnicode().lower()
        for reserved in RESERVED_NAMES:
            if reserved in text:
                sys.exit("make_razid2: reserved font name in name ID %d" % record.nameID)


def build(source_path, output_path):
    source = TTFont(source_path)
    source_glyphs = source.getGlyphSet()
    widths = {name: source["hmtx"][name][0] for name in ("f", "m", "p", "s", "z")}
    placed = symbols(widths)
    table = read_symbol_table()
    check_table(table, placed)

    glyph_order = [".notdef"] + [symbol.name for symbol in placed]
    glyphs = {".notdef": TTGlyphPen(None).glyph()}
    advances = {".notdef": 500}
    cmap = {}
    for symbol in placed:
        transform, advance = placed_transform(symbol, source_glyphs)
        glyphs[symbol.name] = quadratic_glyph(symbol, transform, source_glyphs)
        advances[symbol.name] = advance
        cmap[table[symbol.code]] = symbol.name

    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder(glyph_order)
    builder.setupCharacterMap(cmap)
    builder.setupGlyf(glyphs)
    glyf = builder.font["glyf"]
    metrics = {}
    for name in glyph_order:
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        metrics[name] = (advances[name], getattr(glyph, "xMin", 0))
    builder.setupHorizontalMetrics(metrics)
    y_max = max(getattr(glyf[name], "yMax", 0) for name in glyph_order)
    y_min = min(getattr(glyf[name], "yMin", 0) for name in glyph_order)
    builder.setupHorizontalHeader(ascent=y_max, descent=y_min)
    builder.setupNameTable({
        "copyright": COPYRIGHT,
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": FAMILY + " Regular " + VERSION,
        "fullName": FAMILY,
        "version": VERSION,
        "psName": FAMILY,
        "licenseDescription": LICENSE,
        "licenseInfoURL": LICENSE_URL,
    })
    builder.setupOS2(sTypoAscender=y_max, sTypoDescender=y_min, sTypoLineGap=0,
                     usWinAscent=y_max, usWinDescent=-y_min, fsType=0, achVendID="NONE")
    builder.setupPost()
    builder.setupHead(unitsPerEm=1000, created=TIMESTAMP, modified=TIMESTAMP, fontRevision=1.0)
    builder.font.recalcTimestamp = False
    check_names(builder.font)
    os.makedirs(os.path.dirname(os.path.abspath(output_path)), exist_ok=True)
    builder.save(output_path)


def default_source():
    found = sorted(glob.glob(SOURCE_PATTERN))
    return found[-1] if found else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", default=default_source(),
                        help="Emmentaler-20 OpenType file (package lilypond-fonts)")
    parser.add_argument("--output", default=DEFAULT_OUTPUT, help="TrueType file to write")
    args = parser.parse_args()
    if not args.source or not os.path.exists(args.source):
        sys.exit("make_razid2: Emmentaler-20 not found; install the package lilypond-fonts")
    build(args.source, args.output)


if __name__ == "__main__":
    main()
