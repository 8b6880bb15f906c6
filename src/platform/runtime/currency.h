// Currency: fixed point in ten-thousandths, as the store's Currency/money columns hold it.
#pragma once

#include <QString>
#include <cstdint>

namespace rt {

class Currency {
public:
    constexpr Currency() = default;
    static constexpr Currency fromUnits(int64_t tenThousandths) {
        Currency c;
        c.units_ = tenThousandths;
        return c;
    }
    static Currency fromDouble(double value); // rounds to four places; throws on overflow
    static Currency fromInt(int64_t value);
    // Parses a plain decimal text ("12", "-3.5", " 7.25 "); throws RunError when it is not one.
    static Currency parse(const QString& text);

    int64_t units() const { return units_; }
    double toDouble() const { return double(units_) / 10000.0; }
    // Statement text: decimal, "." only when there is a fraction, never a thousands separator.
    QString toText() const;

    friend constexpr bool operator==(Currency a, Currency b) { return a.units_ == b.units_; }
    friend constexpr auto operator<=>(Currency a, Currency b) { return a.units_ <=> b.units_; }

private:
    int64_t units_ = 0;
};

} // namespace rt
