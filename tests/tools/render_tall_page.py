#!/usr/bin/env python3
"""rmn-render without --size on a page far higher than wide (a thousand staves): the picture is
scaled down to 20000 pixels high instead of growing with the page.

  render_tall_page.py RMN_RENDER MAKE_SAMPLE_RMN WORK_FOLDER
"""
import os
import struct
import subprocess
import sys


def main(render, make_sample, folder):
    os.makedirs(folder, exist_ok=True)
    text = os.path.join(folder, "thousand_staves.rmn")
    picture = os.path.join(folder, "thousand_staves.png")
    with open(text, "w") as out:
        subprocess.run([sys.executable, make_sample, "staves", "1000"], stdout=out, check=True)
    if os.path.exists(picture):
        os.remove(picture)
    run = subprocess.run([render, text, picture], capture_output=True, text=True)
    if run.returncode != 0:
        print("rmn-render failed:", run.returncode, run.stderr)
        return 1
    with open(picture, "rb") as png:
        width, height = struct.unpack(">II", png.read(24)[16:24])
    print("picture %d x %d" % (width, height))
    if height != 20000 or not 0 < width < 1240:
        print("expected a picture 20000 pixels high and narrower than 1240")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
