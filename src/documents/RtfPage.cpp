#include "documents/RtfPage.h"
#include "documents/RtfFormat.h"

#include <QList>
#include <QTextDocument>
#include <QTextFrame>

namespace Rtf {

namespace {

QTextFrameFormat rootFormat(const QTextDocument& doc) {
    return doc.rootFrame()->frameFormat();
}

void setRootFormat(QTextDocument& doc, const QTextFrameFormat& f) {
    doc.rootFrame()->setFrameFormat(f);
}

} // namespace

std::optional<PageSetup> pageSetup(const QTextDocument& doc) {
    const QVariant v = rootFormat(doc).property(format::PageSetupValues);
    const QList<int> n = v.value<QList<int>>();
    if (n.size() != 10)
        return std::nullopt;
    PageSetup s;
    s.paperWidth = n[0];
    s.paperHeight = n[1];
    s.marginLeft = n[2];
    s.marginRight = n[3];
    s.marginTop = n[4];
    s.marginBottom = n[5];
    s.headerTop = n[6];
    s.footerBottom = n[7];
    s.titlePage = n[8] != 0;
    s.facingPages = n[9] != 0;
    return s;
}

void setPageSetup(QTextDocument& doc, const std::optional<PageSetup>& setup) {
    QTextFrameFormat f = rootFormat(doc);
    if (!setup) {
        f.clearProperty(format::PageSetupValues);
    } else {
        const PageSetup& s = *setup;
        f.setProperty(
            format::PageSetupValues,
            QVariant::fromValue(QList<int>{s.paperWidth, s.paperHeight, s.marginLeft, s.marginRight,
                                           s.marginTop, s.marginBottom, s.headerTop, s.footerBottom,
                                           int(s.titlePage), int(s.facingPages)}));
    }
    setRootFormat(doc, f);
}

QByteArray runningHead(const QTextDocument& doc, RunningHead which) {
    return rootFormat(doc).property(format::RunningHeadFirst + int(which)).toByteArray();
}

void setRunningHead(QTextDocument& doc, RunningHead which, const QByteArray& rtf) {
    QTextFrameFormat f = rootFormat(doc);
    if (rtf.isEmpty())
        f.clearProperty(format::RunningHeadFirst + int(which));
    else
        f.setProperty(format::RunningHeadFirst + int(which), rtf);
    setRootFormat(doc, f);
}

Field fieldOf(const QTextCharFormat& f) {
    const int kind = f.intProperty(format::FieldKind);
    return kind == int(Field::Page) || kind == int(Field::NumPages) ? Field(kind) : Field::None;
}

} // namespace Rtf
