#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A currency amount held exactly as a count of ten-thousandths (four decimals).
// Stored in the databases as INTEGER ten-thousandths so that SQL sums stay exact.
class Money {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromRaw(std::int64_t tenThousandths) {
        Money m;
        m.raw_ = tenThousandths;
        return m;
    }
    static Money fromCents(std::int64_t cents) { return fromRaw(cents * 100); }
    // Converts a double, rounding to four decimals with halves to even.
    static Money fromDouble(double value);
    // Reads plain numbers ("12.5", "-3", "1,234.50") and currency text in the user's format or
    // en_US ("$1,234.50", "($5.00)", "-$5.00"). Empty or unreadable text gives nothing.
    static std::optional<Money> parse(const QString& text);
    // Like parse, but unreadable text reads as zero.
    static Money fromText(const QString& text) { return parse(text).value_or(Money()); }

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return double(raw_) / double(Scale); }

    // Shortest decimal form with a period, no grouping: 12.5, 100, -0.25.
    QString toSql() const;
    // The user's currency format with two decimals, halves rounded away from zero.
    QString toCurrency() const;
    // Two decimals, grouped thousands, no currency symbol: 1,234.50 (the "##,##0.00" pattern).
    QString toGrouped() const;
    // Rounded to whole cents, halves away from zero (what a two-decimal display shows).
    Money roundedToCents() const;

    constexpr Money operator+(Money o) const { return fromRaw(raw_ + o.raw_); }
    constexpr Money operator-(Money o) const { return fromRaw(raw_ - o.raw_); }
    constexpr Money operator-() const { return fromRaw(-raw_); }
    Money& operator+=(Money o) {
        raw_ += o.raw_;
        return *this;
    }
    constexpr bool operator==(const Money&) const = default;
    constexpr auto operator<=>(const Money&) const = default;

private:
    std::int64_t raw_ = 0;
};
