#!/usr/bin/python3
"""Writes the writer_*.rtf files of this folder with LibreOffice Writer itself, so that the
reader is tested on what Writer really saves, not on what we think it saves.

Run with Debian's python3 (python3-uno and libreoffice-writer installed):
    /usr/bin/python3 tests/data/rtf/writer_corpus.py tests/data/rtf
Each document is built through Writer's own API, as a user would build it with the mouse,
and saved with Writer's "Rich Text Format" filter.
"""
import os
import struct
import subprocess
import sys
import tempfile
import time
import zlib

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.awt import Size
from com.sun.star.style import TabStop
from com.sun.star.style.TabAlign import LEFT, RIGHT, CENTER, DECIMAL
from com.sun.star.style.ParagraphAdjust import RIGHT as PARA_RIGHT, CENTER as PARA_CENTER
from com.sun.star.style import LineSpacing
from com.sun.star.table import BorderLine2
from com.sun.star.text.ControlCharacter import PARAGRAPH_BREAK
from com.sun.star.text.TextContentAnchorType import AS_CHARACTER

MM = 100  # Writer's unit is a hundredth of a millimetre
INCH = 2540


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def png(width, height, pixel):
    """A PNG of the given size; pixel(x, y) gives (r, g, b)."""
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width))
                   for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2,
                                                               0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def logo(x, y):
    # A navy badge with an orange roof line: something to recognise on a printed page.
    if abs((y - 28) + abs(x - 60) * 0.4) < 3:
        return (230, 120, 20)
    return (20, 40, 110)


class Writer:
    def __init__(self, profile):
        self.proc = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
             "-env:UserInstallation=file://" + profile,
             "--accept=pipe,name=corvanelcorpus;urp;"])
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(120):
            try:
                self.ctx = resolver.resolve(
                    "uno:pipe,name=corvanelcorpus;urp;StarOffice.ComponentContext")
                break
            except Exception:
                time.sleep(0.5)
        self.smgr = self.ctx.ServiceManager
        self.desktop = self.smgr.createInstanceWithContext("com.sun.star.frame.Desktop",
                                                           self.ctx)

    def new(self):
        doc = self.desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0,
                                                (prop("Hidden", True),))
        return doc

    def graphic(self, path):
        provider = self.smgr.createInstanceWithContext("com.sun.star.graphic.GraphicProvider",
                                                       self.ctx)
        return provider.queryGraphic((prop("URL", uno.systemPathToFileUrl(path)),))

    def save(self, doc, path):
        doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)),
                       (prop("FilterName", "Rich Text Format"),))
        doc.close(True)

    def quit(self):
        try:
            self.desktop.terminate()
        except Exception:
            pass
        self.proc.wait(timeout=60)


def para(text, cursor, words, **props):
    for k, v in props.items():
        cursor.setPropertyValue(k, v)
    text.insertString(cursor, words, False)
    text.insertControlCharacter(cursor, PARAGRAPH_BREAK, False)


def page_style(doc):
    return doc.StyleFamilies.getByName("PageStyles").getByName("Standard")


def border(width_twips, color=0):
    b = BorderLine2()
    b.Color = color
    b.OuterLineWidth = int(width_twips * 2540 / 1440)
    b.LineWidth = b.OuterLineWidth
    return b


def letterhead(w, out, tmp):
    doc = w.new()
    ps = page_style(doc)
    ps.Width, ps.Height = int(8.5 * INCH), 11 * INCH
    ps.LeftMargin = ps.RightMargin = 20 * MM
    ps.TopMargin = ps.BottomMargin = 15 * MM
    ps.HeaderIsOn = True
    ps.FooterIsOn = True
    header = ps.HeaderText
    hc = header.createTextCursor()
    path = os.path.join(tmp, "logo.png")
    with open(path, "wb") as f:
        f.write(png(120, 60, logo))
    g = doc.createInstance("com.sun.star.text.TextGraphicObject")
    g.Graphic = w.graphic(path)
    g.AnchorType = AS_CHARACTER
    g.Size = Size(40 * MM, 20 * MM)
    header.insertTextContent(hc, g, False)
    header.insertString(hc, "\tSummit Ridge Roofing", False)
    header.insertControlCharacter(hc, PARAGRAPH_BREAK, False)
    header.insertString(hc, "14 Quarry Lane, Millbrook", False)

    footer = ps.FooterText
    fc = footer.createTextCursor()
    fc.ParaAdjust = PARA_CENTER
    footer.insertString(fc, "Page ", False)
    number = doc.createInstance("com.sun.star.text.TextField.PageNumber")
    number.NumberingType = 4  # arabic
    number.SubType = uno.Enum("com.sun.star.text.PageNumberType", "CURRENT")
    footer.insertTextContent(fc, number, False)
    footer.insertString(fc, " of ", False)
    count = doc.createInstance("com.sun.star.text.TextField.PageCount")
    count.NumberingType = 4
    footer.insertTextContent(fc, count, False)

    text = doc.Text
    c = text.createTextCursor()
    para(text, c, "Proposal for roof replacement", CharWeight=150.0, CharHeight=16.0)
    c.CharWeight = 100.0
    c.CharHeight = 12.0
    for i in range(1, 71):
        para(text, c, "Clause %d. The contractor removes the existing shingles down to the deck "
             "and disposes of them." % i)
    text.insertString(c, "End of proposal.", False)
    w.save(doc, os.path.join(out, "writer_letterhead.rtf"))


def table(w, out):
    doc = w.new()
    text = doc.Text
    c = text.createTextCursor()
    para(text, c, "Estimate breakdown")
    t = doc.createInstance("com.sun.star.text.TextTable")
    t.initialize(5, 4)
    text.insertTextContent(c, t, False)
    # Column widths 40/20/20/20 of the table's width, as a user drags the separators.
    seps = t.TableColumnSeparators
    for s, pos in zip(seps, (4000, 6000, 8000)):
        s.Position = pos
    t.TableColumnSeparators = seps
    for name, words in (("A1", "Item"), ("B1", "Qty"), ("C1", "Unit"), ("D1", "Total"),
                        ("A2", "Tear-off and disposal, whole roof"), ("D2", "1,850.00"),
                        ("A3", "Materials"), ("B3", "32"), ("C3", "sq"), ("D3", "3,520.00"),
                        ("B4", "12"), ("C4", "roll"), ("D4", "540.00"),
                        ("B5", "40"), ("C5", "lf"), ("D5", "180.00")):
        t.getCellByName(name).setString(words)
    for name in ("A1", "B1", "C1", "D1"):
        cell = t.getCellByName(name)
        cell.BackColor = 0x1F3864
        cc = cell.createTextCursor()
        cc.gotoEnd(True)
        cc.CharColor = 0xFFFFFF
        cc.CharWeight = 150.0
    # Tear-off spans three columns; Materials spans three rows.
    tc = t.createCursorByCellName("A2")
    tc.gotoCellByName("C2", True)
    tc.mergeRange()
    tc = t.createCursorByCellName("A3")
    tc.gotoCellByName("A5", True)
    tc.mergeRange()
    para(text, c, "")
    text.insertString(c, "Prices include tax.", False)
    w.save(doc, os.path.join(out, "writer_table.rtf"))


def tracked(w, out):
    doc = w.new()
    text = doc.Text
    c = text.createTextCursor()
    para(text, c, "Warranty")
    text.insertString(c, "Workmanship is warranted for five years. The owner pays for "
                      "permits. Payment is due on completion.", False)
    doc.RecordChanges = True
    found = doc.createSearchDescriptor()
    found.SearchString = "The owner pays for permits. "
    hit = doc.findFirst(found)
    hit.setString("")
    found.SearchString = "five"
    hit = doc.findFirst(found)
    hit.String = "ten"
    w.save(doc, os.path.join(out, "writer_tracked.rtf"))


def paragraphs(w, out):
    doc = w.new()
    text = doc.Text
    c = text.createTextCursor()

    def stop(pos_mm, align, char="."):
        s = TabStop()
        s.Position = pos_mm * MM
        s.Alignment = align
        s.DecimalChar = char
        s.FillChar = " "
        return s

    c.ParaTabStops = (stop(30, LEFT), stop(90, CENTER), stop(130, DECIMAL), stop(160, RIGHT))
    para(text, c, "Item\tShingles\t1,120.50\tpaid")
    c.ParaTabStops = ()

    spacing = LineSpacing()
    spacing.Mode = 0  # proportional
    spacing.Height = 150
    c.ParaLineSpacing = spacing
    para(text, c, "One and a half line spacing. " * 8)
    spacing.Height = 200
    c.ParaLineSpacing = spacing
    para(text, c, "Double line spacing. " * 10)
    spacing.Mode = 3  # fixed
    spacing.Height = 10 * MM
    c.ParaLineSpacing = spacing
    para(text, c, "Exactly ten millimetres a line. " * 6)
    spacing.Mode = 0
    spacing.Height = 100
    c.ParaLineSpacing = spacing

    c.ParaTopMargin = 6 * MM
    c.ParaBottomMargin = 3 * MM
    para(text, c, "Spaced paragraph with room above and below.")
    c.ParaTopMargin = 0
    c.ParaBottomMargin = 0

    b = border(15, 0x000000)
    c.TopBorder = b
    c.BottomBorder = b
    c.LeftBorder = b
    c.RightBorder = b
    c.BorderDistance = 2 * MM
    para(text, c, "Boxed notice: the roof deck is inspected before new shingles go on.")
    none = BorderLine2()
    c.TopBorder = c.BottomBorder = c.LeftBorder = c.RightBorder = none
    c.BorderDistance = 0

    text.insertString(c, "Normal then ", False)
    c.CharCaseMap = 4  # small capitals
    text.insertString(c, "Small Capitals Here", False)
    c.CharCaseMap = 0
    para(text, c, " and normal again.")

    c.WritingMode = 1  # right to left
    c.ParaAdjust = PARA_RIGHT
    para(text, c, "\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd roof")
    c.WritingMode = 0
    c.ParaAdjust = 0
    text.insertString(c, "Last paragraph.", False)
    w.save(doc, os.path.join(out, "writer_paragraphs.rtf"))


def landscape(w, out):
    doc = w.new()
    ps = page_style(doc)
    ps.IsLandscape = True
    ps.Width, ps.Height = 11 * INCH, int(8.5 * INCH)
    ps.LeftMargin = int(1.5 * INCH)
    ps.RightMargin = INCH // 2
    ps.TopMargin = int(0.75 * INCH)
    ps.BottomMargin = INCH
    text = doc.Text
    c = text.createTextCursor()
    para(text, c, "Landscape take-off sheet")
    t = doc.createInstance("com.sun.star.text.TextTable")
    t.initialize(4, 3)
    text.insertTextContent(c, t, False)
    for i, words in enumerate(("Plane", "Width", "Height")):
        t.getCellByName("ABC"[i] + "1").setString(words)
    para(text, c, "")
    text.insertString(c, "Measured on site.", False)
    w.save(doc, os.path.join(out, "writer_landscape.rtf"))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as tmp:
        w = Writer(os.path.join(tmp, "profile"))
        try:
            letterhead(w, out, tmp)
            table(w, out)
            tracked(w, out)
            paragraphs(w, out)
            landscape(w, out)
        finally:
            w.quit()


if __name__ == "__main__":
    main()
