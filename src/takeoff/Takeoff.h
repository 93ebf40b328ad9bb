#pragma once

#include <QString>
#include <cstdint>
#include <optional>

struct AppContext;
class QueryModel;

// The take-off of the roof in work: the working areas (TempAreas) and lineal items
// (TempLineal), the quick figure, and the roof totals made from them. Statements that stand in
// for a single edit report their own failure the way every edit does (the ActionQuery message)
// and return whether they ran; the others throw modData::SqlError to the calling handler.
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

bool addArea(AppContext& ctx, const Area& a);
bool updateArea(AppContext& ctx, qint64 id, const Area& a);
// Removes a working area; its stored copy goes too when there is one.
bool deleteArea(AppContext& ctx, const RowIds& row);
// The working area `id`; nothing when there is no such row. Throws modData::SqlError.
std::optional<Area> area(AppContext& ctx, qint64 id);

bool addLineal(AppContext& ctx, const Lineal& l);
bool updateLineal(AppContext& ctx, qint64 id, const Lineal& l);
bool deleteLineal(AppContext& ctx, const RowIds& row);
std::optional<Lineal> lineal(AppContext& ctx, qint64 id);

// Keeps the quick figure as the only working area: the first figure adds the row, later ones
// change the last row. Throws modData::SqlError.
void setQuickFigure(AppContext& ctx, const QuickFigure& f);
// Switching between the two ways of measuring: every working area goes, and with an estimate
// already stored its stored areas too. Throws modData::SqlError.
void clearAreas(AppContext& ctx, bool estimateStored);
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

} // namespace Takeoff
