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

// One roof plane as the area dialog measures it: measurements in ten-thousandths of a foot,
// its pitch (n in 12, 0 for none), whether it was measured on the slope, and its roof surface
// in whole square feet (the plan area times the pitch factor unless measured on the slope).
struct Area {
    std::int32_t shape = 0;
    std::int64_t width1 = 0, width2 = 0, height = 0;
    std::int32_t total = 0;
    std::int32_t pitch = 0;
    bool onSlope = false;
    bool operator==(const Area&) const = default;
};

// One lineal item: its type code, name, length (ten-thousandths of a foot; of a percent for
// "%") and total.
struct Lineal {
    std::int32_t type = 0;
    QString name;
    std::int64_t length = 0;
    std::int32_t total = 0;
};

// The whole roof from one width, height (ten-thousandths of a foot) and pitch.
struct QuickFigure {
    std::int32_t pitch = 0;
    std::int64_t width1 = 0, height = 0;
    std::int32_t total = 0;
};

// Roof Area (the areas), Roof Other (the lineal items) and Roof Total (their sum), with the
// waste percentage (ten-thousandths of a percent) that turns Roof Area into squares to order.
struct RoofTotals {
    qint64 area = 0;
    qint64 other = 0;
    qint64 total = 0;
    qint64 waste = 0;
    bool operator==(const RoofTotals&) const = default;
    // Squares of Roof Area ("10.82") and squares to order with the waste, rounded up to a
    // bundle (a third of a square): in thirds, and as text ("12", "11.33").
    QString squares() const;
    std::int64_t orderThirds() const;
    QString squaresToOrder() const;
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
// The quick figure of a roof measured as one total area: its only area when that is marked as
// the quick figure. Throws modData::SqlError.
std::optional<QuickFigure> singleTotalArea(AppContext& ctx);

// The largest waste percentage accepted: 100 %, in ten-thousandths of a percent.
constexpr std::int64_t MaxWaste = 100 * 10000;

// The waste percentage of the estimate in work in ten-thousandths of a percent: what was set for
// it, or the Setup default (Op/Waste, 10 % when unset or unreadable).
std::int64_t waste(AppContext& ctx);
// The Setup default waste percentage, in ten-thousandths of a percent.
std::int64_t defaultWaste(AppContext& ctx);
// Sets the waste percentage of the estimate in work. Throws modData::SqlError.
void setWaste(AppContext& ctx, std::int64_t waste);

// Roof Area and Roof Other are the sums of the working totals (0 with none), Roof Total their
// sum. Throws modData::SqlError.
RoofTotals totals(AppContext& ctx);
// Roof Total from Roof Area and Roof Other alone (and the waste given).
RoofTotals withTotal(qint64 area, qint64 other, qint64 waste = 0);

// Words for an area, as the grid and the Roof Details document show it: the shape's name
// ("Whole roof" for the quick figure), the measurements with units ("30 ft × 20 ft"), the plan
// area in whole square feet, and the whole line: "Rectangle 30 ft × 20 ft, 8/12, 721 sq ft".
QString shapeWords(const Area& a, bool quick);
QString measureWords(const Area& a, bool quick);
std::int32_t planTotal(const Area& a, bool quick);
QString describeArea(const Area& a, bool quick);
// Every working area in order, with whether it is the quick figure; every lineal item.
// Throw modData::SqlError.
struct AreaRow {
    Area area;
    bool quick = false;
};
QList<AreaRow> areaRows(AppContext& ctx);
QList<Lineal> linealRows(AppContext& ctx);

// A lineal item's length with its unit: "40 lf", or "10 %" for a percentage of the roof.
QString linealLength(std::int32_t type, std::int64_t length);

// The working areas and lineal items for their grids (the first two columns are the working and
// the stored id; the last columns of the areas, Width2 and Quick, are for the code only). Throw
// modData::SqlError.
void showAreas(AppContext& ctx, QueryModel& model);
void showLineals(AppContext& ctx, QueryModel& model);

// Everything the take-off in work holds: the working areas and lineal items with their ids,
// and the deletions of their stored rows that wait for the save.
struct Snapshot {
    QList<QVariantList> areas;
    QList<QVariantList> lineals;
    QList<QVariantList> roof;
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
