#pragma once

#include "documents/RtfState.h"
#include "documents/RtfTable.h"

#include <QTextCursor>

class QTextDocument;
class QTextImageFormat;

// Puts what the reader finds into one QTextDocument: the body, or a header or footer. Text
// comes in runs of equal formatting; paragraphs marked as in a table are held by the table
// builder until the table ends.
namespace Rtf::detail {

// How many table cells and how much merging a file may still ask for; shared by the body and
// its running heads.
struct Budget {
    qsizetype cells = 0;
    qsizetype merges = 0;
};

class Builder {
public:
    // currentRow is the reader's row definition in force, for a table the file ends in
    // without its closing \row.
    Builder(QTextDocument& doc, const Tables& tables, Budget& budget, const RowDef& currentRow);

    QTextDocument& document() { return *cursor_.document(); }

    void text(QStringView text, const CharProps& chr, const ParaProps& para);
    void image(const QTextImageFormat& f, const ParaProps& para);
    void paragraph(const ParaProps& para);
    void cell(const ParaProps& para);
    void row(const RowDef& def);
    void pageBreak(const ParaProps& para);
    // Writes out the text held; the reader calls this before it reads into another document.
    void flush();
    // The end of the document: what is held is written, and the last paragraph takes the
    // properties in force at the end.
    void finish(const ParaProps& last);

private:
    void leaveTable();
    void applyBlockFormat(const ParaProps& para);

    QTextCursor cursor_;
    const Tables& tables_;
    Budget& budget_;
    const RowDef& currentRow_;
    TableBuilder table_;
    QString run_;
    CharProps runProps_;
    bool runInTable_ = false;
    bool breakBefore_ = false;
};

} // namespace Rtf::detail
