"""Makes the program's Song face from one face of a Noto Serif CJK collection.

Noto CJK draws a CJK radical (U+2E80-U+2FDF, strokes, compatibility ideographs) with the same
glyph as the unified ideograph it looks like. A PDF writer that maps each glyph back to one
character takes the lowest code point, so "民" would come out of a PDF as "⺠" and a search for
it would fail. This face keeps every glyph but maps each shared glyph only from the unified
ideograph, under a family name of its own.

usage: make-song-face.py COLLECTION FACE-INDEX OUTPUT FAMILY
"""
import sys

from fontTools.ttLib import TTFont

ALIAS_RANGES = [(0x2E80, 0x2FDF), (0x31C0, 0x31EF), (0xF900, 0xFAFF), (0x2F800, 0x2FA1F)]


def is_alias(code_point):
    return any(first <= code_point <= last for first, last in ALIAS_RANGES)


def drop_aliases(font):
    for table in font["cmap"].tables:
        if table.format == 14 or not table.isUnicode():
            continue
        code_points_of = {}
        for code_point, glyph in table.cmap.items():
            code_points_of.setdefault(glyph, []).append(code_point)
        for code_points in code_points_of.values():
            kept = [c for c in code_points if not is_alias(c)]
            if len(code_points) < 2 or not kept:
                continue
            for c in code_points:
                if is_alias(c):
                    del table.cmap[c]


def rename(font, family):
    names = font["name"]
    style = names.getDebugName(2) or "Regular"
    postscript = family.replace(" ", "") + "-" + style.replace(" ", "")
    for record in list(names.names):
        if record.nameID in (16, 17):
            names.removeNames(nameID=record.nameID)
    for name_id, text in ((1, family), (3, postscript), (4, family + " " + style), (6, postscript)):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)


def main():
    collection, index, output, family = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    font = TTFont(collection, fontNumber=index, lazy=True, recalcBBoxes=False,
                  recalcTimestamp=False)
    drop_aliases(font)
    rename(font, family)
    font.save(output)


if __name__ == "__main__":
    main()
