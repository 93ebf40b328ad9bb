#include "documents/Rtf.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>

namespace Rtf {

namespace {

// The text width of a Letter page with one-inch margins, for tables without column widths.
constexpr int TableTwips = 9360;

int twips(qreal points) {
    return int(std::lround(points * 20));
}

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc) {
        const QFont font = doc.defaultFont();
        defaultFamily_ = font.family();
        defaultHalfPoints_ = font.pointSizeF() > 0 ? int(std::lround(font.pointSizeF() * 2)) : 24;
        fonts_.append(defaultFamily_);
    }
    QByteArray run();

private:
    void writeFrame(const QTextFrame* frame);
    void writeTable(const QTextTable* table);
    void writeCellContent(const QTextFrame::iterator& begin, const QTextFrame::iterator& end);
    void writeBlock(const QTextBlock& block, bool inTable);
    void writeRun(const QTextCharFormat& f, QStringView text);
    void writeText(QStringView text);
    int fontIndex(const QTextCharFormat& f);
    int colorIndex(const QColor& c);
    void escape(QByteArray& out, QStringView text);

    const QTextDocument& doc_;
    QString defaultFamily_;
    int defaultHalfPoints_ = 24;
    QStringList fonts_;
    QList<QRgb> colors_;
    QByteArray body_;
};

QByteArray Writer::run() {
    writeFrame(doc_.rootFrame());
    QByteArray out;
    out.reserve(body_.size() + 512);
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
    out += "}\n{\\*\\generator Corvanel " CORVANEL_VERSION ";}\\viewkind4\\uc1\n";
    out += body_;
    out += "}\n";
    return out;
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
    QList<int> right;
    int x = 0;
    for (int c = 0; c < columns; ++c) {
        int w = TableTwips / std::max(columns, 1);
        if (widths.size() == columns) {
            const QTextLength& l = widths[c];
            if (l.type() == QTextLength::FixedLength && l.rawValue() > 0)
                w = twips(l.rawValue());
            else if (l.type() == QTextLength::PercentageLength && l.rawValue() > 0)
                w = int(TableTwips * l.rawValue() / 100);
        }
        x += std::max(w, 20);
        right.append(x);
    }
    const bool borders = tf.border() > 0;
    const QByteArray gap = QByteArray::number(twips(std::max<qreal>(tf.cellPadding(), 0)));
    for (int r = 0; r < table->rows(); ++r) {
        body_ += "\\trowd\\trgaph" + gap + "\\trleft0";
        for (int c = 0; c < columns; ++c) {
            if (borders)
                body_ += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                         "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
            body_ += "\\cellx" + QByteArray::number(right[c]);
        }
        body_ += '\n';
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            // A merged cell's text is written once, where the merge starts.
            if (cell.row() == r && cell.column() == c)
                writeCellContent(cell.begin(), cell.end());
            else
                body_ += "\\pard\\intbl";
            body_ += "\\cell\n";
        }
        body_ += "\\row\n";
    }
}

void Writer::writeCellContent(const QTextFrame::iterator& begin, const QTextFrame::iterator& end) {
    bool first = true;
    for (auto it = begin; it != end; ++it) {
        QList<QTextBlock> blocks;
        if (const QTextFrame* child = it.currentFrame()) {
            // Tables inside cells are flattened into the cell's paragraphs.
            for (QTextBlock b = doc_.findBlock(child->firstPosition());
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
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        body_ += "\\qc";
    else if (a & Qt::AlignJustify)
        body_ += "\\qj";
    else if (a & (Qt::AlignRight))
        body_ += "\\qr";
    else
        body_ += "\\ql";
    const auto number = [this](const char* word, qreal points) {
        const int t = twips(points);
        if (t != 0)
            body_ += QByteArray(word) + QByteArray::number(t);
    };
    number("\\li", bf.leftMargin());
    number("\\ri", bf.rightMargin());
    number("\\fi", bf.textIndent());
    number("\\sb", bf.topMargin());
    number("\\sa", bf.bottomMargin());
    body_ += ' ';
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid())
            writeRun(fragment.charFormat(), fragment.text());
    }
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

void Writer::writeRun(const QTextCharFormat& f, QStringView text) {
    if (text.isEmpty())
        return;
    body_ += "{\\f" + QByteArray::number(fontIndex(f));
    const qreal points = f.fontPointSize();
    body_ +=
        "\\fs" + QByteArray::number(points > 0 ? int(std::lround(points * 2)) : defaultHalfPoints_);
    if (f.fontWeight() >= QFont::DemiBold)
        body_ += "\\b";
    if (f.fontItalic())
        body_ += "\\i";
    if (f.fontUnderline())
        body_ += "\\ul";
    if (f.fontStrikeOut())
        body_ += "\\strike";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        body_ += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        body_ += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        body_ += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        body_ += "\\sub";
    body_ += ' ';
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
        case QChar::ObjectReplacementCharacter: // images and other objects are not kept
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
