// Language files and the translation of windows, in folders and keys of each test's own.
#include "gui_driver/gui_driver.h"
#include "language/control_keys.h"
#include "language/language.h"
#include "settings/settings.h"
#include "support/support.h"
#include "textfiles/file.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace velmora;

namespace {

// Each test has its own settings key and languages folder, so tests can run side by side.
class LanguageTest : public testing::Test {
protected:
    // A language file as a translator saves it: UTF-8 with a byte-order mark, CR LF line ends.
    void WriteLanguage(const std::wstring& name, const std::string& utf8Lines) {
        test::WriteBytes(folder_ + name + L".ini", "\xEF\xBB\xBF[Language]\r\n" + utf8Lines);
    }
    std::unique_ptr<Language> Open(const std::wstring& stored, const std::wstring& folder = L"") {
        reg_.WriteValue(L"Language", stored, REG_SZ, key_.path(), HKEY_CURRENT_USER);
        return std::make_unique<Language>(settings_, file_, folder.empty() ? folder_ : folder);
    }

    static std::wstring TestName() {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        return {name.begin(), name.end()};
    }
    std::wstring name_ = TestName();
    test::ScratchKey key_{HKEY_CURRENT_USER, L"Software\\VelmoraTest\\Language\\" + name_};
    std::wstring folder_ = test::FreshTempDir(L"language-" + name_) + L"\\";
    Reg reg_;
    Settings settings_{reg_};
    File file_;
    void SetUp() override { settings_.SetRegKey(key_.path()); }
};

// Without a translation the default shows, or the English key; a missing language or folder shows
// English, is not listed and is not created. Only plain "*.ini" files are languages.
TEST_F(LanguageTest, TranslateTextFallsBackToDefaultThenKey) {
    WriteLanguage(L"Test", "Ok=\r\nCancel=Abbrechen\r\n");
    const struct {
        const wchar_t *stored, *folder, *key, *defaultText, *expected;
    } cases[] = {{L"Test", L"", L"Cancel", L"Abbruch", L"Abbrechen"},
                 {L"Test", L"", L"Ok", L"", L"Ok"},
                 {L"Test", L"", L"Ok", L"Okay", L"Okay"},
                 {L"Test", L"", L"cancel", L"", L"cancel"},
                 {L"Klingon", L"", L"Cancel", L"", L"Cancel"},
                 {L"Klingon", L"missing\\", L"Cancel", L"", L"Cancel"}};
    for (const auto& c : cases) {
        std::wstring folder = folder_ + c.folder;
        SCOPED_TRACE(test::Narrow(std::wstring(c.stored) + L" in " + folder + L", key " + c.key));
        auto language = Open(c.stored, folder);
        EXPECT_EQ(language->LanguageFile(), c.stored);
        EXPECT_EQ(language->TranslateText(c.key, c.defaultText), c.expected);
        EXPECT_EQ(language->GetAllLanguages(), std::vector<std::wstring>(folder == folder_, L"Test"));
    }
    EXPECT_EQ(GetFileAttributesW((folder_ + L"Klingon.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((folder_ + L"missing").c_str()), INVALID_FILE_ATTRIBUTES);

    for (const wchar_t* name : {L"English", L"Hebrew"})
        WriteLanguage(name, "");
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"x.ini").c_str(), nullptr));
    for (auto [name, attributes] : {std::pair{L"y.ini", FILE_ATTRIBUTE_HIDDEN},
                                    {L"z.ini", FILE_ATTRIBUTE_SYSTEM},
                                    {L"notes.txt", FILE_ATTRIBUTE_NORMAL},
                                    {L"notes.inix", FILE_ATTRIBUTE_NORMAL}}) {
        test::WriteBytes(folder_ + name, "");
        SetFileAttributesW((folder_ + name).c_str(), attributes);
    }
    std::vector<std::wstring> names = Open(L"English")->GetAllLanguages();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"English", L"Hebrew", L"Test"}));
}

TEST_F(LanguageTest, TranslateFormControlsSetsCaptionsOfKeyedLabelsAndButtons) {
    WriteLanguage(L"Hebrew",
                  "User=\xD7\x9E\r\nOk=\r\nGeneral=\xD7\x9B\r\nStart=\xD7\x94\r\nClose=\xD7\xA1\r\n"
                  "Direct=\xD7\x99\r\nMessage=\xD7\x95\r\n");
    const struct {
        const wchar_t *cls, *caption, *key, *expected;
        DWORD style;
        int parent; // row of the group box it lies in; -1: the window
    } rows[] = {
        {WC_STATICW, L"Benutzer", L"User", L"\u05de", SS_LEFT, -1},
        {WC_STATICW, L"Danke", L"Thanks to...", L"Thanks to...", SS_CENTER, -1},
        {WC_BUTTONW, L"Gut", L"Ok", L"Ok", BS_DEFPUSHBUTTON, -1},
        {WC_BUTTONW, L"Allgemein", L"General", L"\u05db", BS_GROUPBOX, -1},
        {WC_BUTTONW, L"Starten", L"Start", L"\u05d4", BS_PUSHBUTTON | BS_BITMAP, 3},
        {WC_BUTTONW, L"Beenden", L"Close", L"\u05e1", BS_AUTOCHECKBOX, 3},
        {WC_BUTTONW, L"Direkt", L"Direct", L"\u05d9", BS_AUTORADIOBUTTON, 3},
        {WC_BUTTONW, L"Mehr", nullptr, L"Mehr", BS_PUSHBUTTON, 3},
        {WC_EDITW, L"Nachricht", L"Message", L"Nachricht", ES_AUTOHSCROLL, -1},
        {WC_STATICW, L"", L"Message", L"", SS_ICON, -1},
    };
    HWND window = CreateWindowExW(0, WC_STATICW, L"Fenster", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetTranslationKey(window, L"User"); // the window's own caption stays as it is
    std::vector<HWND> controls;
    for (const auto& row : rows) {
        controls.push_back(CreateWindowExW(0, row.cls, row.caption, WS_CHILD | row.style, 0, 0, 50, 20,
                                           row.parent < 0 ? window : controls[row.parent], nullptr, nullptr,
                                           nullptr));
        SetTranslationKey(controls.back(), row.key);
    }
    Open(L"Hebrew")->TranslateFormControls(window);
    for (size_t i = 0; i < controls.size(); ++i)
        EXPECT_EQ(gui::Text(controls[i]), rows[i].expected)
            << "row " << i << ", laid out as " << test::Narrow(rows[i].caption);
    EXPECT_EQ(gui::Text(window), L"Fenster") << "the window caption was changed";
    DestroyWindow(window);
}

} // namespace
