// A value that may be Null, an integer, a floating-point number, a currency amount or a text:
// what a field of a recordset holds and what the helpers take where a variant is allowed.
#pragma once

#include "currency.h"

#include <QString>
#include <cstdint>
#include <variant>

namespace rt {

struct Null {
    friend bool operator==(Null, Null) { return true; }
};

class Value {
public:
    Value() = default; // Null
    Value(Null) { }
    Value(int v)
        : v_(int64_t(v)) { }
    Value(int64_t v)
        : v_(v) { }
    Value(double v)
        : v_(v) { }
    Value(Currency v)
        : v_(v) { }
    Value(const QString& v)
        : v_(v) { }
    Value(const char* v)
        : v_(QString::fromUtf8(v)) { }

    bool isNull() const { return std::holds_alternative<Null>(v_); }
    bool isText() const { return std::holds_alternative<QString>(v_); }
    bool isNumber() const { return !isNull() && !isText(); }

    // Conversions of the runtime; a Null or a non-numeric text raises RunError.
    QString toText() const; // Null raises; numbers in plain decimal
    Currency toCurrency() const;
    double toDouble() const;
    int16_t toInt16() const; // rounds half to even, overflow raises
    int32_t toInt32() const; // rounds half to even, overflow raises
    // Text form that gives "" for Null, for the few places that accept it.
    QString textOrEmpty() const { return isNull() ? QString() : toText(); }

    const auto& raw() const { return v_; }
    friend bool operator==(const Value& a, const Value& b) { return a.v_ == b.v_; }

private:
    std::variant<Null, int64_t, double, Currency, QString> v_;
};

} // namespace rt
