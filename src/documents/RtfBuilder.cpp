#include "documents/RtfBuilder.h"

#include <QTextDocument>
#include <QTextImageFormat>

namespace Rtf::detail {

Builder::Builder(QTextDocument& doc, const Tables& tables, Budget& budget, const RowDef& currentRow)
    : cursor_(&doc), tables_(tables), budget_(budget), currentRow_(currentRow) {}

void Builder::text(QStringView text, const CharProps& chr, const ParaProps& para) {
    if (text.isEmpty())
        return;
    if (!para.inTable && !table_.isEmpty())
        leaveTable();
    if (!(chr == runProps_) || para.inTable != runInTable_) {
        flush();
        runProps_ = chr;
        runInTable_ = para.inTable;
    }
    run_.append(text);
}

void Builder::image(const QTextImageFormat& f, const ParaProps& para) {
    flush();
    if (para.inTable) {
        table_.addRun(QString(), f);
        return;
    }
    if (!table_.isEmpty())
        leaveTable();
    cursor_.insertImage(f);
}

void Builder::flush() {
    if (run_.isEmpty())
        return;
    const QTextCharFormat f = charFormat(runProps_, tables_);
    if (runInTable_)
        table_.addRun(run_, f);
    else
        cursor_.insertText(run_, f);
    run_.clear();
}

void Builder::paragraph(const ParaProps& para) {
    flush();
    if (para.inTable) {
        table_.endParagraph(blockFormat(para, tables_));
        return;
    }
    if (!table_.isEmpty())
        leaveTable();
    applyBlockFormat(para);
    cursor_.insertBlock();
}

void Builder::cell(const ParaProps& para) {
    flush();
    table_.endCell(blockFormat(para, tables_));
}

void Builder::row(const RowDef& def) {
    flush();
    table_.endRow(def);
}

void Builder::pageBreak(const ParaProps& para) {
    if (para.inTable)
        return; // a page break inside a table has no place in Qt's
    flush();
    if (!table_.isEmpty())
        leaveTable();
    if (cursor_.positionInBlock() > 0) {
        applyBlockFormat(para);
        cursor_.insertBlock();
    }
    breakBefore_ = true;
}

void Builder::finish(const ParaProps& last) {
    flush();
    const bool endsInTable = !table_.isEmpty();
    if (endsInTable)
        leaveTable();
    if (!endsInTable || !last.inTable)
        applyBlockFormat(last);
}

void Builder::leaveTable() {
    flush();
    table_.build(cursor_, tables_, budget_.cells, budget_.merges, currentRow_);
}

void Builder::applyBlockFormat(const ParaProps& para) {
    QTextBlockFormat f = blockFormat(para, tables_);
    if (breakBefore_ || para.breakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    breakBefore_ = false;
    cursor_.setBlockFormat(f);
}

} // namespace Rtf::detail
