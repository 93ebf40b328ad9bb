#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

struct AppContext;

// Starting a new estimate: its reserved master row, its name, and its own folder and database.
namespace modEst {

// True for the letters A to Z, a to z and the blank; false for everything else (digits,
// apostrophes, hyphens, accented letters).
bool IsAlpha(QChar ch);
// The position of the first character that IsAlpha refuses, or -1 when all pass.
int firstNonAlpha(const QString& text);

// The folder and file name of an estimate: the typed name without blanks.
QString estNameFromTyped(const QString& typed);
// The same for a name the program built itself (last name + " " + type): only what IsAlpha
// accepts is kept, blanks are removed, and the result is cut to the name's maximum length. An
// empty result becomes "Estimate" + id.
QString estNameFromBuilt(const QString& built, std::int32_t estID);
// estpath of an estimate named `name`, relative to the estimates folder.
QString estPath(const QString& name);

// Reserves a master row (status "Working", valid 30 days, dated today) and returns its id.
// Throws modData::SqlError.
std::int32_t CreateEstID(AppContext& ctx);
// The distinct estimate types already used, in ascending order (empty types left out).
QStringList estimateTypes(AppContext& ctx);
// True when another estimate (a master row other than `exceptID`, or a folder below the
// estimates folder) already uses `name`, whatever its case.
bool nameInUse(AppContext& ctx, const QString& name, std::int32_t exceptID);

struct OwnerFields {
    std::array<QString, 7> name; // first, last, address, city/st/zip, home, work phone, ext
    QString estType;
};

// Gives back the master row reserved for a new estimate that is thrown away. Reports a failure
// itself (the ActionQuery message) and returns whether the row went.
bool releaseEstID(AppContext& ctx, std::int32_t estID);

// Creates the estimate's folder and database, writes its Main row and completes its master row;
// sets ctx.EstName, EstPath and EstConn. On any failure everything made here is removed again,
// ctx is left as it was, and the error is thrown (modData::SqlError).
void startEstimate(AppContext& ctx, const QString& name, const OwnerFields& owner);

// Removes the folder of a discarded estimate (never the estimates folder itself). Returns false
// when the folder exists and could not be removed completely.
bool removeEstimateFolder(AppContext& ctx, const QString& name);

} // namespace modEst
