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

class ClientTest : public ::testing::Test {
protected:
    static HKEY Root(Place p) { return p == Place::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
    static RegView View(Place p) { return p == Place::Machine ? RegView::View32 : RegView::Native; }
    static std::wstring Key(Place p, const std::wstring& machineKey) { // machineKey starts with "Software\"
        return p == Place::Machine ? machineKey : kStoreRoot + machineKey.substr(9);
    }
    RegData Get(Place p, const std::wstring& name, const std::wstring& machineKey) const {
        return reg_.ReadValue(name, Key(p, machineKey), Root(p), View(p));
    }
    void Put(Place p, const std::wstring& name, const RegData& value, DWORD type,
             const std::wstring& machineKey) {
        ASSERT_EQ(reg_.WriteValueChecked(name, value, type, Key(p, machineKey), Root(p), View(p)),
                  ERROR_SUCCESS);
    }
    static void Lock(std::optional<ReadOnlyKey>& lock, Place p, const std::wstring& machineKey) {
        lock.emplace(Root(p), Key(p, machineKey), View(p));
    }

    Reg reg_;
    ScratchKey userKeys_{HKEY_CURRENT_USER, L"Software\\Mirabilis"};
    ScratchKey machineKeys_{HKEY_LOCAL_MACHINE, L"Software\\Mirabilis", RegView::View32};
    ScratchKey storeKeys_{HKEY_CURRENT_USER, std::wstring(kStoreRoot) + L"Mirabilis"};
    Starter starter_;
};

} // namespace velmora::test
