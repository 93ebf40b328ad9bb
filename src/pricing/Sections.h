#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <cstdint>

struct AppContext;

// The sections of the estimate in work (TempSect) and the shared list of section names. A
// section is told apart from the others by its identity (TempSect.autoID, carried by its lines
// as tpLineItems.SectID), never by its position, which reorders and deletions can make two
// sections share for a moment.
namespace Sections {

struct Section {
    QString name;
    std::int32_t secOrder = 0;
    qint64 id = 0;
    bool operator==(const Section&) const = default;
};
// The working sections in stored order.
QList<Section> List(AppContext& ctx);
// The shared section names (distinct).
QStringList SharedNames(AppContext& ctx);
// Adds a name to the shared list.
void AddSharedName(AppContext& ctx, const QString& name);
// Creates a working section after every other one and returns its position. Throws
// modData::SqlError.
std::int32_t Add(AppContext& ctx, const QString& name);

// The sections that have lines, in their order (the sections of the grid and the documents).
QList<Section> withLines(QSqlDatabase working);
// Gives every working line whose section is not known by its identity the section of its name
// (and position, where two share the name), making the section when there is none, so that no
// line is ever left out of the grid. Throws modData::SqlError.
void adoptLines(QSqlDatabase working);

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
// Writes the new positions into tpLineItems and TempSect and drops SectSort: the sections with
// lines take, in their new order, the positions they hold between them; a section without lines
// keeps its own. Every section keeps a position of its own.
void Commit(AppContext& ctx);
// Drops SectSort; nothing else changes.
void Cancel(AppContext& ctx);

// Every working section's identity and position, for taking an order back.
using Positions = QList<QPair<qint64, std::int32_t>>;
Positions positions(AppContext& ctx);
// Gives every section of `p` its position again, in TempSect and in its lines, inside the
// caller's transaction on the working database. Throws modData::SqlError.
void restore(QSqlDatabase working, const Positions& p);

} // namespace SectionOrder
