#!/usr/bin/env python3
"""Packs a template set from its text source into a template file (".zqt").

The twin of the C++ writer (templates/zqt_codec.cpp): same layout, same order
of names. tests/host/zqt_template_sets_test.cpp checks that the two agree.

Source format (UTF-8):

    ; comment lines and blank lines before the first template
    date: 2024-06-01 09:00:00         the date every template of the set gets

    @@ text: hi                       a template: kind (text, rtf, picture) and name
    Hello, |!                         its content, up to the next "@@ " line

A content's lines are joined with CR LF; blank lines at its end are dropped.
Names and contents are written in the Windows-1252 code page.

Usage: zqt_pack.py SOURCE OUTPUT
"""

import datetime
import os
import struct
import sys

MAGIC = b"ZQT1"
KINDS = {"text": 0, "rtf": 1, "picture": 2}
MAX_NAME_CHARS = 100
MAX_RECORDS = 65535
OLE_EPOCH = datetime.datetime(1899, 12, 30)
CODE_PAGE = "cp1252"


class SourceError(Exception):
    pass


def fold(name):
    """The name as the writer compares it: ASCII letters in lower case, then bytes."""
    return bytes(b + 32 if 65 <= b <= 90 else b for b in name)


def ole_date(text):
    try:
        moment = datetime.datetime.strptime(text.strip(), "%Y-%m-%d %H:%M:%S")
    except ValueError:
        raise SourceError(f"bad date {text.strip()!r} (want YYYY-MM-DD HH:MM:SS)")
    return struct.pack("<d", (moment - OLE_EPOCH) / datetime.timedelta(days=1))


def encode(text, what, line):
    try:
        return text.encode(CODE_PAGE)
    except UnicodeEncodeError:
        raise SourceError(f"line {line}: {what} has a character outside {CODE_PAGE}")


def parse(text):
    """The set's date and its templates as (name, kind, content) in source order."""
    date = None
    templates = []
    current = None
    for number, line in enumerate(text.lstrip("\ufeff").split("\n"), start=1):
        line = line.rstrip("\r")
        if line.startswith("@@ "):
            kind, sep, name = line[3:].partition(":")
            name = name.strip()
            if not sep or kind.strip() not in KINDS:
                raise SourceError(f"line {number}: want '@@ text|rtf|picture: name'")
            if not name or len(name) > MAX_NAME_CHARS:
                raise SourceError(f"line {number}: a name has 1 to {MAX_NAME_CHARS} characters")
            current = [encode(name, "the name", number), KINDS[kind.strip()], [], number]
            templates.append(current)
        elif current is not None:
            current[2].append(line)
        elif line.startswith("date:"):
            date = ole_date(line[5:])
        elif line.strip() and not line.startswith(";"):
            raise SourceError(f"line {number}: only comments and 'date:' come before the first template")
    if date is None:
        raise SourceError("no 'date:' line")
    result = []
    for name, kind, lines, number in templates:
        while lines and not lines[-1].strip():
            lines.pop()
        result.append((name, kind, encode("\r\n".join(lines), "the content", number)))
    return date, result


def pack(date, templates):
    seen = set()
    for name, _, _ in templates:
        if fold(name) in seen:
            raise SourceError(f"the name {name.decode(CODE_PAGE)!r} occurs twice (case ignored)")
        seen.add(fold(name))
    if len(templates) > MAX_RECORDS:
        raise SourceError("too many templates")
    out = bytearray(MAGIC)
    out += struct.pack("<H", len(templates))
    for name, kind, content in sorted(templates, key=lambda t: fold(t[0])):
        out += struct.pack("<H", len(name)) + name + date
        out += struct.pack("<HI", kind, len(content)) + content
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source, output = argv[1], argv[2]
    try:
        with open(source, encoding="utf-8") as f:
            data = pack(*parse(f.read()))
    except (SourceError, UnicodeDecodeError) as error:
        sys.stderr.write(f"{source}: {error}\n")
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    temporary = output + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
