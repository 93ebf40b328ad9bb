#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct AppContext;

// Writing the working copy of the estimate in work back into its own database.
namespace modSaveEst {

struct SaveInput {
    QStringList admin; // overhead, profit, contingency, management in their stored form
    QString summary;
    QString terms;
    // Whether the estimate was declared complete: master then says "Pending", dated today.
    bool complete = false;
    // Called before each statement written to the estimate database (a test seam for failures
    // midway; it may throw).
    std::function<void(int statement)> beforeStatement;
};

// Removes the stored rows the user deleted (PendingDeletes) and stores areas, lineal items, line
// items and the Main totals, all in one transaction, so a failure at any statement leaves the
// estimate as it was last saved (the error is thrown as modData::SqlError). Afterwards the working
// rows carry the ids of their stored rows, so a later save updates them instead of storing them
// again. Then marks a complete estimate "Pending" in master.
void saveEstimate(AppContext& ctx, const SaveInput& in);

// The stored summary and terms: empty text is stored as "No summary" / "No terms".
QString storedSummary(const QString& text);
QString storedTerms(const QString& text);

} // namespace modSaveEst
