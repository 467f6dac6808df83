#!/usr/bin/env bash
# Writes the answer-feedback sounds into resources/wav/ with sox:
#   right.wav  two bright bell-like notes rising a fourth (E6 then A6), about 0.45 s
#   wrong.wav  a soft low two-note fall (A3 then F3) with a dull timbre, about 0.5 s
# 44.1 kHz, 16-bit mono, normalised; the program mixes them in at about the piano's loudness.
set -euo pipefail
export SOX_OPTS="-R"  # repeatable dither: the same script writes the same files
out=${1:-"$(cd "$(dirname "$0")/../.." && pwd)/resources/wav"}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT


# Bell: a sine with a quiet octave overtone and a long exponential decay.
bell() {  # name seconds frequency octave-above
  sox -q -n -r 44100 -c 1 -b 16 "$tmp/$1-a.wav" synth "$2" sine "$3" fade h 0.003 "$2" "$2"
  sox -q -n -r 44100 -c 1 -b 16 "$tmp/$1-b.wav" synth "$2" sine "$4" \
    fade h 0.003 "$2" "$2" vol 0.25
  sox -q -m "$tmp/$1-a.wav" "$tmp/$1-b.wav" "$tmp/$1.wav"
}

bell right1 0.16 1318.51 2637.02
bell right2 0.30 1760.00 3520.00
sox -q "$tmp/right1.wav" "$tmp/right2.wav" "$out/right.wav" norm -6

# Dull: a triangle wave softened by a low-pass, falling a major third.
sox -q -n -r 44100 -c 1 -b 16 "$tmp/wrong1.wav" synth 0.18 triangle 220 lowpass 900 fade q 0.01 0.18 0.04
sox -q -n -r 44100 -c 1 -b 16 "$tmp/wrong2.wav" synth 0.32 triangle 174.61 lowpass 900 fade q 0.01 0.32 0.2
sox -q "$tmp/wrong1.wav" "$tmp/wrong2.wav" "$out/wrong.wav" norm -8
