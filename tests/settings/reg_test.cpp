#include "settings/reg.h"
#include "support/support.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(RegSmoke, WritesAndReadsText) {
    test::ScratchKey scratch(HKEY_CURRENT_USER, L"Software\\VelmoraTest\\RegSmoke");
    Reg reg;
    reg.WriteValue(L"v", L"abc", REG_SZ, scratch.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.ReadValue(L"v", scratch.path(), HKEY_CURRENT_USER).AsText(), L"abc");
}
