#include "app/status_list.h"

#include "errors/trap.h"

#include <commctrl.h>

namespace velmora::app::status_list {
namespace {

std::optional<int32_t> CodeAt(HWND list, int index) {
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_LPARAM;
    item.iItem = index;
    if (index < 0 || !SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return std::nullopt;
    return static_cast<int32_t>(item.lParam);
}

} // namespace

void Fill(HWND list, Names& names) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < status::kStatuses.size(); ++i) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
        item.iItem = static_cast<INT_PTR>(i);
        item.pszText = names[i].data();
        item.iImage = item.iSelectedImage = status::kStatuses[i].picture - 1;
        item.lParam = status::kStatuses[i].code;
        if (SendMessageW(list, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0)
            err::Raise(err::ERR_INTERNAL, L"The status list did not take the item \"" + names[i] + L"\"");
    }
}

std::optional<int32_t> Selected(HWND list) {
    return CodeAt(list, static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)));
}

void Select(HWND list, std::optional<int32_t> code) {
    int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    int found = -1;
    for (int i = 0; code && i < count && found < 0; ++i)
        if (CodeAt(list, i) == code)
            found = i;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

} // namespace velmora::app::status_list
