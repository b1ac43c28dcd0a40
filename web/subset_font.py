#!/usr/bin/python3
"""Cuts the page's font down to the characters the game can show.

The characters come from where the game's texts come from, read at build time:
every narrow string literal of the game's C++ sources (Shift-JIS bytes, mostly
written as byte escapes), every line of the given text files (the stage titles
that tools/stagetitles takes from the stage archive), and printable ASCII. Each
Shift-JIS text is read both as code page 932 (glibc, the native build) and as
JIS X 0208 Shift-JIS (musl, the browser build), which map a few symbols apart.

The glyphs keep their TrueType instructions, and the font keeps fpgm, prep, cvt
and gasp, so hinted outlines and advances are those of the original font. The
original's licence asks that a derived font carry none of its names: the name
table's names become ours, and a note beside the font says how it was made and
how to put the original back.

Usage: subset_font.py --font ORIGINAL --out OUT.ttf --note OUT.txt
                      [--sources DIR...] [--texts FILE...]
Needs Debian's python3-fonttools (run with /usr/bin/python3).
"""
import argparse
import os
import re
import subprocess
import sys
import textwrap

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = 'TORV Gothic Subset'
POSTSCRIPT = 'TORVGothicSubset'
# Name IDs that are the font's names (family, unique ID, full name, PostScript name,
# typographic family, compatible full name, WWS family, variations PostScript
# prefix). The copyright (0) and the licence's description and address (13, 14)
# stay as they are; subfamily (2) and version (5) name no one.
NAMES = {1: FAMILY, 3: None, 4: FAMILY, 6: POSTSCRIPT, 16: FAMILY, 18: FAMILY, 21: FAMILY, 25: POSTSCRIPT}
KEPT_NAME_IDS = {0, 2, 5, 13, 14}
SOURCE_SUFFIXES = ('.c', '.cc', '.cpp', '.h', '.hpp')
SIMPLE_ESCAPES = {'n': 10, 't': 9, 'r': 13, 'a': 7, 'b': 8, 'f': 12, 'v': 11, '\\': 92, "'": 39, '"': 34, '?': 63}

# One token of C++ source: a comment, a narrow string literal, a character literal
# (so that a quote inside one is not taken for a string), or any other character.
TOKEN = re.compile(r'''
    (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<raw>\bR"(?P<delim>[^()\\\s]{0,16})\((?P<rawbody>.*?)\)(?P=delim)")
  | (?P<wide>\b(?:u8|u|U|L)R?"(?:\\.|[^"\\\n])*")
  | "(?P<string>(?:\\.|[^"\\\n])*)"
  | (?P<char>\b(?:u8|u|U|L)?'(?:\\.|[^'\\\n])*')
  | (?P<space>\s+)
  | (?P<other>.)
''', re.S | re.X)


def literal_bytes(body):
    """The bytes of a narrow literal's body, escapes decoded as the compiler does."""
    out = bytearray()
    i = 0
    while i < len(body):
        c = body[i]
        if c != '\\':
            out += c.encode('utf-8')
            i += 1
            continue
        e = body[i + 1]
        if e == 'x':
            # A hex escape takes every hex digit that follows.
            m = re.match(r'[0-9A-Fa-f]+', body[i + 2:])
            out.append(int(m.group(0), 16) & 0xFF)
            i += 2 + len(m.group(0))
        elif e in '01234567':
            m = re.match(r'[0-7]{1,3}', body[i + 1:])
            out.append(int(m.group(0), 8) & 0xFF)
            i += 1 + len(m.group(0))
        elif e in 'uU':
            n = 4 if e == 'u' else 8
            out += chr(int(body[i + 2:i + 2 + n], 16)).encode('utf-8')
            i += 2 + n
        else:
            out.append(SIMPLE_ESCAPES.get(e, ord(e)))
            i += 2
    return bytes(out)


def source_literals(text):
    """Every narrow string literal of a source, adjacent literals joined as one."""
    literals = []
    current = None
    for m in TOKEN.finditer(text):
        if m.group('comment') is not None or m.group('space') is not None:
            continue
        if m.group('string') is not None or m.group('raw') is not None:
            part = literal_bytes(m.group('string')) if m.group('string') is not None else \
                m.group('rawbody').encode('utf-8')
            current = part if current is None else current + part
            continue
        if current is not None:
            literals.append(current)
            current = None
    if current is not None:
        literals.append(current)
    return literals


def shown_characters(data):
    """The characters a Shift-JIS text shows, under either reading of it; a text
    that is not Shift-JIS (a file signature, say) shows nothing."""
    chars = set()
    for codec in ('cp932', 'shift_jis'):
        try:
            text = data.decode(codec)
        except UnicodeDecodeError:
            continue
        chars.update(ch for ch in text if ord(ch) >= 0x20 and ord(ch) != 0x7F)
    return chars


def game_characters(source_dirs, text_files):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for top in source_dirs:
        for folder, _, files in os.walk(top):
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    with open(os.path.join(folder, name), encoding='utf-8', errors='surrogateescape') as f:
                        for literal in source_literals(f.read()):
                            chars |= shown_characters(literal)
    for path in text_files:
        with open(path, 'rb') as f:
            for line in f.read().split(b'\n'):
                chars |= shown_characters(line)
    return chars


def rename(font):
    """Our names in place of the original's, in every platform and language."""
    version = font['name'].getDebugName(5) or ''
    names = dict(NAMES)
    names[3] = f'{FAMILY} {version}'.strip()
    for record in font['name'].names:
        if record.nameID in names:
            record.string = names[record.nameID]
        elif record.nameID not in KEPT_NAME_IDS:
            raise SystemExit(f'subset_font: name ID {record.nameID} ("{record.toUnicode()}") has no replacement')


def debian_package(path):
    """'package version' of the Debian package that installed path, or None."""
    try:
        owner = subprocess.run(['dpkg-query', '-S', os.path.realpath(path)], capture_output=True, text=True,
                               check=True).stdout.split(':')[0].strip()
        version = subprocess.run(['dpkg-query', '-W', '-f=${Version}', owner], capture_output=True, text=True,
                                 check=True).stdout.strip()
        return f'{owner} {version}'
    except (OSError, subprocess.CalledProcessError):
        return None


def note_text(original, out_name, kept, original_name, original_version):
    package = debian_package(original)
    origin = f'the Debian package {package}, as {original}' if package else original
    paragraphs = [
        f"This font is a Derived Program of {original_name} ({original_version}) under the same licence, the "
        f"IPA Font License Agreement v1.0: see {os.path.splitext(out_name)[0]}-LICENCE.txt beside it. The "
        f"original came from {origin}.",
        f"It holds only the {kept} characters the game can show. It was made by web/subset_font.py of the "
        "game's sources, with Debian's python3-fonttools, from the characters of the game's texts and stage "
        "titles: the glyphs, their TrueType instructions and the font's hinting tables are the original's, and "
        "the font's names were changed as the licence asks.",
        f"To use the original font instead, put it in place of this file under this file's name, {out_name}, "
        "in the page's folder beside torv.data. On Debian, for example:",
    ]
    body = '\n\n'.join(textwrap.fill(p, 78, break_on_hyphens=False) for p in paragraphs)
    return (f"{out_name}: the font of the game's texts\n\n{body}\n\n    cp {original} {out_name}\n\n"
            "The game then draws its texts with the original font, as the native game does.\n")


def main():
    parser = argparse.ArgumentParser(description='Cuts the page\'s font down to the game\'s characters.')
    parser.add_argument('--font', required=True, help='the original TrueType font')
    parser.add_argument('--out', required=True, help='the subset font to write')
    parser.add_argument('--note', required=True, help='the note about the subset to write')
    parser.add_argument('--sources', nargs='*', default=[], help='folders of the game\'s C++ sources')
    parser.add_argument('--texts', nargs='*', default=[], help='files of Shift-JIS texts, one a line')
    args = parser.parse_args()

    chars = game_characters(args.sources, args.texts)
    options = subset.Options()
    options.hinting = True
    options.notdef_outline = True
    # The game places glyphs by their advances alone; no layout tables are needed,
    # and none pulls in glyphs of its own.
    options.layout_features = []
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.name_legacy = True
    options.prune_unicode_ranges = False
    options.recalc_bounds = False
    options.recalc_timestamp = False
    font = subset.load_font(args.font, options)
    original_name = font['name'].getDebugName(4)
    original_version = font['name'].getDebugName(5)
    cmap = font.getBestCmap()
    missing = sorted(c for c in chars if ord(c) not in cmap)
    if missing:
        print(f"subset_font: the original font lacks {''.join(missing)!r}", file=sys.stderr)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in chars])
    subsetter.subset(font)
    rename(font)
    kept = len(font.getBestCmap())
    temporary = args.out + '.part'
    subset.save_font(font, temporary, options)
    os.replace(temporary, args.out)
    with open(args.note, 'w', encoding='utf-8') as f:
        f.write(note_text(args.font, os.path.basename(args.out), kept, original_name, original_version))
    print(f'subset_font: {kept} characters, {os.path.getsize(args.out)} bytes: {args.out}')


if __name__ == '__main__':
    main()
