#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class Quantity;

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
    // Converts a double, rounding to four decimals with halves to even; a value that does not
    // fit (or is not finite) gives 0.
    static Money fromDouble(double value);
    // The same, but nothing for a value that does not fit.
    static std::optional<Money> tryFromDouble(double value);
    // Reads an amount the user typed as every number box reads (Numbers::plainText: the user's
    // locale or a plain period decimal), also with the currency symbol of the user's locale or
    // "$", in parentheses or with a trailing minus ("$1,234.50", "($5.00)", "-$5.00"). More than
    // four decimals are rounded halves to even. Empty, unreadable or too large text gives
    // nothing.
    static std::optional<Money> parse(const QString& text);
    // Like parse, but unreadable text reads as zero.
    static Money fromText(const QString& text) { return parse(text).value_or(Money()); }
    // Reads an amount the program stored: the plain decimal it writes today ("1234.5"), or the
    // currency text that earlier versions stored, in the user's format or in US English
    // ("$1,234.50"). Nothing when it is neither.
    static std::optional<Money> parseStored(const QString& text);

    // The largest and smallest amounts the type holds.
    static constexpr Money max() { return fromRaw(INT64_MAX); }
    static constexpr Money min() { return fromRaw(-INT64_MAX); }
    // a + b, or nothing when the sum does not fit.
    static std::optional<Money> sum(Money a, Money b);
    // The price of `qty` units at this unit price, rounded to whole cents with halves away from
    // zero; nothing when it does not fit.
    std::optional<Money> times(Quantity qty) const;

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return double(raw_) / double(Scale); }

    // Shortest decimal form with a period, no grouping: 12.5, 100, -0.25.
    QString toSql() const;
    // The same with the user's decimal point, as a number box offers it for editing: 12,5 under
    // German.
    QString toInput() const;
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
