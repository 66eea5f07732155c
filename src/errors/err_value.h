// The tagged values a trap hands to the error report: one per parameter of the failing procedure.
// Pure C++ (no <windows.h>), so the report text can be built and tested anywhere.
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace velmora::err {

struct Missing {}; // parameter not passed / no value at all
struct Empty {};   // an uninitialised value
struct Null {};    // an explicit null
struct Currency {  // fixed point, four decimals: 1.5 is stored as 15000
    int64_t scaled = 0;
};
struct Decimal { // an exact decimal given by its digits, e.g. L"123.456"
    std::wstring digits;
};
struct Date { // days since 1899-12-30, the fraction is the time of day
    double serial = 0;
};
struct ObjectRef { // a reference by its type name; empty name means no object ("Nothing")
    std::wstring typeName;
};
struct Array { // any array argument; only its presence matters in a report
    size_t size = 0;
};
struct ErrorValue { // an error value passed as an argument
    int32_t number = 0;
};

using Value = std::variant<Missing, Empty, Null, int16_t, int32_t, float, double, Currency, Decimal, uint8_t,
                           bool, Date, std::wstring, ObjectRef, Array, ErrorValue>;

// The argument values of one trapped call, in declaration order. No values at all is one Missing.
struct ArgList {
    std::vector<Value> values;
};

// Converting helpers so that trap lines can write Args(strPath, lngCount) with plain C++ values.
inline Value ToValue(const std::wstring& v) {
    return v;
}
inline Value ToValue(std::wstring_view v) {
    return std::wstring(v);
}
inline Value ToValue(const wchar_t* v) {
    return v ? Value(std::wstring(v)) : Value(Null{});
}
inline Value ToValue(const std::vector<std::wstring>& v) {
    return Array{v.size()};
}
inline Value ToValue(const Value& v) {
    return v;
}
// Every kind the value holds as such (numbers, Boolean, the tagged kinds) goes in unchanged.
template <typename T, typename V> struct IsAlternative : std::false_type {};
template <typename T, typename... K>
struct IsAlternative<T, std::variant<K...>> : std::bool_constant<(std::is_same_v<T, K> || ...)> {};

template <typename T>
requires IsAlternative<T, Value>::value inline Value ToValue(const T& v) {
    return v;
}

template <typename... T> ArgList Args(const T&... v) {
    return ArgList{{ToValue(v)...}};
}
inline ArgList NoArgs() {
    return ArgList{{Missing{}}};
}

} // namespace velmora::err
