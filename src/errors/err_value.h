// The argument values a trap hands to the error report: one per parameter of the failing procedure.
// Pure C++ (no <windows.h>), so the report text can be built and tested anywhere.
//
// A trap line costs nothing while nothing fails: err::Args only takes the addresses of its
// arguments, and they are turned into report values when an error is recorded. The references are
// good for the whole trap line (a temporary argument lives to the end of its full expression), so
// Args belongs inside the trap call and is never kept beyond it. The report shows each argument
// as it is when the error is recorded, so a trapped body never destroys what it was called with.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace velmora::err {

struct Missing {}; // no value at all: a procedure without arguments
struct ObjectRef { // a reference by its type name; empty name means no object ("Nothing")
    std::wstring typeName;
};
struct Array {}; // any array argument; only its presence shows in a report

// The kinds of value the program's traps pass.
using Value = std::variant<Missing, int16_t, int32_t, bool, std::wstring, ObjectRef, Array>;

// Turning a C++ argument into a report value. A type of the program can take part with a
// ToValue(const T&) of its own beside it (found by argument-dependent lookup).
inline Value ToValue(const std::wstring& v) {
    return v;
}
inline Value ToValue(std::wstring_view v) {
    return std::wstring(v);
}
inline Value ToValue(const wchar_t* v) { // a null pointer is the empty text
    return v ? std::wstring(v) : std::wstring();
}
inline Value ToValue(const std::vector<std::wstring>&) {
    return Array{};
}
template <typename T, typename V> struct IsAlternative : std::false_type {};
template <typename T, typename... K>
struct IsAlternative<T, std::variant<K...>> : std::bool_constant<(std::is_same_v<T, K> || ...)> {};
// Numbers, Booleans and the tagged kinds go in as they are; no other type converts silently.
template <typename T>
requires IsAlternative<T, Value>::value Value ToValue(const T& v) {
    return v;
}
inline Value ToValue(const Value& v) {
    return v;
}

// One argument as a trap holds it: where it is and how to make a report value of it.
class ArgRef {
public:
    template <typename T>
    ArgRef(const T& v)
        : object_(&v), convert_([](const void* p) { return ToValue(*static_cast<const T*>(p)); }) {}
    Value Get() const { return convert_(object_); }

private:
    const void* object_;
    Value (*convert_)(const void*);
};

// The arguments of one trapped call, in declaration order; what err::Args and err::NoArgs give.
using ArgList = std::span<const ArgRef>;
// The report values of one call. No arguments at all is one Missing value.
using ArgValues = std::vector<Value>;
ArgValues ToValues(ArgList args);

template <std::size_t N> struct ArgRefs {
    std::array<ArgRef, N> refs;
    operator ArgList() const { return refs; }
};
template <typename... T> ArgRefs<sizeof...(T)> Args(const T&... v) {
    return {{ArgRef(v)...}};
}
inline ArgRefs<0> NoArgs() {
    return {};
}

} // namespace velmora::err
