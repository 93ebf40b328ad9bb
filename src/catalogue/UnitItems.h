#pragma once

#include "common/Money.h"

#include <QString>
#include <QStringList>
#include <cstdint>

struct AppContext;
class QueryModel;

// The working components of the unit item being edited (table tempunit of the scratch
// database) and how they reach the catalogue (costunit, unititems).
namespace UnitItems {

// A quantity as it is stored and figured: the float's shortest decimal form.
double StoredQty(float qty);
// A component's line total: cost times quantity, to four decimals, halves to even.
Money LineTotal(Money cost, float qty);

// Recreates the scratch database with an empty tempunit.
void Begin(AppContext& ctx);
// Replaces the working components with the stored components of unit item `unitID`.
void PopTempTable(AppContext& ctx, std::int32_t unitID);
// Adds a component chosen from the catalogue (not stored until Save).
void AddComponent(AppContext& ctx, std::int32_t unitID, std::int32_t itemID, float qty,
                  const QString& unit, const QString& name, Money cost);
// Changes a working component's quantity. A stored component is changed in the catalogue at
// once; one chosen since the form opened only in the working list, so nothing is lost.
void SetQty(AppContext& ctx, std::int32_t tempID, float qty);
// Removes a working component; a stored one is removed from the catalogue at once.
void DeleteComponent(AppContext& ctx, std::int32_t tempID);
// Shows the working components in a grid's model. Throws modData::SqlError.
void ShowComponents(AppContext& ctx, QueryModel& model);
// The price: the sum of the working line totals (0 without components).
Money Total(AppContext& ctx);

// The distinct non-empty units of the stored unit items in ascending order, offered when a unit
// item's unit is chosen.
QStringList DistinctUnits(AppContext& ctx);

struct Header {
    QString name, cat, unit, desc;
};
// Writes the unit item (a new one when unitID is 0) and every working component; returns the
// unit item's ID. Throws modData::SqlError (nothing is written then). The working components
// then carry their stored ids, so a second Save stores none of them twice.
std::int32_t Save(AppContext& ctx, std::int32_t unitID, const Header& h);

} // namespace UnitItems
