#pragma once

#include "common/Quantity.h"
#include "common/WorkCommand.h"

#include <QList>
#include <QString>

struct AppContext;

// "Refresh quantities from roof": the working lines whose quantity still follows their item's
// take-off rule get the quantity the roof in work asks for now.
namespace RuleQuantities {

// One line whose quantity changes, and why.
struct Change {
    qint64 lineId = 0;
    QString name;
    Quantity before;
    Quantity after;
    QString from;
};

// The lines that follow their rule and would change; a line whose new total could not be
// figured is left out. Throws modData::SqlError.
QList<Change> plan(AppContext& ctx);

// The changes as one undo step ("Refresh Quantities"): each line gets its new quantity and
// line total; undo gives every line back what it had.
WorkCommand* apply(AppContext& ctx, const QList<Change>& changes, WorkCommand::Refresh refresh);

// The list of changes for the user: "Hip and ridge cap shingles: 3 → 4 (from …)".
QString describe(const QList<Change>& changes);

} // namespace RuleQuantities
