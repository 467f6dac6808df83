#!/usr/bin/env python3
"""Writes the tempo pieces of the ear trainer into resources/midi/.

Every piece is a short piano setting: a melody (channel 0) over a simple left-hand accompaniment
(channel 1), both on the acoustic grand. The file name starts with the tempo class the piece is
played in, and its tempo lies inside that class's bpm range. The tunes are traditional or
public-domain melodies, plus two of this project's own.

Melody notation: tokens such as "E5q", "F#4de", "Rh" (rest), "C4+E4+G4w" (several keys at once),
bars separated by "|". Durations: w h q e s (whole to sixteenth), a leading "d" dots them, "t" is a
triplet eighth. Every bar is checked against the time signature, so a slip in the data fails here.

Accompaniment: one or two chord names per bar ("C", "Am", "G7", "F#m", "Bdim", "-" for none)
played in one of a few left-hand patterns.

Usage: generate.py [output folder]   (default: resources/midi next to this tools folder)
"""

import os
import re
import sys
from fractions import Fraction

from smf_writer import meta, write_smf

PPQN = 480

# Class bpm ranges, from the theory helpers' tempo table, narrowed to the ranges the answer
# buttons describe so that a piece is unmistakably inside its class.
CLASS_RANGES = {
    "adagio": (66, 76),
    "allegro": (120, 130),
    "andante": (80, 100),
    "largo": (40, 60),
    "moderato": (101, 110),
    "presto": (168, 185),
    "vivace": (131, 155),
}

DURATIONS = {"w": Fraction(4), "h": Fraction(2), "q": Fraction(1), "e": Fraction(1, 2),
             "s": Fraction(1, 4), "t": Fraction(1, 3)}
PITCH_CLASSES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
CHORD_SHAPES = {"": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10),
                "dim": (0, 3, 6)}

TOKEN = re.compile(r"^((?:[A-G](?:#|b)?-?\d\+?)+|R)(d?)([whqest])$")
PITCH = re.compile(r"([A-G])(#|b)?(-?\d)")
CHORD = re.compile(r"^([A-G])(#|b)?(m7|m|7|dim)?$")


def midi_note(name):
    letter, accidental, octave = PITCH.fullmatch(name).groups()
    value = PITCH_CLASSES[letter] + (1 if accidental == "#" else -1 if accidental == "b" else 0)
    return 12 * (int(octave) + 1) + value


def parse_voice(text, bar_length, piece):
    """Returns the bars of a voice: lists of (start, duration, [notes]) in beats from the bar."""
    bars = []
    for number, bar in enumerate(text.split("|"), 1):
        at = Fraction(0)
        notes = []
        for token in bar.split():
            match = TOKEN.match(token)
            if not match:
                raise SystemExit(f"{piece}: bar {number}: bad token {token!r}")
            pitches, dotted, code = match.groups()
            length = DURATIONS[code] * (Fraction(3, 2) if dotted else 1)
            if pitches != "R":
                notes.append((at, length, [midi_note(p) for p in pitches.split("+")]))
            at += length
        if at != bar_length:
            raise SystemExit(f"{piece}: bar {number} lasts {at} beats, not {bar_length}")
        bars.append(notes)
    return bars


def chord_notes(name):
    letter, accidental, quality = CHORD.match(name).groups()
    root = PITCH_CLASSES[letter] + (1 if accidental == "#" else -1 if accidental == "b" else 0)
    root %= 12
    bass = 40 + (root - 4) % 12  # E2 .. D#3
    shape = CHORD_SHAPES[quality or ""]
    upper = sorted(55 + (root + step - 7) % 12 for step in shape)  # G3 .. F#4
    fifth = bass + 7
    return bass, fifth, upper


def accompaniment(chords, beats_per_bar, style):
    """Yields (start, duration, [notes], velocity) in beats from the start of the piece."""
    for index, bar in enumerate(chords.split("|")):
        names = bar.split()
        span = Fraction(beats_per_bar, len(names))
        for part, name in enumerate(names):
            if name == "-":
                continue
            start = index * beats_per_bar + part * span
            bass, fifth, upper = chord_notes(name)
            yield from PATTERNS[style](start, span, bass, fifth, upper)


def pattern_block(start, span, bass, fifth, upper):
    yield start, span, [bass] + upper, 58


def pattern_oompah(start, span, bass, fifth, upper):
    beat = 0
    while beat < span:
        low = bass if beat % 2 == 0 else fifth
        yield start + beat, Fraction(1), [low], 66
        if beat + 1 < span:
            yield start + beat + 1, Fraction(1), upper, 54
        beat += 2


def pattern_waltz(start, span, bass, fifth, upper):
    yield start, Fraction(1), [bass], 66
    for beat in range(1, int(span)):
        yield start + beat, Fraction(1), upper, 52


def pattern_arpeggio(start, span, bass, fifth, upper):
    figure = [bass, fifth, upper[1] + 12 if upper[1] + 12 <= 72 else upper[1], fifth]
    step = Fraction(1, 2)
    count = int(span / step)
    for i in range(count):
        yield start + i * step, step, [figure[i % len(figure)]], 56


def pattern_alberti(start, span, bass, fifth, upper):
    low, mid, high = bass + 12, upper[0], upper[-1]
    figure = [low, high, mid, high]
    step = Fraction(1, 2)
    for i in range(int(span / step)):
        yield start + i * step, step, [figure[i % 4]], 50


PATTERNS = {"block": pattern_block, "oompah": pattern_oompah, "waltz": pattern_waltz,
            "arpeggio": pattern_arpeggio, "alberti": pattern_alberti}


class Piece:
    def __init__(self, name, bpm, meter, melody, chords="", style="oompah", repeat=1, voices=()):
        self.name, self.bpm, self.meter = name, bpm, meter
        self.melody, self.chords, self.style = melody, chords, style
        self.repeat, self.voices = repeat, voices


PIECES = [
    # Largo
    Piece("largo_goin_home", 52, (4, 4),
          "E5dq G5e G5h | E5dq D5e C5h | D5q E5q G5q E5q | D5w |"
          " E5dq G5e G5h | E5dq D5e C5h | D5q E5q D5q C5q | C5w",
          "C | F C | G | G7 | C | F C | G7 | C", "arpeggio"),
    Piece("largo_amazing_grace", 54, (3, 4),
          "Rh D4q | G4h B4e G4e | B4h A4q | G4h E4q | D4h D4q | G4h B4e G4e | B4h A4q |"
          " D5dh | D5h B4q | D5h B4e G4e | B4h A4q | G4h E4q | D4h D4q | G4h B4e G4e |"
          " B4h A4q | G4dh",
          "- | G | G | C | G | G | D | D | G | G | D | C | G | G | D7 | G", "waltz"),
    Piece("largo_silent_night", 56, (3, 4),
          "G4dq A4e G4q | E4dh | G4dq A4e G4q | E4dh | D5h D5q | B4dh | C5h C5q | G4dh |"
          " D5h D5q | F5dq D5e B4q | C5dh | E5dh | C5dq G4e E4q | G4dq F4e D4q | C4dh | C4dh",
          "C | C | C | C | G7 | G7 | C | C | G7 | G7 | C | C | C | G7 | C | C", "waltz"),
    Piece("largo_old_hundredth", 50, (4, 4),
          "G4h G4q F#4q | E4q D4q G4q A4q | B4w |"
          " B4h B4q B4q | A4q G4q C5q B4q | A4w |"
          " G4h A4q B4q | A4q G4q E4q F#4q | G4w |"
          " D5h B4q G4q | A4q C5q B4q A4q | G4w",
          "G D | C D | G | G | D C | D | G | Em D | G | G | Am D | G", "block"),
    Piece("largo_greensleeves", 58, (3, 4),
          "Rh A4q | C5h D5q | E5dq F5e E5q | D5h B4q | G4dq A4e B4q | C5h A4q | A4dq G#4e A4q |"
          " B4h G#4q | E4h A4q | C5h D5q | E5dq F5e E5q | D5h B4q | G4dq A4e B4q |"
          " C5dq B4e A4q | G#4dq F#4e G#4q | A4dh",
          "- | Am | C | G | Em | Am | E | E | Am | Am | C | G | Em | Am | E | Am", "waltz"),
    # Adagio
    Piece("adagio_lullaby", 70, (3, 4),
          "Rh E4e E4e | G4h E4e E4e | G4h E4e G4e | C5q B4q A4q | A4q G4q D4e E4e |"
          " F4q D4q D4e E4e | F4h D4e F4e | B4e A4e G4q B4q | C5h C4e C4e | C5h A4e F4e |"
          " G4h E4e C4e | F4q G4q A4q | G4h C4e C4e | C5h A4e F4e | G4h E4e C4e |"
          " F4q E4q D4q | C4dh",
          "- | C | C | F | C G | G7 | G7 | G7 | C | F | C | F | C | F | C | G7 | C", "waltz"),
    Piece("adagio_aura_lee", 72, (4, 4),
          "G4q C5q B4q C5q | D5q A4q D5h | C5q B4q A4q B4q | C5w |"
          " G4q C5q B4q C5q | D5q A4q D5h | C5q B4q A4q B4q | C5w |"
          " E5q E5q E5h | E5q E5q E5h | E5q D5q C5q D5q | E5w |"
          " E5q E5q F5q E5q | D5q A4q D5h | C5q B4q A4q B4q | C5w",
          "C | D7 | G7 | C | C | D7 | G7 | C | E7 | Am | D7 | G7 | C F | D7 | G7 | C",
          "arpeggio"),
    Piece("adagio_auld_lang_syne", 74, (4, 4),
          "Rdh G4q | C5dq C5e C5q E5q | D5dq C5e D5q E5q | C5dq C5e E5q G5q | A5dh A5q |"
          " G5dq E5e E5q C5q | D5dq C5e D5q E5q | C5dq A4e A4q G4q | C5dh Rq",
          "- | C | G | C | F | C | G | F G | C", "arpeggio"),
    Piece("adagio_scarborough_fair", 70, (3, 4),
          "D4h D4q | A4h A4q | E4dq F4e E4q | D4dh | A4q C5h | D5h C5q | A4q B4q G4q |"
          " A4dh | D5h D5q | D5h C5q | A4q A4q G4q | F4q E4q C4q | D4h A4q | G4h F4q |"
          " E4q D4q C4q | D4dh",
          "Dm | Dm | C | Dm | F | Dm | G | Am | Dm | C | F | C | Dm | C | C | Dm", "waltz"),
    Piece("adagio_moonlight", 68, (4, 4), "",
          voices=(
              "Rw | Rw | Rw | Rw | Rdh G#4de G#4s | G#4dh G#4de G#4s | G#4h A4h |"
              " G#4h F#4h | E4w",
              "G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t |"
               " G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t |"
               " A3t C#4t E4t A3t C#4t E4t A3t D4t F#4t A3t D4t F#4t |"
               " G#3t C4t F#4t G#3t C#4t E4t G#3t C#4t D#4t F#3t C4t D#4t |"
               " G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t |"
               " G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t |"
               " A3t C#4t E4t A3t C#4t E4t A3t D4t F#4t A3t D4t F#4t |"
               " G#3t C4t F#4t G#3t C#4t E4t G#3t C#4t D#4t F#3t C4t D#4t |"
               " G#3t C#4t E4t G#3t C#4t E4t G#3t C#4t E4t E3+G#3+C#4q",
              "C#2+C#3w | B1+B2w | A1+A2h F#1+F#2h | G#1+G#2h G#1+G#2h | C#2+C#3w |"
              " B1+B2w | A1+A2h F#1+F#2h | G#1+G#2h G#1+G#2h | C#2+C#3w",
          )),
    # Andante
    Piece("andante_ode_to_joy", 92, (4, 4),
          "E5q E5q F5q G5q | G5q F5q E5q D5q | C5q C5q D5q E5q | E5dq D5e D5h |"
          " E5q E5q F5q G5q | G5q F5q E5q D5q | C5q C5q D5q E5q | D5dq C5e C5h |"
          " D5q D5q E5q C5q | D5q E5e F5e E5q C5q | D5q E5e F5e E5q D5q | C5q D5q G4h |"
          " E5q E5q F5q G5q | G5q F5q E5q D5q | C5q C5q D5q E5q | D5dq C5e C5h",
          "C | C G | C | G | C | C G | C | G C | G | C | G C | C G | C | C G | C | G C"),
    Piece("andante_twinkle", 88, (4, 4),
          "C5q C5q G5q G5q | A5q A5q G5h | F5q F5q E5q E5q | D5q D5q C5h |"
          " G5q G5q F5q F5q | E5q E5q D5h | G5q G5q F5q F5q | E5q E5q D5h |"
          " C5q C5q G5q G5q | A5q A5q G5h | F5q F5q E5q E5q | D5q D5q C5h",
          "C | F C | F C | G C | C F | C G | C F | C G | C | F C | F C | G C"),
    Piece("andante_minuet_in_g", 96, (3, 4),
          "D5q G4e A4e B4e C5e | D5q G4q G4q | E5q C5e D5e E5e F#5e | G5q G4q G4q |"
          " C5q D5e C5e B4e A4e | B4q C5e B4e A4e G4e | F#4q G4e A4e B4e G4e | A4dh |"
          " D5q G4e A4e B4e C5e | D5q G4q G4q | E5q C5e D5e E5e F#5e | G5q G4q G4q |"
          " C5q D5e C5e B4e A4e | B4q C5e B4e A4e G4e | A4q B4e A4e G4e F#4e | G4dh",
          "G | G | C | G | C | G | D | D | G | G | C | G | C | G | D | G", "waltz"),
    Piece("andante_surprise", 84, (2, 4),
          "C5e C5e E5e E5e | G5e G5e E5q | F5e F5e D5e D5e | B4e B4e G4q |"
          " C5e C5e E5e E5e | G5e G5e C6+E5+G5q | A5e F5e D5e B4e | C5q Rq |"
          " C5e C5e E5e E5e | G5e G5e E5q | F5e F5e D5e D5e | B4e B4e G4q |"
          " C5e C5e E5e E5e | G5e G5e C5q | B4e D5e G4e B4e | C5q Rq",
          "C | C | G | G | C | C | F G | C | C | C | G | G | C | C | G | C"),
    Piece("andante_frere_jacques", 90, (4, 4),
          "C5q D5q E5q C5q | C5q D5q E5q C5q | E5q F5q G5h | E5q F5q G5h |"
          " G5e A5e G5e F5e E5q C5q | G5e A5e G5e F5e E5q C5q | C5q G4q C5h | C5q G4q C5h",
          "C | C | C | C | C G | C G | C G | C", "arpeggio", repeat=2),
    Piece("andante_canon", 84, (4, 4),
          "F#5h E5h | D5h C#5h | B4h A4h | B4h C#5h |"
          " D5q C#5q B4q A4q | G4q F#4q G4q E4q | D5q C#5q B4q A4q | G4q F#4q G4q A4q |"
          " D4q F#4q A4q G4q | F#4q D4q F#4q E4q | D4q B3q D4q A4q | G4q B4q A4q G4q |"
          " F#4+A4+D5w",
          "D A | Bm F#m | G D | G A | D A | Bm F#m | G D | G A | D A | Bm F#m | G D | G A | D",
          "arpeggio"),
    # Moderato
    Piece("moderato_mary_had_a_little_lamb", 104, (4, 4),
          "E5q D5q C5q D5q | E5q E5q E5h | D5q D5q D5h | E5q G5q G5h |"
          " E5q D5q C5q D5q | E5q E5q E5q E5q | D5q D5q E5q D5q | C5w",
          "C | C | G | C | C | C | G | C", repeat=2),
    Piece("moderato_london_bridge", 108, (4, 4),
          "G5dq A5e G5q F5q | E5q F5q G5h | D5q E5q F5h | E5q F5q G5h |"
          " G5dq A5e G5q F5q | E5q F5q G5h | D5h G5h | E5q C5dh",
          "C | C | G | C | C | C | G | C", repeat=2),
    Piece("moderato_when_the_saints", 106, (4, 4),
          "Rq C5q E5q F5q | G5w | Rq C5q E5q F5q | G5w | Rq C5q E5q F5q | G5h E5h |"
          " C5h E5h | D5w | Rq E5q E5q D5q | C5dh E5q | G5h G5q F5q | F5dh Rq |"
          " E5q F5q G5h | E5h C5h | D5h D5h | C5w",
          "C | C | C | C | C | C | C | G7 | C | C7 | F | F | C | Am | G7 | C"),
    Piece("moderato_oh_susanna", 102, (4, 4),
          "Rdh C5e D5e | E5q G5q G5dq A5e | G5q E5q C5dq D5e | E5q E5q D5q C5q | D5dh C5e D5e |"
          " E5q G5q G5dq A5e | G5q E5q C5dq D5e | E5q E5q D5q D5q | C5dh Rq",
          "- | C | C | C | G | C | C | G | C", repeat=2),
    Piece("moderato_old_macdonald", 108, (4, 4),
          "G4q G4q G4q D4q | E4q E4q D4h | B4q B4q A4q A4q | G4dh D4q |"
          " G4q G4q G4q D4q | E4q E4q D4h | B4q B4q A4q A4q | G4w",
          "G | C G | G D | G | G | C G | G D | G", repeat=2),
    # Allegro
    Piece("allegro_jingle_bells", 126, (4, 4),
          "E5q E5q E5h | E5q E5q E5h | E5q G5q C5dq D5e | E5w | F5q F5q F5dq F5e |"
          " F5q E5q E5q E5e E5e | E5q D5q D5q E5q | D5h G5h | E5q E5q E5h | E5q E5q E5h |"
          " E5q G5q C5dq D5e | E5w | F5q F5q F5q F5q | F5q E5q E5q E5e E5e | G5q G5q F5q D5q |"
          " C5w",
          "C | C | C | C | F | C | D7 | G7 | C | C | C | C | F | C | G7 | C"),
    Piece("allegro_yankee_doodle", 124, (4, 4),
          "C5q C5q D5q E5q | C5q E5q D5q G4q | C5q C5q D5q E5q | C5h B4h |"
          " C5q C5q D5q E5q | F5q E5q D5q C5q | B4q G4q A4q B4q | C5h C5h",
          "C | C G | C | C G | C | F C | G | C", repeat=2),
    Piece("allegro_serenade", 128, (4, 4),
          "G4q Re D4e G4q Re D4e | G4e D4e G4e B4e D5h | C5q Re A4e C5q Re A4e |"
          " C5e A4e F#4e A4e D4h | G4q Re D4e G4q Re D4e | G4e D4e G4e B4e D5h |"
          " C5q Re A4e C5q Re A4e | C5e A4e F#4e A4e D4h | G4e B4e D5e B4e G4e B4e D5e G5e |"
          " G5+B4+G4w",
          "G | G | D | D | G | G | D7 | D7 | G | G", "alberti"),
    Piece("allegro_camptown_races", 124, (4, 4),
          "G5q G5q E5q G5q | A5q G5q E5h | E5q D5dh | E5q D5dh | G5q G5q E5q G5q |"
          " A5q G5q E5h | D5q E5q D5q D5q | C5w | C5dq C5e E5q G5q | C6w | A5dq A5e C6q A5q |"
          " G5dh E5q | G5q G5q E5e E5e G5q | A5q G5q E5h | D5q E5q D5q D5q | C5w",
          "C | C | G | G | C | C | G | C | C | F | F | C | C | C | G7 | C"),
    Piece("allegro_alouette", 122, (4, 4),
          "C5dq D5e E5q E5q | D5e C5e D5e E5e C5q G4q | C5dq D5e E5q E5q | D5e C5e D5e E5e C5h |"
          " C5dq D5e E5q E5q | D5e C5e D5e E5e C5q G4q | C5dq D5e E5q E5q | D5e C5e D5e E5e C5h",
          "C | G C | C | G C | C | G C | C | G C"),
    # Vivace
    Piece("vivace_korobeiniki", 144, (4, 4),
          "E5q B4e C5e D5q C5e B4e | A4q A4e C5e E5q D5e C5e | B4dq C5e D5q E5q | C5q A4q A4h |"
          " Re D5q F5e A5q G5e F5e | E5dq C5e E5q D5e C5e | B4q B4e C5e D5q E5q | C5q A4q A4h",
          "Am | Am | E | Am | Dm | C | E | Am", repeat=2),
    Piece("vivace_skip_to_my_lou", 146, (4, 4),
          "E5h C5h | E5q E5e E5e G5h | D5h B4h | D5q D5e D5e F5h | E5h C5h |"
          " E5q E5e E5e G5h | D5q E5q F5q D5q | C5w",
          "C | C | G | G7 | C | C | G7 | C", repeat=2),
    Piece("vivace_coming_round_the_mountain", 138, (4, 4),
          "Rh Rq G4e A4e | C5q C5q C5q A4q | G4q E4q G4q C5q | D5dh G4e A4e | D5q D5q D5q B4q |"
          " A4q F4q A4q D5q | E5dh E5e F5e | G5q G5q G5q E5q | C5q C5q C5q A4q |"
          " G4q G4q G4q A4q | B4q C5q D5q B4q | C5w",
          "- | C | C | G | G | G7 | C | C | F | C | G7 | C"),
    Piece("vivace_galop", 150, (2, 4),
          "G4s G4s G4e G4s G4s G4e | G4s G4s C5e D5e E5e | G4s G4s G4e G4s G4s C5e |"
          " E5s E5s D5e B4e G4e | G4s G4s G4e G4s G4s G4e | G4s G4s C5e D5e E5e |"
          " C5e E5e D5e B4e | C5q Rq",
          "C | C | C | G | C | C | G | C", repeat=3),
    Piece("vivace_la_cucaracha", 142, (4, 4),
          "C5e C5e C5e F5q A5dq | C5e C5e C5e F5q A5dq | F5q F5e E5e E5e D5e D5e C5e | C5w |"
          " C5e C5e C5e E5q G5dq | C5e C5e C5e E5q G5dq | C6q D6e C6e Bb5e A5e G5e F5e | F5w",
          "F | F | C7 | C7 | C7 | C7 | C7 F | F", repeat=2),
    Piece("vivace_bingo", 140, (4, 4),
          "Rdh G4q | C5q C5q G4q G4q | A4q A4q G4h | G4q C5q C5q D5q | D5q E5q C5h |"
          " E5h E5h | F5h F5h | D5h D5h | E5h E5q D5q | C5q D5q E5q C5q | D5q B4q G4h |"
          " C5w",
          "- | C | F C | C | G C | C | F | G | C | C F | G7 | C"),
    # Presto
    Piece("presto_turkish_march", 176, (2, 4),
          "B4s A4s G#4s A4s C5q | D5s C5s B4s C5s E5q | F5s E5s D#5s E5s B5s A5s G#5s A5s |"
          " B5s A5s G#5s A5s C6q | A5e C6e B5e A5e | G#5e A5e B5e G#5e | A5e E5e F5e D5e |"
          " C5e B4e A4q",
          "Am | Am | Am | Am | F | E | Am Dm | E Am", "oompah", repeat=3),
    Piece("presto_mountain_king", 180, (4, 4),
          "B3e C#4e D4e E4e F#4e D4e F#4q | E#4e C#4e E#4q E4e C4e E4q |"
          " B3e C#4e D4e E4e F#4e D4e F#4e B4e | A4e F#4e D4e F#4e A4h |"
          " B3e C#4e D4e E4e F#4e D4e F#4q | E#4e C#4e E#4q E4e C4e E4q |"
          " B3e C#4e D4e E4e F#4e D4e F#4e B4e | A4e F#4e D4e F#4e A4h |"
          " B4e C#5e D5e E5e F#5e D5e F#5q | E#5e C#5e E#5q E5e C5e E5q |"
          " B4e C#5e D5e E5e F#5e D5e F#5e B5e | A5e F#5e D5e F#5e A5h | B4+D5+F#5w",
          "Bm | C# C | Bm | D | Bm | C# C | Bm | D | Bm | C# C | Bm | D | Bm"),
    Piece("presto_bumblebee", 172, (4, 4),
          "E5s D#5s D5s C#5s D5s C#5s C5s B4s C5s C#5s D5s C#5s C5s B4s A#4s A4s |"
          " A#4s B4s C5s C#5s D5s C#5s C5s B4s C5s C#5s D5s D#5s E5s F5s E5s D#5s |"
          " E5s D#5s D5s C#5s D5s C#5s C5s B4s C5s C#5s D5s C#5s C5s B4s A#4s A4s |"
          " B4s C5s D5s E5s F5s E5s D#5s E5s A5s G#5s A5s B5s C6s B5s A5s G#5s |"
          " A5s G#5s G5s F#5s F5s E5s D#5s D5s C#5s C5s B4s A#4s A4s G#4s A4s B4s |"
          " C5s B4s A#4s A4s G#4s A4s B4s C5s D5s C5s B4s C5s D5s D#5s E5s D#5s |"
          " E5s F5s E5s D#5s E5s C5s B4s G#4s A4s B4s C5s D5s E5s D5s C5s B4s | A4h Rh",
          "Am | Am | Am | E | Am | Dm | E | Am"),
    Piece("presto_can_can", 176, (2, 4),
          "C5q D5e F5e | E5e D5e G5q | G5q G5e A5e | E5e F5e D5q | D5q D5e F5e |"
          " E5e D5e C5e C6e | B5e A5e G5e F5e | E5e D5e C5q",
          "C | G | C | G | G | C | G | C", repeat=3),
    Piece("presto_this_old_man", 176, (4, 4),
          "G5q E5q G5h | G5q E5q G5h | A5q G5q F5q E5q | D5q E5q F5h |"
          " E5q F5q G5q C5e C5e | C5e C5e C5q C5e D5e E5e F5e | G5q D5q F5q E5q | D5q C5dh",
          "C | C | F C | G | C | C | G7 | G7 C", repeat=2),
    Piece("presto_country_dance", 180, (4, 4),
          "C5e E5e G5e E5e C5e E5e G5e E5e | F5e A5e C6e A5e F5e A5e C6e A5e |"
          " G5e B5e D6e B5e G5e F5e E5e D5e | C5q E5q C5h | E5e D5e C5e D5e E5e F5e G5e A5e |"
          " G5e F5e E5e D5e C5e D5e E5e C5e | D5e G4e B4e D5e G5e F5e E5e D5e | C5q G4q C5h",
          "C | F | G | C | C | C Am | G | G7 C", repeat=2),
]

EXPECTED_COUNTS = {"adagio": 5, "allegro": 5, "andante": 6, "largo": 5, "moderato": 5,
                   "presto": 6, "vivace": 6}


def note_events(track, channel, start_beat, length, notes, velocity, gate):
    on_tick = int(start_beat * PPQN)
    off_tick = on_tick + max(1, int(length * PPQN * gate))
    for note in notes:
        track.append((on_tick, 1, bytes([0x90 | channel, note, velocity])))
        track.append((off_tick, 0, bytes([0x80 | channel, note, 0])))


def render(piece, folder):
    klass = piece.name.split("_")[0]
    low, high = CLASS_RANGES[klass]
    if not low <= piece.bpm <= high:
        raise SystemExit(f"{piece.name}: {piece.bpm} bpm lies outside {klass} ({low}-{high})")
    beats, unit = piece.meter
    bar_length = Fraction(beats * 4, unit)
    gate = Fraction(9, 10) if piece.bpm < 100 else Fraction(4, 5)

    voices = list(piece.voices) or [piece.melody]
    parsed = [parse_voice(text, bar_length, piece.name) for text in voices]
    bars = len(parsed[0])
    if any(len(v) != bars for v in parsed):
        raise SystemExit(f"{piece.name}: voices differ in length")
    if piece.chords and len(piece.chords.split("|")) != bars:
        raise SystemExit(f"{piece.name}: {len(piece.chords.split('|'))} chord bars, {bars} melody bars")

    melody, accompaniment_track = [(0, 0, bytes([0xC0, 0]))], [(0, 0, bytes([0xC1, 0]))]
    piece_length = bars * bar_length
    for round_ in range(piece.repeat):
        offset = round_ * piece_length
        for index, voice in enumerate(parsed):
            track, channel, velocity = (melody, 0, 92) if index == 0 else \
                (accompaniment_track, 1, 60)
            for bar_index, notes in enumerate(voice):
                for at, length, keys in notes:
                    note_events(track, channel, offset + bar_index * bar_length + at, length,
                                keys, velocity, gate)
        if piece.chords:
            for at, length, keys, velocity in accompaniment(piece.chords, bar_length, piece.style):
                note_events(accompaniment_track, 1, offset + at, length, keys, velocity, gate)

    tempo = round(60_000_000 / piece.bpm)
    denominator_power = {2: 1, 4: 2, 8: 3}[unit]
    conductor = [
        (0, 0, meta(0x03, piece.name.encode("ascii"))),
        (0, 0, meta(0x58, bytes([beats, denominator_power, 24, 8]))),
        (0, 0, meta(0x51, tempo.to_bytes(3, "big"))),
    ]
    write_smf(os.path.join(folder, piece.name + ".mid"), PPQN, conductor,
              [melody, accompaniment_track])
    return float(piece_length * piece.repeat * 60 / piece.bpm)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "resources", "midi")
    os.makedirs(folder, exist_ok=True)
    counts = {}
    for piece in PIECES:
        seconds = render(piece, folder)
        klass = piece.name.split("_")[0]
        counts[klass] = counts.get(klass, 0) + 1
        print(f"{piece.name:40s} {piece.bpm:4d} bpm {seconds:5.1f} s")
    if counts != EXPECTED_COUNTS:
        raise SystemExit(f"piece counts per class are {counts}, expected {EXPECTED_COUNTS}")


if __name__ == "__main__":
    main()
