#!/usr/bin/env python3
"""Checks README.md and docs/*.md under ROOT: every relative link leads to a file or folder that exists,
every #anchor to a heading of its page (GitHub's slugs), and every image shown is a file. The pages keep the
shape that makes them quick to scan, too: no table cell over 300 characters, no paragraph over 8 lines, and a
README of at most 200 lines and 1,800 words. Prints FILE:LINE and what is wrong for each break; exit status 1
if there is any.

    docs-check.py ROOT
"""
import os
import re
import sys
import unicodedata
from pathlib import Path
from urllib.parse import unquote

MOST_CELL_CHARACTERS = 300
MOST_PARAGRAPH_LINES = 8
MOST_README_LINES = 200
MOST_README_WORDS = 1800

FENCE = re.compile(r"^ {0,3}(`{3,}|~{3,})")
HEADING = re.compile(r"^ {0,3}#{1,6}\s+(.*?)(?:\s+#+)?\s*$")
CODE_SPAN = re.compile(r"(`+).+?\1")
LINK = re.compile(r"(!?)\[[^\]]*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
DEFINITION = re.compile(r"^ {0,3}\[[^\]]+\]:\s*<?([^\s>]+)>?")
LIST_ITEM = re.compile(r"^\s*(?:[-*+]|\d+[.)])\s")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def prose_lines(text):
    """(number, line) of every line, each line of a fenced code block as an empty one: what stands in it is
    no link or heading, and the block ends the paragraph before it."""
    fence = None
    for number, line in enumerate(text.splitlines(), 1):
        opened = FENCE.match(line)
        if fence is None and opened:
            fence = opened.group(1)[0]
        elif fence is not None and opened and opened.group(1)[0] == fence:
            fence = None
        elif fence is None:
            yield number, line
            continue
        yield number, ""


def slug(heading):
    """GitHub's anchor for a heading: its text as shown (a link by its words, markup dropped), lower case,
    every character but letters, marks, digits, connectors (_), spaces and hyphens dropped, spaces to hyphens.
    Emphasis by underscores is taken for literal underscores, which these pages do not use in headings."""
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", heading)
    text = re.sub(r"<[^>]+>", "", text).strip().lower()
    kept = "".join(c for c in text if c in " -" or unicodedata.category(c)[0] in "LMN" or c == "_")
    return kept.replace(" ", "-")


def anchors(text):
    """Every heading's anchor; a repeated one gets -1, -2 and so on, in order, as GitHub numbers them."""
    seen = {}
    found = set()
    for _, line in prose_lines(text):
        heading = HEADING.match(line)
        if heading:
            base = slug(heading.group(1))
            name = base if base not in seen else f"{base}-{seen[base]}"
            seen[base] = seen.get(base, 0) + 1
            found.add(name)
    return found


def link_problems(page, text, root):
    headings = {}
    for number, line in prose_lines(text):
        bare = CODE_SPAN.sub("", line)
        targets = [(m.group(1) == "!", m.group(2)) for m in LINK.finditer(bare)]
        targets += [(False, m.group(1)) for m in DEFINITION.finditer(bare)]
        for image, target in targets:
            if not target or SCHEME.match(target):
                continue
            path, _, anchor = target.partition("#")
            where = Path(os.path.normpath(page.parent / unquote(path))) if path else page
            if image and not where.is_file():
                yield number, f"image {target}: no such file"
            elif not where.exists():
                yield number, f"link {target}: no such file or folder"
            elif anchor and where.suffix != ".md":
                yield number, f"link {target}: an anchor into {where.name}, which has no Markdown headings"
            elif anchor and unquote(anchor) not in headings.setdefault(where, anchors(where.read_text("utf-8"))):
                yield number, f"link {target}: no heading with the anchor #{anchor} in {os.path.relpath(where, root)}"


def shape_problems(page, text, root):
    paragraph_start, paragraph_lines = 0, 0
    for number, line in [*prose_lines(text), (0, "")]:
        cells = re.split(r"(?<!\\)\|", line.strip()) if line.lstrip().startswith("|") else []
        for cell in cells:
            if len(cell.strip()) > MOST_CELL_CHARACTERS:
                yield number, f"a table cell of {len(cell.strip())} characters (at most {MOST_CELL_CHARACTERS})"
        prose = line.strip() and not cells and not HEADING.match(line)
        # A list item starts a paragraph of its own, as a blank line, a table or a heading does.
        if not prose or LIST_ITEM.match(line):
            if paragraph_lines > MOST_PARAGRAPH_LINES:
                yield paragraph_start, f"a paragraph of {paragraph_lines} lines (at most {MOST_PARAGRAPH_LINES})"
            paragraph_lines = 0
        if prose:
            paragraph_start = number if paragraph_lines == 0 else paragraph_start
            paragraph_lines += 1
    if page == root / "README.md":
        lines, words = len(text.splitlines()), len(text.split())
        if lines > MOST_README_LINES or words > MOST_README_WORDS:
            yield 1, f"{lines} lines and {words} words (at most {MOST_README_LINES} and {MOST_README_WORDS})"


def main():
    root = Path(os.path.abspath(sys.argv[1]))
    pages = [root / "README.md", *sorted((root / "docs").glob("*.md"))]
    problems = []
    for page in pages:
        text = page.read_text(encoding="utf-8")
        for check in (link_problems, shape_problems):
            problems += [f"{page.relative_to(root)}:{number}: {what}" for number, what in check(page, text, root)]
    print("\n".join(problems) or f"{len(pages)} pages: every link, anchor and image holds, and every page scans")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
