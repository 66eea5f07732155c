// The status list of the main window: a ComboBoxEx whose items carry their status codes.
#pragma once
#include "client/status.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace velmora::app::status_list {

using Names = std::array<std::wstring, status::kStatuses.size()>;

// Fills the list with every status in the table's order: the given (translated) name and picture.
void Fill(HWND list, Names& names);
// The code of the selected item; nothing when no item is selected.
std::optional<int32_t> Selected(HWND list);
// Selects the item of that code; no item when there is no code or the list does not know it.
void Select(HWND list, std::optional<int32_t> code);

} // namespace velmora::app::status_list
