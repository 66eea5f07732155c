// The value the registry wrapper reads and writes: nothing, a text, a 32-bit number or a list of texts.
#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace velmora {

struct RegData {
    std::variant<std::monostate, std::wstring, int32_t, std::vector<std::wstring>> value;

    RegData() = default;
    RegData(std::wstring text) : value(std::move(text)) {}
    RegData(const wchar_t* text) : value(std::wstring(text)) {}
    RegData(int32_t number) : value(number) {}
    RegData(std::vector<std::wstring> list) : value(std::move(list)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value); }
    bool IsText() const { return std::holds_alternative<std::wstring>(value); }
    bool IsNumber() const { return std::holds_alternative<int32_t>(value); }
    bool IsList() const { return std::holds_alternative<std::vector<std::wstring>>(value); }

    // Empty reads as "", a number as its decimal digits. A list is a type mismatch.
    std::wstring AsText() const;
    // Empty reads as 0, a text must be a whole decimal number (blanks and a sign allowed):
    // anything else is a type mismatch, a number outside 32 bits an overflow.
    int32_t AsNumber() const;
    // Empty reads as the empty list; a text or number is a type mismatch.
    std::vector<std::wstring> AsList() const;
};

} // namespace velmora
