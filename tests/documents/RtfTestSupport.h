#pragma once

// What the RTF tests share: reading files of the corpus and describing what the reader built,
// so that two documents compare equal when their structure is the same.
#include "documents/Rtf.h"
#include "documents/RtfFormat.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>

namespace rtftest {

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline QString corpusDir() {
    return qEnvironmentVariable("CORVANEL_TEST_DATA") + "/rtf";
}

inline QByteArray corpus(const QString& name) {
    return readFile(corpusDir() + "/" + name);
}

// The RTF document of the body, with a font and colour table (1 red, 2 blue, 3 navy).
inline QByteArray rtf(const QByteArray& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman "
           "Times New Roman;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
           "\\red31\\green56\\blue100;}" +
           body + "}";
}

inline QTextTable* firstTable(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (QTextTable* t = QTextCursor(b).currentTable())
            return t;
    return nullptr;
}

inline QString cellText(const QTextTableCell& cell) {
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selection().toRawText().replace(QChar::ParagraphSeparator, '/');
}

inline QString num(double v) {
    return QString::number(v, 'f', 2);
}

// A table as rows of "text:rows x columns" cells, the columns' widths first.
inline QStringList describeTable(const QTextTable* t) {
    QStringList out;
    QStringList widths;
    for (const QTextLength& l : t->format().columnWidthConstraints())
        widths << num(l.rawValue());
    out << "widths " + widths.join(' ') + " left " + num(t->format().leftMargin());
    for (int r = 0; r < t->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() == r && cell.column() == c)
                cells << QStringLiteral("%1:%2x%3")
                             .arg(cellText(cell))
                             .arg(cell.rowSpan())
                             .arg(cell.columnSpan());
        }
        out << cells.join('|');
    }
    return out;
}

inline QString describeCell(const QTextTableCellFormat& f) {
    const auto edge = [](qreal w, int style, const QBrush& b) {
        return num(w) + "/" + QString::number(style) + "/" + b.color().name();
    };
    return QStringList{edge(f.topBorder(), f.topBorderStyle(), f.topBorderBrush()),
                       edge(f.leftBorder(), f.leftBorderStyle(), f.leftBorderBrush()),
                       edge(f.bottomBorder(), f.bottomBorderStyle(), f.bottomBorderBrush()),
                       edge(f.rightBorder(), f.rightBorderStyle(), f.rightBorderBrush()),
                       num(f.topPadding()) + " " + num(f.leftPadding()) + " " +
                           num(f.bottomPadding()) + " " + num(f.rightPadding()),
                       f.background().style() == Qt::NoBrush ? "-" : f.background().color().name(),
                       QString::number(f.verticalAlignment()),
                       QString::number(f.intProperty(Rtf::format::RowHeight))}
        .join(' ');
}

inline QString describeBlock(const QTextBlockFormat& f) {
    QStringList tabs;
    for (const QTextOption::Tab& t : f.tabPositions())
        tabs << num(t.position) + "/" + QString::number(t.type);
    QStringList borders;
    for (int p = Rtf::format::BorderTopWidth; p <= Rtf::format::BorderSpacing; ++p) {
        const QVariant v = f.property(p);
        borders << (v.typeId() == QMetaType::Double ? num(v.toDouble()) : v.toString());
    }
    return QStringLiteral("align %1 dir %2 margins %3 %4 %5 %6 %7 line %8/%9 tabs %10 "
                          "borders %11 break %12 back %13")
        .arg(int(f.alignment()))
        .arg(int(f.layoutDirection()))
        .arg(num(f.leftMargin()), num(f.rightMargin()), num(f.textIndent()), num(f.topMargin()),
             num(f.bottomMargin()), num(f.lineHeight()))
        .arg(f.lineHeightType())
        .arg(tabs.join(','), borders.join(','))
        .arg(int(f.pageBreakPolicy()))
        .arg(f.background().style() == Qt::NoBrush ? "-" : f.background().color().name());
}

inline QString describeChar(const QTextCharFormat& f) {
    if (f.isImageFormat()) {
        const QTextImageFormat i = f.toImageFormat();
        return "image " + num(i.width()) + "x" + num(i.height()) + " kind " +
               QString::number(i.intProperty(Rtf::format::PictureFormat));
    }
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 field %9")
        .arg(f.fontFamilies().toStringList().value(0))
        .arg(f.fontPointSize())
        .arg(f.fontWeight())
        .arg(f.fontItalic())
        .arg(f.fontUnderline())
        .arg(int(f.fontCapitalization()))
        .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : "auto")
        .arg(f.verticalAlignment())
        .arg(int(Rtf::fieldOf(f)));
}

// Everything the reader builds: page setup, running heads, paragraphs with their formats and
// runs, tables with their grid, spans and cell formats.
inline QStringList describe(const QTextDocument& doc) {
    QStringList out;
    if (const auto p = Rtf::pageSetup(doc))
        out << QStringLiteral("page %1x%2 margins %3 %4 %5 %6 heads %7 %8 first %9 facing %10")
                   .arg(p->paperWidth)
                   .arg(p->paperHeight)
                   .arg(p->marginLeft)
                   .arg(p->marginRight)
                   .arg(p->marginTop)
                   .arg(p->marginBottom)
                   .arg(p->headerTop)
                   .arg(p->footerBottom)
                   .arg(p->titlePage)
                   .arg(p->facingPages);
    for (int i = 0; i < Rtf::RunningHeadCount; ++i) {
        const QByteArray head = Rtf::runningHead(doc, Rtf::RunningHead(i));
        if (head.isEmpty())
            continue;
        QTextDocument h;
        Rtf::read(head, h);
        out << QStringLiteral("running head %1 {").arg(i);
        out << describe(h);
        out << "}";
    }
    QList<const QTextTable*> tables;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (const QTextTable* t = QTextCursor(b).currentTable(); t && !tables.contains(t)) {
            tables << t;
            out << describeTable(t);
            for (int r = 0; r < t->rows(); ++r)
                for (int c = 0; c < t->columns(); ++c)
                    out << describeCell(t->cellAt(r, c).format().toTableCellFormat());
        }
        out << "block " + describeBlock(b.blockFormat());
        QString last;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QString d = describeChar(it.fragment().charFormat());
            if (d == last && !it.fragment().charFormat().isImageFormat())
                out.last() += it.fragment().text();
            else
                out << d + " | " + it.fragment().text();
            last = d;
        }
    }
    return out;
}

inline bool hasTool(const char* name) {
    return !QStandardPaths::findExecutable(name).isEmpty();
}

} // namespace rtftest
