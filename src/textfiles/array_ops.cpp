#include "textfiles/array_ops.h"

#include "errors/trap.h"

#include <limits>
#include <utility>

namespace velmora {
namespace {

// The midpoint of a range (indexes are never negative here) rounded to the nearest integer, halves
// to the even one: 0..3 gives 2, 2..3 gives 2, 0..1 gives 0.
int32_t PivotIndex(int32_t startEntry, int32_t lastEntry) {
    int64_t sum = int64_t{startEntry} + lastEntry;
    int64_t half = sum / 2;
    if (sum % 2 != 0 && half % 2 != 0) // exactly .5 above an odd number: round up to the even one
        ++half;
    return static_cast<int32_t>(half);
}

// Hoare partitioning around the value at the pivot index; returns the ends (high, low) of the two
// parts still to sort: start..high and low..last.
std::pair<int32_t, int32_t> Partition(std::vector<std::wstring>& list, int32_t start, int32_t last) {
    const std::wstring pivot = list[PivotIndex(start, last)]; // a copy: it must not move with swaps
    int32_t low = start, high = last;
    do {
        while (list[low] < pivot)
            ++low;
        while (list[high] > pivot)
            --high;
        if (low <= high) {
            std::swap(list[low], list[high]);
            ++low;
            --high;
        }
    } while (low <= high);
    return {high, low};
}

// Sorting the smaller part by recursion and the larger one in the loop keeps the stack depth
// logarithmic whatever the input: a long list in an unlucky order cannot overflow the stack.
void QuickSort(std::vector<std::wstring>& list, int32_t start, int32_t last) {
    while (start < last) {
        auto [high, low] = Partition(list, start, last);
        if (high - start < last - low) {
            QuickSort(list, start, high);
            start = low;
        } else {
            QuickSort(list, low, last);
            last = high;
        }
    }
}

} // namespace

int32_t ArrayOps::Count(const std::vector<std::wstring>& list) const {
    if (list.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(list.size()) - 1;
}

void ArrayOps::Add(std::vector<std::wstring>& list, const std::wstring& value) const {
    err::Trap(L"clsArrayOps.Add(astrArray,strValue)", err::Args(list, value), [&] { list.push_back(value); });
}

void ArrayOps::Sort(std::vector<std::wstring>& list, int32_t startEntry, int32_t lastEntry) const {
    err::Trap(L"clsArrayOps.Sort(astrArray,lngStartEntry,lngLastEntry)",
              err::Args(list, startEntry, lastEntry), [&] {
                  int32_t last = lastEntry == -1 ? Count(list) : lastEntry;
                  if (startEntry > last)
                      return; // nothing to sort, also for an empty list
                  if (startEntry < 0 || last > Count(list))
                      err::Raise(err::ERR_SUBSCRIPT, L"Subscript out of range");
                  QuickSort(list, startEntry, last);
              });
}

int32_t ArrayOps::Search(const std::vector<std::wstring>& list, const std::wstring& value) const {
    return err::Trap(L"clsArrayOps.Search(astrArray,strValue)", err::Args(list, value), [&] {
        // Lower bound over [low, high): only indexes below high are ever read.
        size_t low = 0, high = list.size();
        while (low < high) {
            size_t mid = low + (high - low) / 2;
            if (list[mid] < value)
                low = mid + 1;
            else
                high = mid;
        }
        if (low < list.size() && list[low] == value)
            return static_cast<int32_t>(low);
        return int32_t{-1};
    });
}

} // namespace velmora
