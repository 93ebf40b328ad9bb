#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A quantity of a line item (8.5 squares, 2.5 hours) held exactly as a count of
// ten-thousandths, as money is. Stored in the databases as INTEGER ten-thousandths, so what is
// stored, shown and priced is one and the same number.
class Quantity {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Quantity() = default;
    static constexpr Quantity fromRaw(std::int64_t tenThousandths) {
        Quantity q;
        q.raw_ = tenThousandths;
        return q;
    }
    static constexpr Quantity whole(std::int64_t n) { return fromRaw(n * Scale); }
    // Reads a quantity the user typed, as every number box reads (Numbers::plainText). More than
    // four decimals are rounded halves to even. Nothing for text that is not a number or does
    // not fit.
    static std::optional<Quantity> parse(const QString& text);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return double(raw_) / double(Scale); }
    constexpr bool isWhole() const { return raw_ % Scale == 0; }

    // Shortest decimal form with a period and no grouping: 8, 8.5, 8.36, -0.25.
    QString toPlain() const;
    // The same with the user's decimal point (8,5 under German): how grids, documents and
    // number boxes show it.
    QString toText() const;

    constexpr bool operator==(const Quantity&) const = default;
    constexpr auto operator<=>(const Quantity&) const = default;

private:
    std::int64_t raw_ = 0;
};
