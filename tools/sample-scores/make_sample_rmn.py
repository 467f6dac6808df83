#!/usr/bin/env python3
"""Writes generated RMN texts to standard output, for measuring the engine and its tools on music
too large to keep in the repository.

  make_sample_rmn.py staves N      N staves of four quarters each, one voice per staff
  make_sample_rmn.py plain N       N measures of plain 4/4 music on two staves, in eighths, the
                                   pitches moving from measure to measure
"""
import sys

NAMES = ["c", "d", "e", "f", "g", "a", "h"]


def staves(count):
    voices = ["[ \\staff<%d> c d e f ]" % n for n in range(1, count + 1)]
    return "{ " + ", ".join(voices) + " }\n"


def pitch(step, octave):
    return "%s%d" % (NAMES[step % 7], octave + step // 7)


def plain(measures):
    upper = ["[ \\staff<1> \\clef<\"g2\"> \\meter<\"4/4\"> "]
    lower = ["[ \\staff<2> \\clef<\"f4\"> \\meter<\"4/4\"> "]
    for m in range(measures):
        root = m % 7
        upper.append(" ".join(pitch(root + s, 1) + "/8" for s in (0, 2, 4, 7, 4, 2, 1, 0)) + " ")
        lower.append(" ".join(pitch(root + s, -1) + "/8" for s in (0, 4, 2, 4, 0, 4, 2, 4)) + " ")
    return "{ " + "".join(upper) + "], " + "".join(lower) + "] }\n"


def main(arguments):
    kinds = {"staves": staves, "plain": plain}
    if len(arguments) != 2 or arguments[0] not in kinds or not arguments[1].isdigit():
        sys.stderr.write(__doc__)
        return 2
    sys.stdout.write(kinds[arguments[0]](int(arguments[1])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
