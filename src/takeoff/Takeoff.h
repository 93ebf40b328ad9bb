#pragma once

#include "common/WorkCommand.h"
#include "storage/PendingDeletes.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <optional>

struct AppContext;
class QueryModel;

// The take-off of the roof in work: the working areas (TempAreas) and lineal items
// (TempLineal), the quick figure, and the roof totals made from them. Every function throws
// modData::SqlError on failure. Nothing touches the estimate's own database: a stored area or
// lineal item that is deleted is only marked (PendingDeletes) and goes when the estimate is
// saved.
namespace Takeoff {

// One roof plane as the area dialog measures it (no pitch factor).
struct Area {
    std::int32_t shape = 0, width1 = 0, width2 = 0, height = 0, total = 0;
};

// One lineal item: its type code, name, length and total.
struct Lineal {
    std::int32_t type = 0;
    QString name;
    std::int32_t length = 0;
    std::int32_t total = 0;
};

// The whole roof from one width, height and pitch.
struct QuickFigure {
    std::int32_t pitch = 0, width1 = 0, height = 0, total = 0;
};

// Roof Area (the areas), Roof Other (the lineal items) and Roof Total (their sum).
struct RoofTotals {
    qint64 area = 0;
    qint64 other = 0;
    qint64 total = 0;
    bool operator==(const RoofTotals&) const = default;
};

// A working row: its own id and the id of its stored copy (0 when never saved).
struct RowIds {
    qint64 id = 0;
    qint64 stored = 0;
};

void addArea(AppContext& ctx, const Area& a);
void updateArea(AppContext& ctx, qint64 id, const Area& a);
// Removes a working area; its stored copy is marked to go with the next save.
void deleteArea(AppContext& ctx, const RowIds& row);
// The working area `id`; nothing when there is no such row. Throws modData::SqlError.
std::optional<Area> area(AppContext& ctx, qint64 id);

void addLineal(AppContext& ctx, const Lineal& l);
void updateLineal(AppContext& ctx, qint64 id, const Lineal& l);
void deleteLineal(AppContext& ctx, const RowIds& row);
std::optional<Lineal> lineal(AppContext& ctx, qint64 id);

// Keeps the quick figure as the only working area: the first figure adds the row, later ones
// change the last row. Throws modData::SqlError.
void setQuickFigure(AppContext& ctx, const QuickFigure& f);
// Switching between the two ways of measuring: every working area goes, and the stored ones
// are marked to go with the next save.
void clearAreas(AppContext& ctx);
// The quick figure of a roof measured as one total area: its only area when that has a pitch
// other than 0. Throws modData::SqlError.
std::optional<QuickFigure> singleTotalArea(AppContext& ctx);

// Roof Area and Roof Other are the sums of the working totals (0 with none), Roof Total their
// sum. Throws modData::SqlError.
RoofTotals totals(AppContext& ctx);
// Roof Total from Roof Area and Roof Other alone.
RoofTotals withTotal(qint64 area, qint64 other);

// The working areas and lineal items for their grids (the first two columns are the working and
// the stored id). Throw modData::SqlError.
void showAreas(AppContext& ctx, QueryModel& model);
void showLineals(AppContext& ctx, QueryModel& model);

// Everything the take-off in work holds: the working areas and lineal items with their ids,
// and the deletions of their stored rows that wait for the save.
struct Snapshot {
    QList<QVariantList> areas;
    QList<QVariantList> lineals;
    QList<PendingDeletes::Entry> pending;
    bool operator==(const Snapshot&) const = default;
};
Snapshot snapshot(AppContext& ctx);
// Puts the take-off back as `s` holds it, in one transaction.
void restore(AppContext& ctx, const Snapshot& s);

// One change of the take-off for the undo stack: `change` makes it (in one transaction with
// nothing else); undo puts the take-off back as it was before, redo as it was after.
class Change : public WorkCommand {
public:
    Change(AppContext& ctx, const QString& text, const QString& procedure,
           std::function<void()> change, Refresh refresh);
    bool changedAnything() const override { return !(before_ == after_); }

protected:
    void apply() override;
    void revert() override;

private:
    AppContext& ctx_;
    std::function<void()> change_;
    bool made_ = false;
    Snapshot before_;
    Snapshot after_;
};

} // namespace Takeoff
