#include "documents/Rtf.h"
#include "documents/RtfFormat.h"
#include "documents/RtfPicture.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace Rtf {

namespace {

// The text width of a Letter page with one-inch margins, for tables without column widths.
constexpr int TableTwips = 9360;

QByteArray number(const char* word, int value) {
    return QByteArray(word) + QByteArray::number(value);
}

const char* borderStyleWord(int style) {
    switch (style) {
    case QTextFrameFormat::BorderStyle_Double:
        return "\\brdrdb";
    case QTextFrameFormat::BorderStyle_Dotted:
        return "\\brdrdot";
    case QTextFrameFormat::BorderStyle_Dashed:
        return "\\brdrdash";
    case QTextFrameFormat::BorderStyle_DotDash:
        return "\\brdrdashd";
    case QTextFrameFormat::BorderStyle_DotDotDash:
        return "\\brdrdashdd";
    case QTextFrameFormat::BorderStyle_Inset:
        return "\\brdrinset";
    case QTextFrameFormat::BorderStyle_Outset:
        return "\\brdroutset";
    default:
        return "\\brdrs";
    }
}

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(&doc) {
        const QFont font = doc.defaultFont();
        defaultFamily_ = font.family();
        defaultHalfPoints_ = font.pointSizeF() > 0 ? int(std::lround(font.pointSizeF() * 2)) : 24;
        fonts_.append(defaultFamily_);
    }
    QByteArray run();

private:
    void writePageSetup();
    void writeRunningHeads();
    void writeFrame(const QTextFrame* frame);
    void writeTable(const QTextTable* table);
    void writeCellDef(const QTextTable* table, const QTextTableCell& cell, bool continued,
                      int right);
    void writeBorder(const char* edge, qreal pixels, int style, const QBrush& brush);
    void writeCellContent(const QTextFrame::iterator& begin, const QTextFrame::iterator& end);
    void writeBlock(const QTextBlock& block, bool inTable);
    void writeFragment(const QTextFragment& fragment);
    void writeRun(const QTextCharFormat& f, QStringView text);
    QByteArray charWords(const QTextCharFormat& f);
    void writePicture(const QTextImageFormat& f);
    int fontIndex(const QTextCharFormat& f);
    int colorIndex(const QColor& c);
    void escape(QByteArray& out, QStringView text);

    const QTextDocument* doc_;
    QString defaultFamily_;
    int defaultHalfPoints_ = 24;
    QStringList fonts_;
    QList<QRgb> colors_;
    QByteArray body_;
};

QByteArray Writer::run() {
    // The running heads first: they use the font and colour tables too.
    writeRunningHeads();
    const QByteArray heads = std::move(body_);
    body_.clear();
    writeFrame(doc_->rootFrame());

    QByteArray out;
    out.reserve(body_.size() + heads.size() + 512);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        escape(out, fonts_[i]);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (QRgb c : colors_)
        out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) +
               "\\blue" + QByteArray::number(qBlue(c)) + ';';
    out += "}\n{\\*\\generator Corvanel " CORVANEL_VERSION ";}";
    std::swap(out, body_);
    writePageSetup();
    std::swap(out, body_);
    out += "\\viewkind4\\uc1\n";
    out += heads;
    out += body_;
    out += "}\n";
    return out;
}

void Writer::writePageSetup() {
    const std::optional<PageSetup> page = pageSetup(*doc_);
    if (!page)
        return;
    body_ += number("\\paperw", page->paperWidth) + number("\\paperh", page->paperHeight) +
             number("\\margl", page->marginLeft) + number("\\margr", page->marginRight) +
             number("\\margt", page->marginTop) + number("\\margb", page->marginBottom) +
             number("\\headery", page->headerTop) + number("\\footery", page->footerBottom);
    if (page->landscape())
        body_ += "\\landscape";
    if (page->facingPages)
        body_ += "\\facingp";
    if (page->titlePage)
        body_ += "\\titlepg";
    body_ += '\n';
}

void Writer::writeRunningHeads() {
    const QTextDocument& main = *doc_;
    const bool facing = pageSetup(main).value_or(PageSetup()).facingPages;
    const std::pair<RunningHead, const char*> heads[] = {
        {RunningHead::Header, facing ? "headerr" : "header"},
        {RunningHead::Footer, facing ? "footerr" : "footer"},
        {RunningHead::FirstHeader, "headerf"},
        {RunningHead::FirstFooter, "footerf"},
        {RunningHead::EvenHeader, "headerl"},
        {RunningHead::EvenFooter, "footerl"},
    };
    for (const auto& [which, word] : heads) {
        const QByteArray rtf = runningHead(main, which);
        if (rtf.isEmpty())
            continue;
        QTextDocument head;
        if (!read(rtf, head))
            continue;
        doc_ = &head;
        body_ += QByteArray("{\\") + word + ' ';
        writeFrame(head.rootFrame());
        body_ += "\\par}\n";
    }
    doc_ = &main;
}

void Writer::writeFrame(const QTextFrame* frame) {
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child))
                writeTable(table);
            else
                writeFrame(child);
            continue;
        }
        const QTextBlock block = it.currentBlock();
        writeBlock(block, false);
        // Every paragraph but the document's last is closed; a closing \par on the last one
        // would read back as an extra empty paragraph.
        if (block.next().isValid())
            body_ += "\\par\n";
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
            body_ += "\\page\n";
    }
}

void Writer::writeTable(const QTextTable* table) {
    const QTextTableFormat tf = table->format();
    const int columns = table->columns();
    const QList<QTextLength> widths = tf.columnWidthConstraints();
    // The column edges, from the table's left edge (\trleft) on.
    QList<int> edge{format::twips(tf.leftMargin())};
    for (int c = 0; c < columns; ++c) {
        int w = TableTwips / std::max(columns, 1);
        if (widths.size() == columns) {
            const QTextLength& l = widths[c];
            if (l.type() == QTextLength::FixedLength && l.rawValue() > 0)
                w = format::twips(l.rawValue());
            else if (l.type() == QTextLength::PercentageLength && l.rawValue() > 0)
                w = int(TableTwips * l.rawValue() / 100);
        }
        edge.append(edge.last() + std::max(w, 1));
    }
    // Cell edges are written where the cells are drawn, so no gap: each cell's padding is
    // written with it.
    QByteArray row = "\\trowd\\trgaph0\\trleft" + QByteArray::number(edge.first());
    const Qt::Alignment align = tf.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        row += "\\trqc";
    else if (align & Qt::AlignRight)
        row += "\\trqr";
    for (int r = 0; r < table->rows(); ++r) {
        body_ += row;
        if (r < tf.headerRowCount())
            body_ += "\\trhdr";
        int height = 0;
        for (int c = 0; c < columns; ++c) {
            const int h = table->cellAt(r, c).format().intProperty(format::RowHeight);
            if (std::abs(h) > std::abs(height))
                height = h;
        }
        if (height != 0)
            body_ += number("\\trrh", height);
        // A cell spanning columns is one wide cell, as word processors write merged cells; a
        // cell spanning rows is marked in each row it covers.
        QList<QTextTableCell> cells;
        for (int c = 0; c < columns;) {
            const QTextTableCell cell = table->cellAt(r, c);
            const int span = std::max(1, cell.columnSpan());
            if (cell.column() == c) {
                writeCellDef(table, cell, cell.row() < r, edge[std::min(c + span, columns)]);
                cells.append(cell);
            }
            c += span;
        }
        body_ += '\n';
        for (const QTextTableCell& cell : cells) {
            // A merged cell's text is written once, where the merge starts.
            if (cell.row() == r)
                writeCellContent(cell.begin(), cell.end());
            else
                body_ += "\\pard\\intbl";
            body_ += "\\cell\n";
        }
        body_ += "\\row\n";
    }
}

void Writer::writeBorder(const char* edge, qreal pixels, int style, const QBrush& brush) {
    if (pixels <= 0 || style == QTextFrameFormat::BorderStyle_None)
        return;
    body_ += edge;
    body_ += borderStyleWord(style);
    body_ += number("\\brdrw", std::clamp(format::twips(pixels), 1, 255));
    if (brush.style() != Qt::NoBrush && brush.color() != Qt::black)
        body_ += number("\\brdrcf", colorIndex(brush.color()));
}

void Writer::writeCellDef(const QTextTable* table, const QTextTableCell& cell, bool continued,
                          int right) {
    const QTextTableCellFormat f = cell.format().toTableCellFormat();
    if (cell.rowSpan() > 1)
        body_ += continued ? "\\clvmrg" : "\\clvmgf";
    if (f.hasProperty(QTextFormat::TableCellTopBorder) ||
        f.hasProperty(QTextFormat::TableCellLeftBorder)) {
        writeBorder("\\clbrdrt", f.topBorder(), f.topBorderStyle(), f.topBorderBrush());
        writeBorder("\\clbrdrl", f.leftBorder(), f.leftBorderStyle(), f.leftBorderBrush());
        writeBorder("\\clbrdrb", f.bottomBorder(), f.bottomBorderStyle(), f.bottomBorderBrush());
        writeBorder("\\clbrdrr", f.rightBorder(), f.rightBorderStyle(), f.rightBorderBrush());
    } else if (table->format().border() > 0) {
        // A table bordered as a whole (made in the program, or read from HTML).
        const qreal w = table->format().border();
        const int s = QTextFrameFormat::BorderStyle_Solid;
        const QBrush ink(Qt::black);
        for (const char* edge : {"\\clbrdrt", "\\clbrdrl", "\\clbrdrb", "\\clbrdrr"})
            writeBorder(edge, w, s, ink);
    }
    const std::pair<const char*, int> pads[] = {
        {"\\clpadt", QTextFormat::TableCellTopPadding},
        {"\\clpadl", QTextFormat::TableCellLeftPadding},
        {"\\clpadb", QTextFormat::TableCellBottomPadding},
        {"\\clpadr", QTextFormat::TableCellRightPadding},
    };
    static const char* const units[] = {"\\clpadft3", "\\clpadfl3", "\\clpadfb3", "\\clpadfr3"};
    const qreal tablePadding = std::max<qreal>(table->format().cellPadding(), 0);
    for (int i = 0; i < 4; ++i) {
        const qreal pad =
            f.hasProperty(pads[i].second) ? f.doubleProperty(pads[i].second) : tablePadding;
        body_ += number(pads[i].first, format::twips(pad)) + units[i];
    }
    if (f.background().style() != Qt::NoBrush)
        body_ += number("\\clcbpat", colorIndex(f.background().color()));
    if (f.verticalAlignment() == QTextCharFormat::AlignMiddle)
        body_ += "\\clvertalc";
    else if (f.verticalAlignment() == QTextCharFormat::AlignBottom)
        body_ += "\\clvertalb";
    body_ += number("\\cellx", right);
}

void Writer::writeCellContent(const QTextFrame::iterator& begin, const QTextFrame::iterator& end) {
    bool first = true;
    for (auto it = begin; it != end; ++it) {
        QList<QTextBlock> blocks;
        if (const QTextFrame* child = it.currentFrame()) {
            // Tables inside cells are flattened into the cell's paragraphs.
            for (QTextBlock b = doc_->findBlock(child->firstPosition());
                 b.isValid() && b.position() <= child->lastPosition(); b = b.next())
                blocks.append(b);
        } else {
            blocks.append(it.currentBlock());
        }
        for (const QTextBlock& b : blocks) {
            if (!first)
                body_ += "\\par\n";
            first = false;
            writeBlock(b, true);
        }
    }
    if (first)
        body_ += "\\pard\\intbl";
}

void Writer::writeBlock(const QTextBlock& block, bool inTable) {
    const QTextBlockFormat bf = block.blockFormat();
    if (!inTable && (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        body_ += "\\page\n";
    body_ += "\\pard";
    if (inTable)
        body_ += "\\intbl";
    const bool rtl = bf.layoutDirection() == Qt::RightToLeft;
    if (rtl)
        body_ += "\\rtlpar";
    Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (rtl && !(a & Qt::AlignAbsolute) && (a & (Qt::AlignLeft | Qt::AlignRight)))
        a ^= Qt::AlignLeft | Qt::AlignRight; // Qt's left is the start: the right, here
    if (a & Qt::AlignHCenter)
        body_ += "\\qc";
    else if (a & Qt::AlignJustify)
        body_ += "\\qj";
    else if (a & Qt::AlignRight)
        body_ += "\\qr";
    else
        body_ += "\\ql";
    const auto length = [this](const char* word, qreal pixels) {
        const int t = format::twips(pixels);
        if (t != 0)
            body_ += number(word, t);
    };
    length("\\li", bf.leftMargin());
    length("\\ri", bf.rightMargin());
    length("\\fi", bf.textIndent());
    length("\\sb", bf.topMargin());
    length("\\sa", bf.bottomMargin());
    switch (bf.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        body_ += number("\\sl", int(std::lround(bf.lineHeight() * 240 / 100))) + "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight:
        body_ += number("\\sl", format::twips(bf.lineHeight())) + "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        body_ += number("\\sl", -format::twips(bf.lineHeight())) + "\\slmult0";
        break;
    default:
        break;
    }
    for (const QTextOption::Tab& tab : bf.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            body_ += "\\tqr";
        else if (tab.type == QTextOption::CenterTab)
            body_ += "\\tqc";
        else if (tab.type == QTextOption::DelimiterTab)
            body_ += "\\tqdec";
        body_ += number("\\tx", format::twips(tab.position + bf.leftMargin()));
    }
    if (bf.background().style() != Qt::NoBrush)
        body_ += number("\\cbpat", colorIndex(bf.background().color()));
    static const char* const edges[] = {"\\brdrt", "\\brdrl", "\\brdrb", "\\brdrr"};
    bool bordered = false;
    for (int e = 0; e < 4; ++e) {
        const qreal w = bf.doubleProperty(format::borderWidthProperty(e));
        if (w <= 0)
            continue;
        bordered = true;
        writeBorder(edges[e], w, bf.intProperty(format::borderStyleProperty(e)),
                    bf.colorProperty(format::borderColorProperty(e)));
    }
    if (bordered)
        length("\\brsp", bf.doubleProperty(format::BorderSpacing));
    body_ += ' ';
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().isValid())
            writeFragment(it.fragment());
}

void Writer::writeFragment(const QTextFragment& fragment) {
    const QTextCharFormat f = fragment.charFormat();
    if (f.isImageFormat()) {
        // One object replacement character for each picture.
        for (int i = 0; i < fragment.length(); ++i)
            writePicture(f.toImageFormat());
        return;
    }
    const Field field = fieldOf(f);
    if (field == Field::None) {
        writeRun(f, fragment.text());
        return;
    }
    // The result's formatting inside \\fldrslt itself: a reader that stands in for the
    // result's text takes it from there.
    body_ += field == Field::Page ? "{\\field{\\*\\fldinst PAGE }{\\fldrslt "
                                  : "{\\field{\\*\\fldinst NUMPAGES }{\\fldrslt ";
    body_ += charWords(f) + ' ';
    escape(body_, fragment.text());
    body_ += "}}";
}

void Writer::writePicture(const QTextImageFormat& f) {
    const std::optional<detail::Picture> p = detail::storedPicture(*doc_, f);
    if (!p)
        return;
    body_ += "{\\pict";
    switch (p->kind) {
    case format::PictureKind::Png:
        body_ += "\\pngblip";
        break;
    case format::PictureKind::Jpeg:
        body_ += "\\jpegblip";
        break;
    case format::PictureKind::Wmf:
        body_ += "\\wmetafile8";
        break;
    case format::PictureKind::Emf:
        body_ += "\\emfblip";
        break;
    default:
        body_ += "\\dibitmap0";
    }
    if (p->sourceWidth > 0 && p->sourceHeight > 0)
        body_ += number("\\picw", p->sourceWidth) + number("\\pich", p->sourceHeight);
    body_ += number("\\picwgoal", p->goalWidth) + number("\\pichgoal", p->goalHeight) + '\n';
    const QByteArray hex = p->data.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        body_ += hex.mid(i, 128);
        body_ += '\n';
    }
    body_ += '}';
}

int Writer::fontIndex(const QTextCharFormat& f) {
    QString family;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty())
        family = families.first();
    if (family.isEmpty())
        family = f.stringProperty(QTextFormat::FontFamily);
    if (family.isEmpty())
        family = defaultFamily_;
    qsizetype i = fonts_.indexOf(family);
    if (i < 0) {
        fonts_.append(family);
        i = fonts_.size() - 1;
    }
    return int(i);
}

int Writer::colorIndex(const QColor& c) {
    const QRgb rgb = c.rgb() & 0xFFFFFF;
    qsizetype i = colors_.indexOf(rgb);
    if (i < 0) {
        colors_.append(rgb);
        i = colors_.size() - 1;
    }
    return int(i) + 1; // entry 0 is the automatic colour
}

QByteArray Writer::charWords(const QTextCharFormat& f) {
    QByteArray out = "\\f" + QByteArray::number(fontIndex(f));
    const qreal points = f.fontPointSize();
    out +=
        "\\fs" + QByteArray::number(points > 0 ? int(std::lround(points * 2)) : defaultHalfPoints_);
    if (f.fontWeight() >= QFont::DemiBold)
        out += "\\b";
    if (f.fontItalic())
        out += "\\i";
    if (f.fontUnderline())
        out += "\\ul";
    if (f.fontStrikeOut())
        out += "\\strike";
    if (f.fontCapitalization() == QFont::SmallCaps)
        out += "\\scaps";
    else if (f.fontCapitalization() == QFont::AllUppercase)
        out += "\\caps";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush &&
        !f.boolProperty(format::AutoColor))
        out += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        out += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out += "\\sub";
    return out;
}

void Writer::writeRun(const QTextCharFormat& f, QStringView text) {
    if (text.isEmpty())
        return;
    body_ += '{' + charWords(f) + ' ';
    escape(body_, text);
    body_ += '}';
}

void Writer::escape(QByteArray& out, QStringView text) {
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        switch (u) {
        case '\\':
        case '{':
        case '}':
            out += '\\';
            out += char(u);
            continue;
        case '\t':
            out += "\\tab ";
            continue;
        case QChar::LineSeparator:
        case '\n':
            out += "\\line ";
            continue;
        case QChar::Nbsp:
            out += "\\~";
            continue;
        case QChar::ObjectReplacementCharacter: // objects other than pictures are not kept
            continue;
        default:
            break;
        }
        if (u >= 0x20 && u < 0x7F) {
            out += char(u);
        } else if (u >= 0x7F) {
            // \u takes a signed 16-bit number; characters beyond the BMP are already held as
            // a surrogate pair, each written as its own escape.
            out += "\\u" + QByteArray::number(u > 32767 ? int(u) - 65536 : int(u)) + '?';
        }
    }
}

} // namespace

QByteArray write(const QTextDocument& doc) {
    return Writer(doc).run();
}

QByteArray write(const QTextDocumentFragment& fragment) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertFragment(fragment);
    return write(doc);
}

} // namespace Rtf
