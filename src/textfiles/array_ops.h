// Operations on growable lists of texts. An empty vector is the list that was never sized.
// Comparisons are ordinal over UTF-16 code units: case-sensitive ("B" < "a"), and a text sorts
// before every longer text that starts with it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

class ArrayOps {
public:
    // The index of the last element (not the number of elements); -1 for an empty list.
    int32_t Count(const std::vector<std::wstring>& list) const;
    void Add(std::vector<std::wstring>& list, const std::wstring& value) const;
    // Sorts elements startEntry..lastEntry (inclusive) in place, ascending; lastEntry -1 means the
    // last element. An empty range (start after last) is left alone; a range reaching outside the
    // list is a subscript error and changes nothing.
    void Sort(std::vector<std::wstring>& list, int32_t startEntry, int32_t lastEntry = -1) const;
    // The index of value in an ascending list (the first one when it occurs more than once), or -1.
    int32_t Search(const std::vector<std::wstring>& list, const std::wstring& value) const;
};

} // namespace velmora
