#!/usr/bin/python3
"""Cuts the web page's Japanese font from Debian's IPA P Gothic (fonts-ipafont-gothic): only the
characters of the game's own texts that are Japanese, under a family name of its own, as the
font's licence asks of a changed font. Writes Src/web/page/fonts/vostrel-gothic.woff2 and the
licence beside it. Needs python3-fonttools and python3-brotli (Debian's python3).

To use the whole original font instead, install fonts-ipafont-gothic: the page takes it before
this one."""
import pathlib
import re
import subprocess

from fontTools import subset
from fontTools.ttLib import TTFont

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE = subprocess.run(["fc-match", "-f", "%{file}", "IPAPGothic"], check=True,
                        capture_output=True, text=True).stdout
LICENCE = next(pathlib.Path(line) for line in subprocess.run(
    ["dpkg-query", "-L", "fonts-ipafont-gothic"], check=True, capture_output=True,
    text=True).stdout.splitlines() if line.endswith("/copyright"))
OUT = ROOT / "Src/web/page/fonts"
FAMILY = "Vostrel Gothic"

# The texts the windows show: the windows' procedures and definitions. Only what the page's
# @font-face asks this font for: CJK punctuation, kana, kanji, full- and half-width forms.
japanese = re.compile("[\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef]")
characters = sorted({c for source in sorted((ROOT / "Src/forms").glob("*.cpp"))
                     for c in japanese.findall(source.read_text(encoding="utf-8"))})

options = subset.Options()
options.flavor = "woff2"
options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
options.name_languages = ["*"]
font = TTFont(SOURCE)
subsetter = subset.Subsetter(options)
subsetter.populate(text="".join(characters))
subsetter.subset(font)
# The licence forbids the original's name on a changed font.
for record in font["name"].names:
    if record.nameID in (1, 4, 16):
        record.string = FAMILY
    elif record.nameID == 3:
        record.string = FAMILY + " 003.03 (subset)"
    elif record.nameID == 6:
        record.string = FAMILY.replace(" ", "")
OUT.mkdir(parents=True, exist_ok=True)
font.flavor = "woff2"
font.save(OUT / "vostrel-gothic.woff2")

text = LICENCE.read_text(encoding="utf-8").splitlines()
start = text.index(" IPA Font License Agreement v1.0")
end = next(i for i in range(start, len(text)) if text[i].startswith("License: "))
agreement = "\n".join("" if line == " ." else line[1:] for line in text[start:end])
(OUT / "LICENSE-vostrel-gothic.txt").write_text(
    f"""{FAMILY} (vostrel-gothic.woff2) is a Derived Program of IPA P Gothic 003.03, cut to the
characters {''.join(characters)} and renamed, by tools/web-font.py of Vostrel. It is licensed under
the agreement below. To replace it with the Original Program, install the original font (Debian:
fonts-ipafont-gothic): the page uses an installed copy before this file. The original is
available at https://moji.or.jp/ipafont/.

{agreement}
""", encoding="utf-8")
print(f"{len(characters)} characters:", "".join(characters))
