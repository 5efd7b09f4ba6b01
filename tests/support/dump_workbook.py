"""Prints an .xls workbook as xlrd reads it, one fact a line, fields separated by tabs:

    font    <index> <name> <character set> <height in twips> <weight>
    sheet   <name> <rows> <columns>
    width   <column> <width in 1/256 of a character>      (the sheet above; COLINFO)
    cell    <row> <column> t|n <text or number> <font index>
    note    <a line xlrd wrote to its log: a warning about the file's structure>

Tabs, line ends and backslashes inside texts are written as \\t, \\n, \\r and \\\\. On a file
xlrd cannot read, prints the reason to standard error and exits with 1.
"""
import io
import sys

import xlrd


def escaped(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\n", "\\n").replace("\r", "\\r"))


def main(path):
    out = open(sys.stdout.fileno(), "w", encoding="utf-8", errors="backslashreplace",
               closefd=False)
    try:
        log = io.StringIO()
        book = xlrd.open_workbook(path, formatting_info=True, logfile=log)
    except Exception as error:  # xlrd raises many kinds on a damaged file
        print("xlrd: %s: %s" % (type(error).__name__, error), file=sys.stderr)
        return 1
    for line in log.getvalue().splitlines():
        if line.strip():
            out.write("note\t%s\n" % escaped(line))
    for font in book.font_list:
        out.write("font\t%d\t%s\t%d\t%d\t%d\n" % (
            font.font_index, escaped(font.name), font.character_set, font.height, font.weight))
    for sheet in book.sheets():
        out.write("sheet\t%s\t%d\t%d\n" % (escaped(sheet.name), sheet.nrows, sheet.ncols))
        for column, info in sorted(sheet.colinfo_map.items()):
            out.write("width\t%d\t%d\n" % (column, info.width))
        for row in range(sheet.nrows):
            for column in range(sheet.ncols):
                cell = sheet.cell(row, column)
                if cell.ctype == xlrd.XL_CELL_TEXT:
                    kind, value = "t", escaped(cell.value)
                elif cell.ctype == xlrd.XL_CELL_NUMBER:
                    kind, value = "n", repr(cell.value)
                else:
                    continue
                font = book.xf_list[cell.xf_index].font_index
                out.write("cell\t%d\t%d\t%s\t%s\t%d\n" % (row, column, kind, value, font))
    out.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
