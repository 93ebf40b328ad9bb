#pragma once

#include "common/WorkMode.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct AppContext;

// What the working database belongs to: the estimate in work, its mode, whether it holds
// changes not saved, and the totals tab's texts (which are stored nowhere else until the save).
// The working database is on disk all along, so after a crash this is what can be recovered.
namespace WorkState {

struct State {
    std::int32_t estId = 0;
    Mode mode = Mode::Idle; // New (started) or Open
    bool changed = false;
    QStringList admin; // overhead, profit, contingency, management in their stored form
    QString summary;
    QString terms;
};

// Records the state of the estimate in work (replacing what was recorded). Throws
// modData::SqlError.
void record(AppContext& ctx, const State& state);

// Work left behind by a program that ended without closing it: the recorded state when it has
// unsaved changes and its estimate is still in the master list with its database. The working
// database is opened only when it exists (never created); anything unreadable counts as nothing
// to recover.
struct Unsaved {
    State state;
    QString estName;
};
std::optional<Unsaved> unsaved(AppContext& ctx);

} // namespace WorkState
