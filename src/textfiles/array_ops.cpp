#include "textfiles/array_ops.h"

#include "errors/trap.h"

#include <algorithm>
#include <limits>

namespace velmora {

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
                  // Equal texts are alike, so any correct sort gives the one result there is.
                  std::sort(list.begin() + startEntry, list.begin() + last + 1);
              });
}

int32_t ArrayOps::Search(const std::vector<std::wstring>& list, const std::wstring& value) const {
    return err::Trap(L"clsArrayOps.Search(astrArray,strValue)", err::Args(list, value), [&] {
        auto found = std::lower_bound(list.begin(), list.end(), value);
        if (found != list.end() && *found == value)
            return static_cast<int32_t>(found - list.begin());
        return int32_t{-1};
    });
}

} // namespace velmora
