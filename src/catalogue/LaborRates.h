#pragma once

#include "common/Money.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

struct AppContext;

// Hourly labor: a base rate plus four burdens per hour, whose sum is the labor item's price.
namespace LaborRates {

// Default percentages of the base rate, in the order fringe, workers' comp, employer taxes,
// other costs (settings "Op": Fringe, WorkComp, EmpTaxes, OtherCosts). A missing or
// non-numeric setting counts as 0.
std::array<float, 4> DefaultPercents(AppContext& ctx);
// A burden from a percentage: base × (percent × 0.01).
double Burden(double base, double percent);
// A burden as it is kept: rounded to three decimals, halves to even.
double RoundBurden(double v);

struct Rates {
    Money base, fringe, workcomp, taxes, other;
    Money total() const { return base + fringe + workcomp + taxes + other; }
};
std::optional<Rates> Load(AppContext& ctx, std::int32_t costID);
// What the rate builder shows of a labor item besides its rates: the job title (the item's
// name) and the notes (its description; nothing when none is stored).
struct JobTitle {
    QString title;
    std::optional<QString> notes;
};
// Nothing when there is no such item.
std::optional<JobTitle> LoadJobTitle(AppContext& ctx, std::int32_t costID);
// A new hourly labor item with an empty laborcost row; returns its ID or 0.
std::int32_t CreateJobTitle(AppContext& ctx, const QString& title);
// Stores the rates and notes and, as the item's amount, the total as it is shown (to the
// cent), in one transaction.
void Save(AppContext& ctx, std::int32_t costID, const Rates& r, const QString& notes);

} // namespace LaborRates
