#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>

struct AppContext;

// The sections of the estimate in work (TempSect) and the shared list of section names.
namespace Sections {

struct Section {
    QString name;
    std::int32_t secOrder = 0;
};
// The working sections in stored order.
QList<Section> List(AppContext& ctx);
// The shared section names (distinct).
QStringList SharedNames(AppContext& ctx);
// Adds a name to the shared list.
void AddSharedName(AppContext& ctx, const QString& name);
// Creates a working section at the next position (the number of sections before it) and
// returns that position. Throws modData::SqlError.
std::int32_t Add(AppContext& ctx, const QString& name);

} // namespace Sections

// Moving sections to other positions on a scratch copy (SectSort) until committed.
namespace SectionOrder {

struct Entry {
    std::int32_t autoID = 0;
    QString name;
};
// Creates SectSort with one row per section that has lines, numbered 0 to n-1 in their
// current order, so every offered position belongs to a section.
void Begin(AppContext& ctx);
// The scratch sections in their current order.
QList<Entry> List(AppContext& ctx);
// Swaps the section `autoID` (now at `fromPos`) with the one at position `toPos`.
void Move(AppContext& ctx, std::int32_t autoID, int fromPos, int toPos);
// Writes the new positions into tpLineItems and TempSect and drops SectSort.
void Commit(AppContext& ctx);
// Drops SectSort; nothing else changes.
void Cancel(AppContext& ctx);

} // namespace SectionOrder
