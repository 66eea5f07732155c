// The client tests' keys, emptied first and last: the client's user keys, its machine keys (32-bit
// view) and their virtual-store copies; and read-only keys as a user without elevation meets them.
#pragma once
#include "client/icq_lite.h"
#include "client/starter.h"
#include "support/standin.h"

#include <gtest/gtest.h>

namespace velmora::test {

inline constexpr wchar_t kStoreRoot[] = L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\";

// Where a machine-wide value of the client is: HKLM (32-bit view) or its virtual-store copy.
enum class Place { Machine, Store };

struct Where {
    HKEY root;
    std::wstring key;
    RegView view;
    Where(Place place, const std::wstring& machineKey) // machineKey starts with "Software\"
        : root(place == Place::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER),
          key(place == Place::Machine ? machineKey : kStoreRoot + machineKey.substr(9)),
          view(place == Place::Machine ? RegView::View32 : RegView::Native) {}
};

struct ReadOnlyPlace : ReadOnlyKey {
    ReadOnlyPlace(Place place, const std::wstring& machineKey) : ReadOnlyPlace(Where(place, machineKey)) {}
    explicit ReadOnlyPlace(const Where& w) : ReadOnlyKey(w.root, w.key, w.view) {}
};

class ClientTest : public ::testing::Test {
protected:
    RegData Get(Place place, const std::wstring& name, const std::wstring& machineKey) const {
        Where w(place, machineKey);
        return reg_.ReadValue(name, w.key, w.root, w.view);
    }
    void Put(Place place, const std::wstring& name, const RegData& value, DWORD type,
             const std::wstring& machineKey) const {
        Where w(place, machineKey);
        ASSERT_EQ(reg_.WriteValueChecked(name, value, type, w.key, w.root, w.view), ERROR_SUCCESS);
    }

    Reg reg_;
    ScratchKey userKeys_{HKEY_CURRENT_USER, L"Software\\Mirabilis"};
    ScratchKey machineKeys_{HKEY_LOCAL_MACHINE, L"Software\\Mirabilis", RegView::View32};
    ScratchKey storeKeys_{HKEY_CURRENT_USER, std::wstring(kStoreRoot) + L"Mirabilis"};
    Starter starter_;
};

} // namespace velmora::test
