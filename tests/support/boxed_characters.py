#!/usr/bin/python3
"""Counts the characters a PDF prints as boxes.

A character prints as a box when no font had a glyph for it: the PDF then draws it with the
embedded font's .notdef glyph (glyph 0), or, in LibreOffice's subsets, with a copy of it.
So every glyph a text operator shows is looked up in the embedded font and its outline compared
with .notdef's.

    boxed_characters.py PDF...

prints one line a PDF, "<boxes> <path>", then one indented line for each font that printed
boxes, with the characters it could not print (from the PDF's ActualText or ToUnicode).
Exits 0 when every PDF was read, 2 when one could not be.
"""
import io
import logging
import re
import sys
import tempfile

from fontTools.cffLib import CFFFontSet
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.t1Lib import T1Font
from fontTools.ttLib import TTFont
from pypdf import PdfReader
from pypdf.generic import ContentStream


class Outlines:
    """The glyphs of one embedded font by glyph id, drawn to comparable lists of pen moves."""

    def __init__(self, glyph_set, order):
        self.glyph_set, self.order, self.drawn = glyph_set, order, {}
        self.notdef = self.outline(0)

    def outline(self, gid):
        if gid not in self.drawn:
            name = self.order[gid] if 0 <= gid < len(self.order) else None
            pen = DecomposingRecordingPen(self.glyph_set)
            if name is not None and name in self.glyph_set:
                self.glyph_set[name].draw(pen)
            self.drawn[gid] = pen.value if name is not None else None
        return self.drawn[gid]

    def is_box(self, gid):
        # An empty .notdef cannot be told from a space: only glyph 0 itself then counts.
        outline = self.outline(gid)
        return gid == 0 or outline is None or (bool(self.notdef) and outline == self.notdef)


def truetype_outlines(data):
    font = TTFont(io.BytesIO(data), lazy=True)
    return font, Outlines(font.getGlyphSet(), font.getGlyphOrder())


def cff_outlines(data):
    cff = CFFFontSet()
    cff.decompile(io.BytesIO(data), None)
    top = cff[cff.fontNames[0]]
    return top, Outlines(top.CharStrings, top.charset)


def type1_outlines(data):
    with tempfile.NamedTemporaryFile(suffix=".pfa") as file:
        file.write(data)
        file.flush()
        font = T1Font(file.name, kind="OTHER")
        font.parse()
    glyphs = font.getGlyphSet()
    return font, Outlines(glyphs, [".notdef"] + sorted(n for n in glyphs.keys() if n != ".notdef"))


class Font:
    """How one PDF font turns the bytes of a text operator into glyph ids."""

    def __init__(self, pdf_font):
        self.name = str(pdf_font.get("/BaseFont", "?"))
        self.to_unicode = read_to_unicode(pdf_font)
        self.outlines, self.code_to_gid, self.two_bytes = None, lambda code: code, False
        subtype = pdf_font.get("/Subtype")
        if subtype == "/Type0":
            self.two_bytes = True
            descendant = pdf_font["/DescendantFonts"][0].get_object()
            self.load(descendant)
            gid_map = descendant.get("/CIDToGIDMap")
            if gid_map is not None and gid_map != "/Identity":
                table = gid_map.get_object().get_data()
                self.code_to_gid = lambda cid: int.from_bytes(table[2 * cid:2 * cid + 2], "big")
        elif subtype in ("/TrueType", "/Type1", "/MMType1"):
            self.load(pdf_font)

    def load(self, font):
        descriptor = font.get("/FontDescriptor")
        if descriptor is None:
            return  # not embedded: the reader's own font draws it, not a box of ours
        descriptor = descriptor.get_object()
        for key, reader in (("/FontFile2", truetype_outlines), ("/FontFile3", None),
                            ("/FontFile", type1_outlines)):
            if key not in descriptor:
                continue
            stream = descriptor[key].get_object()
            data = stream.get_data()
            if reader is None:
                reader = truetype_outlines if stream.get("/Subtype") == "/OpenType" else cff_outlines
            parsed, self.outlines = reader(data)
            if not self.two_bytes:
                self.code_to_gid = self.simple_lookup(parsed, font)
            elif reader is cff_outlines and self.outlines.order[-1].startswith("cid"):
                # A CID-keyed CFF names its glyphs by CID.
                order = {name: gid for gid, name in enumerate(self.outlines.order)}
                self.code_to_gid = lambda cid: order.get(f"cid{cid:05d}", 0)
            return

    def simple_lookup(self, parsed, pdf_font):
        """A one-byte code's glyph: through the font's own cmap (symbolic TrueType, as
        LibreOffice writes), else through the glyph names of the encoding."""
        if isinstance(parsed, TTFont) and "cmap" in parsed:
            tables = {(t.platformID, t.platEncID): t.cmap for t in parsed["cmap"].tables}
            order = {name: gid for gid, name in enumerate(parsed.getGlyphOrder())}
            for key, offset in (((3, 0), 0xF000), ((3, 0), 0), ((1, 0), 0)):
                if key in tables:
                    cmap = tables[key]
                    return lambda code: order.get(cmap.get(code + offset, cmap.get(code, "")), 0)
        names = {}
        if isinstance(parsed, T1Font):  # the font's own encoding, under the PDF's differences
            builtin = parsed.font.get("Encoding")
            if isinstance(builtin, list):
                names = {code: name for code, name in enumerate(builtin) if name}
        names.update(encoding_names(pdf_font))
        order = {name: gid for gid, name in enumerate(self.outlines.order)}
        return lambda code: order.get(names.get(code, ""), code)

    def codes(self, raw):
        if self.two_bytes:
            return [int.from_bytes(raw[i:i + 2], "big") for i in range(0, len(raw) - 1, 2)]
        return list(raw)

    def boxes(self, raw):
        """The codes of raw that print as boxes."""
        if self.outlines is None:
            return []
        return [c for c in self.codes(raw) if self.outlines.is_box(self.code_to_gid(c))]


def encoding_names(pdf_font):
    names = {}
    encoding = pdf_font.get("/Encoding")
    encoding = encoding.get_object() if encoding is not None else None
    if hasattr(encoding, "get") and "/Differences" in encoding:
        code = 0
        for item in encoding["/Differences"]:
            if isinstance(item, int):
                code = item
            else:
                names[code] = str(item)[1:]
                code += 1
    return names


def read_to_unicode(pdf_font):
    mapping = {}
    stream = pdf_font.get("/ToUnicode")
    if stream is None:
        return mapping
    text = stream.get_object().get_data().decode("latin-1")
    for block in re.findall(r"beginbfchar(.*?)endbfchar", text, re.S):
        pairs = re.findall(r"<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>", block)
        for code, target in pairs:
            mapping[int(code, 16)] = bytes.fromhex(target).decode("utf-16-be", "replace")
    for block in re.findall(r"beginbfrange(.*?)endbfrange", text, re.S):
        for first, last, target in re.findall(
                r"<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>", block):
            start = bytes.fromhex(target).decode("utf-16-be", "replace")
            for i, code in enumerate(range(int(first, 16), int(last, 16) + 1)):
                mapping[code] = start[:-1] + chr(ord(start[-1]) + i) if start else ""
    return mapping


def raw_bytes(string):
    """The bytes of a PDF string as written, which pypdf may have decoded as text."""
    if isinstance(string, bytes):
        return bytes(string)
    return bytes(string.original_bytes)


class Page:
    """Walks a page's content, and the forms it draws, counting the glyphs printed as boxes."""

    def __init__(self, reader):
        self.reader, self.fonts, self.found = reader, {}, {}

    def font(self, resources, name):
        fonts = resources.get("/Font") if resources is not None else None
        entry = fonts.get_object().get(name) if fonts is not None else None
        if entry is None:
            return None
        # A font shared by pages is read once: by its object number, when it has one.
        key = (entry.idnum, entry.generation) if hasattr(entry, "idnum") else id(entry)
        if key not in self.fonts:
            self.fonts[key] = Font(entry.get_object())
        return self.fonts[key]

    def walk(self, contents, resources, depth=0):
        if contents is None or depth > 8:
            return
        resources = resources.get_object() if resources is not None else None
        font, saved, actual = None, [], []
        for operands, operator in ContentStream(contents, self.reader).operations:
            if operator == b"q":
                saved.append(font)
            elif operator == b"Q" and saved:
                font = saved.pop()
            elif operator == b"Tf":
                font = self.font(resources, operands[0])
            elif operator == b"BDC" and len(operands) > 1 and hasattr(operands[1], "get"):
                text = operands[1].get("/ActualText")
                actual.append(str(text) if text is not None else None)
            elif operator == b"BMC":
                actual.append(None)
            elif operator == b"EMC" and actual:
                actual.pop()
            elif operator in (b"Tj", b"'", b'"', b"TJ") and font is not None:
                shown = operands[-1] if operands else b""
                strings = shown if operator == b"TJ" else [shown]
                for string in strings:
                    if isinstance(string, (bytes, str)):
                        self.count(font, raw_bytes(string), actual[-1] if actual else None)
            elif operator == b"Do" and resources is not None and "/XObject" in resources:
                form = resources["/XObject"].get_object().get(operands[0])
                form = form.get_object() if form is not None else None
                if form is not None and form.get("/Subtype") == "/Form":
                    self.walk(form, form.get("/Resources", resources), depth + 1)

    def count(self, font, raw, actual_text):
        for code in font.boxes(raw):
            text = actual_text or font.to_unicode.get(code, "?")
            self.found.setdefault(font.name, []).append(text)


def boxes_in(path):
    reader = PdfReader(path)
    found = {}
    page_walker = Page(reader)
    for page in reader.pages:
        page_walker.walk(page.get_contents(), page.get("/Resources"))
    for name, texts in page_walker.found.items():
        found.setdefault(name, []).extend(texts)
    return found


def main(paths):
    status = 0
    for path in paths:
        try:
            found = boxes_in(path)
        except Exception as error:  # a PDF we cannot read is said, never counted as clean
            print(f"? {path}: {error}")
            status = 2
            continue
        print(f"{sum(len(t) for t in found.values())} {path}")
        for name, texts in sorted(found.items()):
            shown = "".join(dict.fromkeys(texts))
            print(f"  {name}: {len(texts)} boxes for {shown[:80]!r}")
    return status


if __name__ == "__main__":
    logging.disable(logging.WARNING)  # fontTools' remarks on LibreOffice's subset headers
    arguments = sys.argv[1:]
    sys.exit(main(arguments[1:] if arguments[:1] == ["--"] else arguments))
