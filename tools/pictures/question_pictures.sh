#!/bin/sh
# Draws the music-symbols trainer's question pictures with the notation engine (rmn-render) from
# the table in questions/questions.txt into resources/engine_pictures/pixmap/exercise. Run from anywhere
# in the repository after changing the table, look at the result, and commit the pictures.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset default >/dev/null
cmake --build --preset default --target rmn-render
out=resources/engine_pictures/pixmap/exercise
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grep -v '^#' tools/pictures/questions/questions.txt | while IFS='	' read -r file rmn; do
  [ -n "$file" ] || continue
  printf '%s\n' "$rmn" >"$work/question.rmn"
  QT_QPA_PLATFORM=offscreen build/default/tools/rmn-render --size 400 \
    "$work/question.rmn" "$out/$file" >/dev/null
done
