#!/usr/bin/env python3
"""Turns one of our Markdown manuals (docs/cellctl.md, docs/cellsim.md) into a
man page, so that the page is built from the manual and cannot drift from it.

Understands what the manuals use: a "# name(section)" title, "##" sections and
"###" subsections, paragraphs, fenced code blocks, pipe tables, option lists
("`--opt ARG`" then ": text" with indented continuation lines), numbered and
bulleted lists, `code` and **bold** spans.

    md2man.py INPUT.md OUTPUT.1 VERSION
"""
import re
import sys

TITLE = re.compile(r"^# (\S+)\((\d)\)\s*$")
NUMBERED = re.compile(r"^(\d+)\. (.*)$")
TABLE_RULE = re.compile(r"^\|[\s:|-]+\|$")


def escape(text):
    """Plain text to roff: backslashes, and characters outside ASCII as named glyphs."""
    text = text.replace("\\", "\\e")
    return "".join(c if ord(c) < 128 else "\\[u%04X]" % ord(c) for c in text)


def inline(text, breakable=False):
    """Markdown spans to roff fonts; option dashes become real minus signs.
    `breakable`: code may break after a slash, a dash or a comma (in narrow
    table columns, where a long path or value must fit)."""
    text = text.replace("\\|", "|")
    out = []
    for piece in re.split(r"(`[^`]*`|\*\*[^*]+\*\*)", text):
        if piece.startswith("`") and piece.endswith("`") and len(piece) >= 2:
            code = escape(piece[1:-1]).replace("-", "\\-")
            if breakable:
                code = re.sub(r"(/|\\-|,)", r"\1\\:", code)
            out.append("\\fB" + code + "\\fR")
        elif piece.startswith("**") and piece.endswith("**") and len(piece) >= 4:
            out.append("\\fB" + escape(piece[2:-2]) + "\\fR")
        else:
            out.append(escape(piece))
    return "".join(out)


def text_lines(text):
    """A paragraph's text as roff input lines: none may start with a control character."""
    line = inline(text)
    return ["\\&" + line if line[:1] in (".", "'") else line]


def table_cells(line):
    cells = re.split(r"(?<!\\)\|", line.strip()[1:-1])
    return [c.strip() for c in cells]


def table(rows):
    """A pipe table as a tbl table with a bold header. The first column keeps
    each cell on one line; the others are text blocks that wrap, narrow (but
    as wide as their longest unbreakable piece) except the one with the longest
    text, which takes the room that is left."""
    count = len(rows[0])
    rows = [(row + [""] * count)[:count] for row in rows]
    plain = [[re.sub(r"[`*\\]", "", cell) for cell in row] for row in rows]
    wrapping = max(range(1, count), key=lambda c: max(len(row[c]) for row in plain)) if count > 1 else 0
    kinds = ["l"]
    for c in range(1, count):
        whole = max(len(row[c]) for row in plain)
        longest_piece = max(len(piece) for row in plain for piece in re.split(r"(?<=[\s/,-])", row[c]))
        kinds.append("lx" if c == wrapping else "lw(%dn)" % min(whole, max(longest_piece, 16)))
    out = [".na", ".TS", "tab(\t);", " ".join(k.replace("l", "lb", 1) for k in kinds), " ".join(kinds) + "."]
    for row in rows:
        cells = [inline(cell, breakable=True) for cell in row]
        cells[1:] = ["T{\n" + cell + "\nT}" for cell in cells[1:]]
        out.append("\t".join(cells))
    out += [".TE", ".ad"]
    return out


def convert(lines, version):
    out = []
    i = 0

    def continuation(start):
        """Indented lines that continue a list item or an option's text."""
        j, parts = start, []
        while j < len(lines) and lines[j].startswith("  ") and lines[j].strip():
            parts.append(lines[j].strip())
            j += 1
        return parts, j

    while i < len(lines):
        line = lines[i]
        title = TITLE.match(line)
        if title:
            name, section = title.groups()
            out.append('.TH %s %s "" "%s %s" "User Commands"' % (name.upper(), section, name, version))
            i += 1
        elif line.startswith("## "):
            out.append(".SH " + inline(line[3:].strip().upper()))
            i += 1
        elif line.startswith("### "):
            out.append('.SS "' + inline(line[4:].strip()) + '"')
            i += 1
        elif line.startswith("```"):
            j = i + 1
            out += [".PP", ".RS 4", ".nf"]
            while j < len(lines) and not lines[j].startswith("```"):
                code = escape(lines[j])
                out.append("\\&" + code if code[:1] in (".", "'") else code)
                j += 1
            out += [".fi", ".RE"]
            i = j + 1
        elif line.startswith("|"):
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                if not TABLE_RULE.match(lines[i].strip()):
                    rows.append(table_cells(lines[i]))
                i += 1
            out += [".PP"] + table(rows)
        elif line.startswith("`") and i + 1 < len(lines) and lines[i + 1].startswith(": "):
            parts, j = continuation(i + 2)
            out += [".TP", inline(line.strip())] + text_lines(" ".join([lines[i + 1][2:].strip()] + parts))
            i = j
        elif NUMBERED.match(line) or line.startswith("- "):
            numbered = NUMBERED.match(line)
            mark, first = (numbered.group(1) + ".", numbered.group(2)) if numbered else ("\\(bu", line[2:])
            parts, j = continuation(i + 1)
            out += ['.IP "%s" 4' % mark] + text_lines(" ".join([first.strip()] + parts))
            i = j
        elif line.strip():
            parts = []
            while i < len(lines) and lines[i].strip() and not re.match(r"^(#|```|\||- |\d+\. )", lines[i]):
                parts.append(lines[i].strip())
                i += 1
            out += [".PP"] + text_lines(" ".join(parts))
        else:
            i += 1
    return out


def main():
    source, target, version = sys.argv[1:4]
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    page = ["'\\\" t", '.\\" Generated from %s by md2man.py; edit the manual, not this page.' %
            source.split("/")[-1]] + convert(lines, version)
    with open(target, "w", encoding="ascii") as f:
        f.write("\n".join(page) + "\n")


if __name__ == "__main__":
    main()
