#!/usr/bin/env python3
"""Turns the UTF-8 read-me source into what Windows users open: CP932, CRLF.

Usage: make-readme.py IN OUT

Fails, naming the line, on a character CP932 cannot hold exactly or on a
line wider than 78 columns (a full-width character takes two), so the
shipped file never holds wrong marks or runs past a Notepad window.
"""

import sys
import unicodedata

MAX_COLUMNS = 78

# Wave dashes: converters disagree on where they go, so keep them out.
SHAKY = {"\u301c", "\uff5e"}


def columns(line):
    return sum(2 if unicodedata.east_asian_width(c) in "WFA" else 1 for c in line)


def main(argv):
    if len(argv) != 2:
        raise SystemExit("usage: make-readme.py IN OUT")
    src, dst = argv
    with open(src, encoding="utf-8-sig", newline="") as f:
        text = f.read()
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    errors = []
    out = bytearray()
    for no, line in enumerate(lines, 1):
        for c in line:
            # Python's codec quietly maps some look-alikes (U+2212 to U+FF0D,
            # U+301C to U+FF5E); only a character that comes back unchanged
            # is really in CP932.
            try:
                ok = c not in SHAKY and c.encode("cp932").decode("cp932") == c
            except UnicodeEncodeError:
                ok = False
            if not ok:
                errors.append("%s:%d: U+%04X %s does not belong in CP932 text"
                              % (src, no, ord(c), unicodedata.name(c, "?")))
        width = columns(line)
        if width > MAX_COLUMNS:
            errors.append("%s:%d: %d columns, more than %d"
                          % (src, no, width, MAX_COLUMNS))
        if not errors:
            out += line.encode("cp932") + b"\r\n"
    if errors:
        sys.stderr.write("\n".join(errors) + "\n")
        raise SystemExit(1)
    with open(dst, "wb") as f:
        f.write(bytes(out))


if __name__ == "__main__":
    main(sys.argv[1:])
