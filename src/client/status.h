// The client's statuses: the one table the status list, the start action, the launcher and the
// client data all take their codes, names, pictures and message values from.
// Pure C++ (no <windows.h>).
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::status {

struct StatusInfo {
    int32_t code;             // what the client stores as "LastStatus"
    const wchar_t* name;      // English name, the translation key of the list item
    const wchar_t* listKey;   // key of the item in the status list: "s" + code
    int picture;              // 1-based number of its picture in the status list
    const wchar_t* valuePart; // first part of its message value name; nullptr: no message
    const wchar_t* word;      // its name on the command line, the same in every language

    bool HasMessage() const { return valuePart != nullptr; }
    // "AwayStatusText" and so on; "" for a status without a message.
    std::wstring MessageValueName() const {
        return valuePart ? std::wstring(valuePart) + L"StatusText" : std::wstring();
    }
};

inline constexpr int32_t kOnline = 0;
inline constexpr int32_t kAway = 1;
inline constexpr int32_t kDnd = 2;
inline constexpr int32_t kNa = 4;
inline constexpr int32_t kOccupied = 16;
inline constexpr int32_t kFreeForChat = 32;
inline constexpr int32_t kInvisible = 257;
// Another code the client uses for invisible; read as kInvisible, never written.
inline constexpr int32_t kInvisibleAlias = 256;

// In the order the status list shows them.
inline constexpr std::array<StatusInfo, 7> kStatuses{{
    {kOnline, L"Online", L"s0", 1, nullptr, L"online"},
    {kAway, L"Away", L"s1", 2, L"Away", L"away"},
    {kDnd, L"DND", L"s2", 3, L"DND", L"dnd"},
    {kNa, L"N/A", L"s4", 4, L"NA", L"na"},
    {kOccupied, L"Occupied", L"s16", 5, L"Busy", L"occupied"},
    {kFreeForChat, L"Free For Chat", L"s32", 6, L"Chat", L"chat"},
    {kInvisible, L"Invisible", L"s257", 7, nullptr, L"invisible"},
}};

// The table row of code; nullptr for a code outside the table (256 included: normalise first).
constexpr const StatusInfo* Find(int32_t code) {
    for (const auto& status : kStatuses)
        if (status.code == code)
            return &status;
    return nullptr;
}

// The code as the program uses it: the client's alternative invisible code becomes kInvisible.
constexpr int32_t Normalize(int32_t stored) {
    return stored == kInvisibleAlias ? kInvisible : stored;
}

// The status list key of code: "s" followed by its decimal digits.
inline std::wstring ListKey(int32_t code) {
    return L"s" + std::to_wstring(code);
}

// The code of a status list key of the table ("s1" -> 1); nullopt for anything else.
std::optional<int32_t> CodeFromListKey(std::wstring_view key);

// The message value name of code ("" for codes without a message and codes outside the table).
std::wstring MessageValueName(int32_t code);

} // namespace velmora::status
