#include "client/status.h"

namespace velmora::status {

std::optional<int32_t> CodeFromListKey(std::wstring_view key) {
    for (const auto& status : kStatuses)
        if (key == status.listKey)
            return status.code;
    return std::nullopt;
}

std::wstring MessageValueName(int32_t code) {
    const StatusInfo* status = Find(code);
    return status ? status->MessageValueName() : std::wstring();
}

} // namespace velmora::status
