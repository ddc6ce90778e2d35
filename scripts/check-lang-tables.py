#!/usr/bin/env python3
"""Checks the twelve language tables against src/app/core/StringIds.h.

Every table must parse (UTF-8 without BOM, LF, "number=text" lines in ascending order, '#'
comments), hold exactly the numbers of kAllStringIds, have no empty text, no printf
placeholder and no unknown escape, and every non-English table must differ from English on
every entry except brand-like ones. Tables in a non-Latin script must use it in every entry.
Exit status 0 when all is well, 1 with one line per problem otherwise.
"""
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
LANG_DIR = ROOT / "resources" / "lang"
HEADER = ROOT / "src" / "app" / "core" / "StringIds.h"
LANGUAGES = ["English", "Korean", "German", "Japanese", "Chinese", "Dutch", "French", "Italien",
             "Polish", "Portuguese", "Russian", "Spanish"]

# Entries that may read the same as English: the program's name, the OK caption, and a word
# that is spelled the same in that language.
SAME_AS_ENGLISH = {
    57344: None,           # "KX480 Viewer" everywhere
    103: {"OK"},
}
SAME_WORD = {("French", 136)}  # "Date"
SCRIPT_EXEMPT = {("Russian", 135)}  # the number sign "№"

SCRIPTS = {
    "Korean": re.compile("[\uac00-\ud7a3]"),
    "Japanese": re.compile("[\u3040-\u30ff\u4e00-\u9fff]"),
    "Chinese": re.compile("[\u4e00-\u9fff]"),
    "Russian": re.compile("[\u0400-\u04ff]"),
}


def parse_header(problems):
    text = HEADER.read_text(encoding="utf-8")
    consts = re.findall(r"inline constexpr int (kStr\w+) = (\d+);", text)
    names = [n for n, _ in consts]
    values = [int(v) for _, v in consts]
    for dup in sorted({n for n in names if names.count(n) > 1}):
        problems.append(f"StringIds.h: {dup} declared twice")
    for dup in sorted({v for v in values if values.count(v) > 1}):
        problems.append(f"StringIds.h: number {dup} named twice")
    m = re.search(r"kAllStringIds\[\] = \{([^}]*)\}", text)
    if not m:
        problems.append("StringIds.h: kAllStringIds not found")
        return set()
    all_ids = [int(x) for x in re.findall(r"\d+", m.group(1))]
    if all_ids != sorted(set(all_ids)):
        problems.append("StringIds.h: kAllStringIds is not strictly ascending")
    if set(all_ids) != set(values):
        problems.append(f"StringIds.h: kAllStringIds differs from the constants: "
                        f"{sorted(set(all_ids) ^ set(values))}")
    return set(all_ids)


def unescape(text, where, problems):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            nxt = text[i + 1] if i + 1 < len(text) else ""
            if nxt == "n":
                out.append("\n")
            elif nxt == "\\":
                out.append("\\")
            else:
                problems.append(f"{where}: unknown escape \\{nxt}")
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def parse_table(lang, problems):
    path = LANG_DIR / f"{lang}.lng"
    if not path.exists():
        problems.append(f"{lang}.lng: missing")
        return {}
    raw = path.read_bytes()
    if raw.startswith(b"\xef\xbb\xbf"):
        problems.append(f"{lang}.lng: starts with a BOM")
    if b"\r" in raw:
        problems.append(f"{lang}.lng: has CR characters")
    if not raw.endswith(b"\n"):
        problems.append(f"{lang}.lng: last line has no line end")
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        problems.append(f"{lang}.lng: not UTF-8 ({e})")
        return {}
    table, last = {}, -1
    for lineno, line in enumerate(text.split("\n")[:-1], 1):
        where = f"{lang}.lng:{lineno}"
        if line.startswith("#"):
            continue
        m = re.fullmatch(r"(\d+)=(.*)", line)
        if not m:
            problems.append(f"{where}: not a number=text line")
            continue
        number, value = int(m.group(1)), m.group(2)
        if number <= last:
            problems.append(f"{where}: {number} out of order or repeated")
        last = max(last, number)
        value = unescape(value, where, problems)
        if not value.strip():
            problems.append(f"{where}: empty text")
        if value != value.rstrip(" \t"):
            problems.append(f"{where}: trailing blanks")
        if re.search(r"%[-+ #0-9.]*[sdiufFeEgGxXcpl]", value):
            problems.append(f"{where}: format placeholder")
        table[number] = value
    return table


def main():
    problems = []
    ids = parse_header(problems)
    tables = {lang: parse_table(lang, problems) for lang in LANGUAGES}
    english = tables["English"]
    for lang, table in tables.items():
        if set(table) != ids:
            problems.append(f"{lang}.lng: numbers differ from kAllStringIds: "
                            f"missing {sorted(ids - set(table))}, extra {sorted(set(table) - ids)}")
        if lang == "English":
            continue
        script = SCRIPTS.get(lang)
        for number, value in table.items():
            allowed = SAME_AS_ENGLISH.get(number, set())
            brand_like = number in SAME_AS_ENGLISH and (allowed is None or value in allowed)
            if brand_like:
                continue
            if value == english.get(number) and (lang, number) not in SAME_WORD:
                problems.append(f"{lang}.lng: {number} is the same as English: {value!r}")
            if script and not script.search(value) and (lang, number) not in SCRIPT_EXEMPT:
                problems.append(f"{lang}.lng: {number} has no {lang} script: {value!r}")
    for p in problems:
        print(p)
    if not problems:
        print(f"{len(tables)} tables, {len(ids)} numbers each: ok")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
