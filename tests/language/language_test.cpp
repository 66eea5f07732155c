#include "language/control_keys.h"
#include "language/language.h"
#include "settings/reg.h"
#include "settings/settings.h"
#include "support/support.h"
#include "textfiles/file.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace velmora;

namespace {

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

// Each test has its own settings key and languages folder, so tests can run side by side.
class LanguageTest : public testing::Test {
protected:
    void SetUp() override {
        std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::wstring name(test.begin(), test.end());
        scratch_ = std::make_unique<test::ScratchKey>(HKEY_CURRENT_USER,
                                                      L"Software\\VelmoraTest\\Language\\" + name);
        settings_.SetRegKey(scratch_->path());
        folder_ = test::FreshTempDir(L"language-" + name) + L"\\";
    }
    void TearDown() override { test::RemoveTree(folder_.substr(0, folder_.size() - 1)); }

    void Store(const std::wstring& name) {
        reg_.WriteValue(L"Language", name, REG_SZ, scratch_->path(), HKEY_CURRENT_USER);
    }
    std::wstring Stored() const {
        RegData value = reg_.ReadValue(L"Language", scratch_->path(), HKEY_CURRENT_USER);
        return value.IsEmpty() ? L"(none)" : value.AsText();
    }
    // A language file as a translator saves it: UTF-8 with a byte-order mark, CR LF line ends.
    void WriteLanguage(const std::wstring& name, const std::wstring& lines) {
        test::WriteBytes(folder_ + name + L".ini", "\xEF\xBB\xBF" + Utf8(L"[Language]\r\n" + lines));
    }
    std::unique_ptr<Language> Open(const std::wstring& stored) {
        Store(stored);
        return std::make_unique<Language>(settings_, file_, folder_);
    }

    std::unique_ptr<test::ScratchKey> scratch_;
    Reg reg_;
    Settings settings_{reg_};
    File file_;
    std::wstring folder_;
};

TEST_F(LanguageTest, SettingTheCurrentNameNeitherRereadsNorWrites) {
    WriteLanguage(L"Test", L"Ok=Gut\r\n");
    auto language = Open(L"Test");
    EXPECT_EQ(language->LanguageFile(), L"Test");
    EXPECT_EQ(language->TranslateText(L"Ok"), L"Gut") << "the stored language was not loaded";

    WriteLanguage(L"Test", L"Ok=Anders\r\n");
    reg_.DeleteValue(L"Language", scratch_->path(), HKEY_CURRENT_USER);
    language->SetLanguageFile(L"Test");
    EXPECT_EQ(language->TranslateText(L"Ok"), L"Gut") << "the file was read again";
    EXPECT_EQ(Stored(), L"(none)") << "the setting was written again";

    // Another name, even one differing only in letter case, is a change: read and stored.
    language->SetLanguageFile(L"test");
    EXPECT_EQ(Stored(), L"test");
    language->SetLanguageFile(L"Test");
    EXPECT_EQ(language->TranslateText(L"Ok"), L"Anders") << "switching back did not read the file";
    EXPECT_EQ(Stored(), L"Test");
}

TEST_F(LanguageTest, TranslateTextFallsBackToDefaultThenKey) {
    WriteLanguage(L"Test", L"Ok=\r\nCancel=Abbrechen\r\n");
    auto language = Open(L"Test");
    const struct {
        const wchar_t *key, *defaultText, *expected;
    } cases[] = {{L"Cancel", L"Abbruch", L"Abbrechen"},
                 {L"Ok", L"", L"Ok"},
                 {L"Ok", L"Okay", L"Okay"},
                 {L"Donate", L"", L"Donate"},
                 {L"cancel", L"", L"cancel"}};
    for (const auto& c : cases)
        EXPECT_EQ(language->TranslateText(c.key, c.defaultText), c.expected)
            << "case: key " << c.key << ", default \"" << c.defaultText << "\"";
}

TEST_F(LanguageTest, MissingLanguageShowsEnglishIsNotListedAndNothingIsCreated) {
    WriteLanguage(L"Deutsch", L"Settings=Einstellungen\r\n");
    for (const std::wstring& folder : {folder_, folder_ + L"missing\\"}) {
        Store(L"Klingon");
        Language language(settings_, file_, folder);
        EXPECT_EQ(language.LanguageFile(), L"Klingon") << "folder " << folder;
        EXPECT_EQ(language.TranslateText(L"Settings"), L"Settings") << "folder " << folder;
        EXPECT_EQ(language.GetAllLanguages(), std::vector<std::wstring>(folder == folder_, L"Deutsch"))
            << "folder " << folder;
    }
    EXPECT_EQ(GetFileAttributesW((folder_ + L"Klingon.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((folder_ + L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LanguageTest, GetAllLanguagesListsPlainIniFilesOnly) {
    for (const wchar_t* name : {L"English", L"Hebrew", L"Deutsch"})
        WriteLanguage(name, L"");
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"x.ini").c_str(), nullptr));
    const struct {
        const wchar_t* name;
        DWORD attributes;
    } others[] = {{L"y.ini", FILE_ATTRIBUTE_HIDDEN},
                  {L"z.ini", FILE_ATTRIBUTE_SYSTEM},
                  {L"notes.txt", FILE_ATTRIBUTE_NORMAL},
                  {L"notes.inix", FILE_ATTRIBUTE_NORMAL}};
    for (const auto& file : others) {
        test::WriteBytes(folder_ + file.name, "");
        SetFileAttributesW((folder_ + file.name).c_str(), file.attributes);
    }
    std::vector<std::wstring> names = Open(L"English")->GetAllLanguages();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Deutsch", L"English", L"Hebrew"}));
}

TEST_F(LanguageTest, TranslateFormControlsSetsCaptionsOfKeyedLabelsAndButtons) {
    WriteLanguage(L"Hebrew",
                  L"User=\u05de\u05e9\u05ea\u05de\u05e9\r\nOk=\r\nGeneral=\u05db\u05dc\u05dc\u05d9\r\n"
                  L"Start=\u05d4\u05e4\u05e2\u05dc\u05d4\r\nClose=\u05e1\u05d2\u05d5\u05e8\r\n"
                  L"Direct=\u05d9\u05e9\u05d9\u05e8\r\nMessage=\u05d4\u05d5\u05d3\u05e2\u05d4\r\n");
    auto language = Open(L"Hebrew");
    const struct {
        const wchar_t *cls, *caption, *key, *expected;
        DWORD style;
        int parent; // row of the group box it lies in; -1: the window
    } rows[] = {
        {WC_STATICW, L"Benutzer", L"User", L"\u05de\u05e9\u05ea\u05de\u05e9", SS_LEFT, -1},
        {WC_STATICW, L"Hinweis", nullptr, L"Hinweis", SS_LEFT, -1},
        {WC_STATICW, L"Danke", L"Thanks to...", L"Thanks to...", SS_CENTER, -1},
        {WC_BUTTONW, L"Gut", L"Ok", L"Ok", BS_DEFPUSHBUTTON, -1},
        {WC_BUTTONW, L"Allgemein", L"General", L"\u05db\u05dc\u05dc\u05d9", BS_GROUPBOX, -1},
        {WC_BUTTONW, L"Starten", L"Start", L"\u05d4\u05e4\u05e2\u05dc\u05d4", BS_PUSHBUTTON | BS_BITMAP, 4},
        {WC_BUTTONW, L"Beenden", L"Close", L"\u05e1\u05d2\u05d5\u05e8", BS_AUTOCHECKBOX, 4},
        {WC_BUTTONW, L"Direkt", L"Direct", L"\u05d9\u05e9\u05d9\u05e8", BS_AUTORADIOBUTTON, 4},
        {WC_BUTTONW, L"Mehr", nullptr, L"Mehr", BS_PUSHBUTTON, 4},
        {WC_EDITW, L"Nachricht", L"Message", L"Nachricht", ES_AUTOHSCROLL, -1},
        {WC_STATICW, L"", L"Message", L"", SS_ICON, -1},
    };
    HWND window = CreateWindowExW(0, WC_STATICW, L"Fenster", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetTranslationKey(window, L"User"); // the window's own caption stays as it is
    std::vector<HWND> controls;
    for (const auto& row : rows) {
        HWND parent = row.parent < 0 ? window : controls[row.parent];
        controls.push_back(CreateWindowExW(0, row.cls, row.caption, WS_CHILD | row.style, 0, 0, 50, 20,
                                           parent, nullptr, nullptr, nullptr));
        SetTranslationKey(controls.back(), row.key);
    }

    language->TranslateFormControls(window);

    auto text = [](HWND hwnd) {
        wchar_t buffer[100] = {};
        GetWindowTextW(hwnd, buffer, 100);
        return std::wstring(buffer);
    };
    for (size_t i = 0; i < controls.size(); ++i)
        EXPECT_EQ(text(controls[i]), rows[i].expected)
            << "case: row " << i << ", laid out as " << rows[i].caption;
    EXPECT_EQ(text(window), L"Fenster") << "the window caption was changed";
    DestroyWindow(window);
}

} // namespace
