// Shared set-up of the launcher tests: the program's shared objects (app::Main does not run
// here) and empty client keys in both places the client keeps them.
#pragma once
#include "app/shared.h"
#include "client/icq_lite.h"
#include "client/starter.h"
#include "language/language.h"
#include "language/translate.h"
#include "settings/reg.h"
#include "settings/settings.h"
#include "support/standin.h"
#include "support/support.h"
#include "textfiles/file.h"

#include <gtest/gtest.h>

namespace velmora::test {

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        Shared() = SharedObjects{&file_, &reg_, &settings_, &language_};
        SetCurrentLanguage(&language_);
    }
    void TearDown() override {
        Shared() = SharedObjects{};
        SetCurrentLanguage(nullptr);
    }

    // Reads a value of the client the way the launcher writes it.
    RegData ClientValue(const std::wstring& name, const std::wstring& number) const {
        return reg_.ReadValue(name, icqlite::UserKey(number), HKEY_LOCAL_MACHINE, icqlite::kClientView);
    }
    void StoreClientValue(const std::wstring& name, const RegData& value, DWORD type,
                          const std::wstring& number) {
        ASSERT_EQ(reg_.WriteValueChecked(name, value, type, icqlite::UserKey(number), HKEY_LOCAL_MACHINE,
                                         icqlite::kClientView),
                  ERROR_SUCCESS);
    }

    ScratchKey userKeys_{HKEY_CURRENT_USER, L"Software\\Mirabilis"};
    ScratchKey machineKeys_{HKEY_LOCAL_MACHINE, L"Software\\Mirabilis", RegView::View32};
    Reg reg_;
    File file_;
    Settings settings_{reg_};
    Language language_{settings_, file_};
    Starter starter_;
};

} // namespace velmora::test
