#include "documents/RtfTable.h"
#include "documents/RtfFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>

#include <algorithm>
#include <vector>

namespace Rtf::detail {

namespace {

// A cell whose row definition has no \cellx for it gets this width.
constexpr int DefaultCellTwips = 1440;

// A cell as it lands in the grid.
struct Placed {
    int row = 0;
    int c0 = 0; // first column
    int c1 = 0; // one past the last column
    int rowSpan = 1;
    const CellDef* def = nullptr; // null for a cell past the row's definitions
    const RowDef* rowDef = nullptr;
    QList<Paragraph>* content = nullptr;
};

// The right edges of a row's cells, each right of the one before.
int rowLeft(const RowDef& def) {
    return def.left - def.gap;
}

std::vector<int> cellEdges(const RowDef& def, qsizetype cells) {
    std::vector<int> out;
    out.reserve(size_t(cells));
    int x = rowLeft(def);
    for (qsizetype i = 0; i < cells; ++i) {
        const int right =
            i < def.cells.size() ? def.cells[i].right - def.gap : x + DefaultCellTwips;
        x = std::max(right, x + 1);
        out.push_back(x);
    }
    return out;
}

bool hasText(const QList<Paragraph>& paragraphs) {
    return std::any_of(paragraphs.begin(), paragraphs.end(),
                       [](const Paragraph& p) { return !p.runs.isEmpty(); });
}

void insertRun(QTextCursor& c, const Run& run, const QColor& autoText) {
    if (run.text.isEmpty()) {
        c.insertImage(run.format.toImageFormat());
        return;
    }
    if (autoText.isValid() && !run.format.hasProperty(QTextFormat::ForegroundBrush)) {
        QTextCharFormat f = run.format;
        f.setForeground(autoText);
        f.setProperty(format::AutoColor, true);
        c.insertText(run.text, f);
        return;
    }
    c.insertText(run.text, run.format);
}

void insertParagraphs(QTextCursor& c, const QList<Paragraph>& paragraphs,
                      const QColor& autoText = QColor()) {
    bool first = true;
    for (const Paragraph& p : paragraphs) {
        if (!first)
            c.insertBlock();
        first = false;
        c.setBlockFormat(p.format);
        for (const Run& run : p.runs)
            insertRun(c, run, autoText);
    }
}

// The cell's background: the pattern colour laid over the background colour at the shading
// percentage, as word processors mix them.
QColor shading(const CellDef* def, const Tables& tables) {
    if (!def)
        return {};
    const QColor back = tables.color(def->shading);
    if (def->shadePct <= 0)
        return back;
    const QColor base = back.isValid() ? back : QColor(Qt::white);
    const QColor ink =
        tables.color(def->pattern).isValid() ? tables.color(def->pattern) : QColor(Qt::black);
    const double t = std::min(def->shadePct, 10000) / 10000.0;
    const auto mix = [t](int a, int b) { return int(std::lround(a * (1 - t) + b * t)); };
    return QColor(mix(base.red(), ink.red()), mix(base.green(), ink.green()),
                  mix(base.blue(), ink.blue()));
}

Border edgeBorder(const Placed& p, int edge, int rows, int cols) {
    if (p.def && p.def->borders[size_t(edge)].shown())
        return p.def->borders[size_t(edge)];
    // The row's own borders: its outer edges, and between cells the inner ones.
    const auto& rb = p.rowDef->borders;
    switch (edge) {
    case format::Top:
        return p.row == 0 ? rb[format::Top] : rb[4];
    case format::Bottom:
        return p.row + p.rowSpan >= rows ? rb[format::Bottom] : rb[4];
    case format::Left:
        return p.c0 == 0 ? rb[format::Left] : rb[5];
    default:
        return p.c1 >= cols ? rb[format::Right] : rb[5];
    }
}

QTextTableCellFormat cellFormat(const Placed& p, const Tables& tables, int rows, int cols) {
    QTextTableCellFormat f;
    for (int edge = 0; edge < 4; ++edge) {
        int pad = p.def ? p.def->padding[size_t(edge)] : -1;
        if (pad < 0)
            pad = p.rowDef->padding[size_t(edge)];
        if (pad < 0)
            pad = edge == format::Left || edge == format::Right ? p.rowDef->gap : 0;
        const qreal padPx = format::pixels(std::clamp(pad, 0, 1440));
        const Border b = edgeBorder(p, edge, rows, cols);
        const qreal width = borderPixels(b);
        const auto style = QTextFrameFormat::BorderStyle(b.shown() ? b.style : 0);
        QColor color = tables.color(b.color);
        if (!color.isValid())
            color = Qt::black;
        switch (edge) {
        case format::Top:
            f.setTopPadding(padPx);
            f.setTopBorder(width);
            f.setTopBorderStyle(style);
            f.setTopBorderBrush(color);
            break;
        case format::Left:
            f.setLeftPadding(padPx);
            f.setLeftBorder(width);
            f.setLeftBorderStyle(style);
            f.setLeftBorderBrush(color);
            break;
        case format::Bottom:
            f.setBottomPadding(padPx);
            f.setBottomBorder(width);
            f.setBottomBorderStyle(style);
            f.setBottomBorderBrush(color);
            break;
        default:
            f.setRightPadding(padPx);
            f.setRightBorder(width);
            f.setRightBorderStyle(style);
            f.setRightBorderBrush(color);
        }
    }
    if (const QColor back = shading(p.def, tables); back.isValid())
        f.setBackground(back);
    if (p.rowSpan == 1 && p.rowDef->height != 0)
        f.setProperty(format::RowHeight, p.rowDef->height);
    if (p.def && p.def->valign == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    else if (p.def && p.def->valign == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignBottom);
    return f;
}

// Rows and cells laid on a grid whose columns lie between every distinct cell edge.
class Grid {
public:
    Grid(QList<QList<Paragraph>*>& spill, int rows, const std::vector<int>& edges)
        : edges_(edges), cols_(int(edges.size()) - 1), rows_(rows),
          owner_(size_t(rows) * size_t(cols_), -1), open_(size_t(cols_), -1), spill_(spill) {}

    int columns() const { return cols_; }
    const std::vector<Placed>& placed() const { return placed_; }

    void place(int r, const RowDef& def, QList<QList<Paragraph>>& cells) {
        const std::vector<int> rights = cellEdges(def, cells.size());
        int left = rowLeft(def);
        int last = -1; // the cell placed last in this row
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const CellDef* cd = i < def.cells.size() ? &def.cells[i] : nullptr;
            const int c0 = column(left);
            const int c1 = column(rights[size_t(i)]);
            left = rights[size_t(i)];
            QList<Paragraph>& content = cells[i];
            if (cd && cd->hmerge == 2 && last >= 0 && placed_[size_t(last)].row == r) {
                Placed& p = placed_[size_t(last)];
                if (p.rowSpan == 1 && p.c1 == c0 && isFree(r, c0, c1)) {
                    occupy(r, c0, c1, last);
                    p.c1 = c1;
                }
                join(p, content);
                continue;
            }
            if (cd && cd->vmerge == 2 && c0 < cols_ && open_[size_t(c0)] >= 0) {
                const int o = open_[size_t(c0)];
                Placed& p = placed_[size_t(o)];
                if (p.row + p.rowSpan == r && isFree(r, p.c0, p.c1)) {
                    occupy(r, p.c0, p.c1, o);
                    ++p.rowSpan;
                    join(p, content);
                    last = o;
                    continue;
                }
            }
            if (c0 >= c1 || !isFree(r, c0, c0 + 1)) {
                // No room (edges out of order, or under a merge from above): the text joins
                // the cell before it rather than being lost.
                if (last >= 0)
                    join(placed_[size_t(last)], content);
                else if (!placed_.empty())
                    join(placed_.back(), content);
                else if (hasText(content))
                    spill_.append(&content);
                continue;
            }
            int end = c0 + 1;
            while (end < c1 && isFree(r, end, end + 1))
                ++end;
            last = int(placed_.size());
            placed_.push_back(Placed{r, c0, end, 1, cd, &def, &content});
            occupy(r, c0, end, last);
            for (int c = c0; c < end; ++c)
                open_[size_t(c)] = -1;
            if (cd && cd->vmerge == 1)
                open_[size_t(c0)] = last;
        }
    }

private:
    int column(int x) const {
        return int(std::lower_bound(edges_.begin(), edges_.end(), x) - edges_.begin());
    }
    bool isFree(int r, int c0, int c1) const {
        if (c0 < 0 || c1 > cols_ || r >= rows_)
            return false;
        for (int c = c0; c < c1; ++c)
            if (owner_[size_t(r) * size_t(cols_) + size_t(c)] >= 0)
                return false;
        return true;
    }
    void occupy(int r, int c0, int c1, int who) {
        for (int c = c0; c < c1; ++c)
            owner_[size_t(r) * size_t(cols_) + size_t(c)] = who;
    }
    void join(Placed& p, QList<Paragraph>& content) {
        if (hasText(content))
            p.content->append(content);
    }

    const std::vector<int>& edges_;
    int cols_;
    int rows_;
    std::vector<int> owner_;
    std::vector<int> open_; // per column, the cell a vertical merge there started from
    std::vector<Placed> placed_;
    QList<QList<Paragraph>*>& spill_;
};

} // namespace

void TableBuilder::addRun(const QString& text, const QTextCharFormat& f) {
    paragraph_.runs.append(Run{text, f});
    hasParagraph_ = true;
}

void TableBuilder::endParagraph(const QTextBlockFormat& f) {
    paragraph_.format = f;
    current_.append(std::move(paragraph_));
    paragraph_ = Paragraph();
    hasParagraph_ = false;
}

void TableBuilder::endCell(const QTextBlockFormat& f) {
    if (cells_.size() >= MaxColumns - 1) {
        // Past the last column the cells' text joins the last cell.
        const QTextCharFormat last =
            paragraph_.runs.isEmpty() ? QTextCharFormat() : paragraph_.runs.last().format;
        addRun(QStringLiteral("\t"), last.isImageFormat() ? QTextCharFormat() : last);
        return;
    }
    endParagraph(f);
    cells_.append(std::move(current_));
    current_.clear();
}

void TableBuilder::endRow(const RowDef& def) {
    if (hasParagraph_ || !current_.isEmpty())
        endCell(QTextBlockFormat());
    if (cells_.isEmpty())
        return;
    rows_.append(Row{def, std::move(cells_)});
    cells_.clear();
}

void TableBuilder::build(QTextCursor& cursor, const Tables& tables, qsizetype& cellBudget,
                         qsizetype& mergeBudget, const RowDef& openRow) {
    endRow(openRow); // a table the file ends in without its last \row
    QList<Row> rows = std::move(rows_);
    rows_.clear();
    if (rows.isEmpty())
        return;

    // Every cell edge of every row is a column edge.
    std::vector<int> edges;
    for (const Row& row : rows) {
        edges.push_back(rowLeft(row.def));
        const std::vector<int> rights = cellEdges(row.def, row.cells.size());
        edges.insert(edges.end(), rights.begin(), rights.end());
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    const int columns = int(edges.size()) - 1;
    const qsizetype cells = qsizetype(rows.size()) * columns;
    if (columns < 1 || columns > MaxColumns || cells > cellBudget) {
        // Too big to be a table: its cells as tab-separated paragraphs.
        cellBudget = std::max<qsizetype>(0, cellBudget - rows.size());
        for (const Row& row : rows) {
            for (qsizetype i = 0; i < row.cells.size(); ++i) {
                if (i > 0)
                    cursor.insertText(QStringLiteral("\t"));
                for (const Paragraph& p : row.cells[i])
                    for (const Run& run : p.runs)
                        insertRun(cursor, run, QColor());
            }
            cursor.insertBlock();
        }
        return;
    }
    cellBudget -= cells;

    QList<QList<Paragraph>*> spill;
    Grid grid(spill, int(rows.size()), edges);
    for (int r = 0; r < rows.size(); ++r)
        grid.place(r, rows[r].def, rows[r].cells);

    QTextTableFormat tf;
    QList<QTextLength> widths;
    for (int c = 0; c < columns; ++c)
        widths.append(QTextLength(QTextLength::FixedLength,
                                  format::pixels(edges[size_t(c) + 1] - edges[size_t(c)])));
    tf.setColumnWidthConstraints(widths);
    tf.setBorder(0);
    tf.setCellSpacing(0);
    tf.setCellPadding(0);
    tf.setBorderCollapse(true);
    if (edges.front() != 0)
        tf.setLeftMargin(format::pixels(edges.front()));
    const RowDef& first = rows.first().def;
    if (first.align == 1)
        tf.setAlignment(Qt::AlignHCenter);
    else if (first.align == 2)
        tf.setAlignment(Qt::AlignRight);
    int headers = 0;
    while (headers < rows.size() && rows[headers].def.header)
        ++headers;
    if (headers > 0 && headers < rows.size())
        tf.setHeaderRowCount(headers);

    // A table always follows a block of its own frame; reuse the paragraph before the table
    // rather than leave the empty one its \par opened.
    const QTextBlock block = cursor.block();
    if (block.length() == 1 && block.previous().isValid()) {
        QTextCursor previous(block.previous());
        if (!previous.currentTable() && previous.currentFrame() == cursor.currentFrame())
            cursor.deletePreviousChar();
    }
    QTextTable* table = cursor.insertTable(int(rows.size()), columns, tf);

    // Each merge makes Qt move every later cell of the table: a file that asks for many in a
    // large table gets the rest as single cells.
    for (const Placed& p : grid.placed()) {
        if (p.rowSpan == 1 && p.c1 - p.c0 == 1)
            continue;
        if (mergeBudget < cells)
            break;
        mergeBudget -= cells;
        table->mergeCells(p.row, p.c0, p.rowSpan, p.c1 - p.c0);
    }
    const int rowCount = int(rows.size());
    for (const Placed& p : grid.placed()) {
        QTextTableCell cell = table->cellAt(p.row, p.c0);
        const QTextTableCellFormat f = cellFormat(p, tables, rowCount, columns);
        cell.setFormat(f);
        const QColor back =
            f.background().style() != Qt::NoBrush ? f.background().color() : QColor();
        // Text in the automatic colour turns white on a dark shading, as word processors show it.
        const QColor autoText =
            back.isValid() && qGray(back.rgb()) < 96 ? QColor(Qt::white) : QColor();
        QTextCursor c = cell.firstCursorPosition();
        insertParagraphs(c, *p.content, autoText);
    }
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    for (QList<Paragraph>* lost : spill) {
        insertParagraphs(cursor, *lost);
        cursor.insertBlock();
    }
}

} // namespace Rtf::detail
