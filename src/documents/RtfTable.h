#pragma once

#include "documents/RtfState.h"

#include <QList>
#include <QString>
#include <QTextFormat>

#include <array>

class QTextCursor;

// Tables. RTF gives a table row by row, each row with its own cell edges (\cellx), and marks
// merged cells on the cells themselves; Qt wants the grid up front. So a table's rows are
// collected first and the QTextTable is made once the table ends: its columns are every cell
// edge of every row, a cell spans the columns between its edges, and merges become spans.
// Making the table in one go also keeps reading linear: Qt rebuilds a table's grid whenever
// rows are added, so growing a table row by row took quadratic time.
namespace Rtf::detail {

struct CellDef {
    int right = 0; // \cellx: twips from the margin
    std::array<Border, 4> borders;
    std::array<int, 4> padding{-1, -1, -1, -1}; // twips; -1 for the row's
    int shading = 0;                            // \clcbpat
    int pattern = 0;                            // \clcfpat
    int shadePct = -1;                          // \clshdng in hundredths of a percent
    quint8 hmerge = 0; // 1 first of a horizontal merge, 2 merged into the cell before
    quint8 vmerge = 0; // 1 first of a vertical merge, 2 merged into the cell above
    quint8 valign = 0; // 0 top, 1 centre, 2 bottom
};

// Writer draws a row's cells \trgaph further left than \trleft and \cellx say, so that the
// cells' text (not their borders) lines up with the margin; so do we.
struct RowDef {
    int left = 0;   // \trleft
    int gap = 0;    // \trgaph: half the space between cells' text
    int height = 0; // \trrh: at least this, or exactly when negative
    std::array<int, 4> padding{-1, -1, -1, -1};
    std::array<Border, 6> borders; // edges, then inner horizontal and vertical
    quint8 align = 0;              // 0 left, 1 centre, 2 right
    bool header = false;
    QList<CellDef> cells;
};

// Text and pictures held until their table is made.
struct Run {
    QString text; // empty for a picture
    QTextCharFormat format;
};
struct Paragraph {
    QTextBlockFormat format;
    QList<Run> runs;
};

class TableBuilder {
public:
    static constexpr int MaxColumns = 64;

    bool isEmpty() const {
        return rows_.isEmpty() && cells_.isEmpty() && current_.isEmpty() && !hasParagraph_;
    }
    void addRun(const QString& text, const QTextCharFormat& f);
    void endParagraph(const QTextBlockFormat& f);
    void endCell(const QTextBlockFormat& f);
    void endRow(const RowDef& def);

    // Makes the table at the cursor and leaves the cursor in the paragraph after it. A table
    // larger than the budget of cells (what a hostile file could ask for in a few bytes) is
    // given as paragraphs, its cells separated by tabs. Both budgets shrink by what is used.
    void build(QTextCursor& cursor, const Tables& tables, qsizetype& cellBudget,
               qsizetype& mergeBudget, const RowDef& openRow);

private:
    struct Row {
        RowDef def;
        QList<QList<Paragraph>> cells;
    };
    QList<Row> rows_;
    QList<QList<Paragraph>> cells_; // of the row being read
    QList<Paragraph> current_;      // of the cell being read
    Paragraph paragraph_;           // being read
    bool hasParagraph_ = false;
};

} // namespace Rtf::detail
