#include "language/control_keys.h"
#include "language/language.h"
#include "settings/reg.h"
#include "settings/settings.h"
#include "support/support.h"
#include "test_window.h"
#include "textfiles/file.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

using namespace velmora;
using test::ControlRow;

namespace {

std::string Utf8(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr,
                        nullptr);
    return out;
}

std::wstring Widen(const char* ascii) {
    return std::wstring(ascii, ascii + strlen(ascii));
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Each test has its own settings key and languages folder, so tests can run side by side.
class LanguageTest : public testing::Test {
protected:
    void SetUp() override {
        std::wstring name = Widen(testing::UnitTest::GetInstance()->current_test_info()->name());
        scratch_ = std::make_unique<test::ScratchKey>(HKEY_CURRENT_USER,
                                                      L"Software\\VelmoraTest\\Language\\" + name);
        settings_.SetRegKey(scratch_->path());
        folderNoSlash_ = test::FreshTempDir(L"language-" + name);
        folder_ = folderNoSlash_ + L"\\";
    }
    void TearDown() override { test::RemoveTree(folderNoSlash_); }

    void Store(const std::wstring& name) {
        reg_.WriteValue(L"Language", name, REG_SZ, scratch_->path(), HKEY_CURRENT_USER);
    }
    void Unstore() { reg_.DeleteValue(L"Language", scratch_->path(), HKEY_CURRENT_USER); }
    // The stored "Language" value; nothing when there is no such value.
    std::optional<std::wstring> Stored() const {
        wchar_t buffer[256] = {};
        DWORD size = sizeof(buffer);
        if (RegGetValueW(HKEY_CURRENT_USER, scratch_->path().c_str(), L"Language", RRF_RT_REG_SZ, nullptr,
                         buffer, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(buffer);
    }
    // A language file as a translator saves it: UTF-8 with a byte-order mark, CR LF line ends.
    void WriteLanguage(const std::wstring& name, const std::vector<std::wstring>& lines,
                       const wchar_t* header = L"[Language]") {
        std::wstring text = header ? std::wstring(header) + L"\r\n" : L"";
        for (const std::wstring& line : lines)
            text += line + L"\r\n";
        test::WriteBytes(folder_ + name + L".ini", "\xEF\xBB\xBF" + Utf8(text));
    }
    std::unique_ptr<Language> Open() { return std::make_unique<Language>(settings_, file_, folder_); }

    std::unique_ptr<test::ScratchKey> scratch_;
    Reg reg_;
    Settings settings_{reg_};
    File file_;
    std::wstring folder_, folderNoSlash_;
};

TEST_F(LanguageTest, StoredLanguageIsLoadedAtCreation) {
    WriteLanguage(L"Test", {L"Ok=Gut"});
    Store(L"Test");
    auto language = Open();
    EXPECT_EQ(language->LanguageFile(), L"Test");
    EXPECT_EQ(language->TranslateText(L"Ok"), L"Gut") << "the stored language's file was not read";
    EXPECT_EQ(Stored().value_or(L"(none)"), L"Test");
}

TEST_F(LanguageTest, SettingTheCurrentNameNeitherRereadsNorWrites) {
    WriteLanguage(L"Test", {L"Ok=Gut"});
    Store(L"Test");
    auto language = Open();
    ASSERT_EQ(language->TranslateText(L"Ok"), L"Gut");

    WriteLanguage(L"Test", {L"Ok=Anders"});
    Unstore();
    language->SetLanguageFile(L"Test");
    EXPECT_EQ(language->TranslateText(L"Ok"), L"Gut") << "the file was read again";
    EXPECT_FALSE(Stored().has_value()) << "the setting was written again: " << Stored().value_or(L"");

    // A different name, even one differing only in letter case, is a change: read and stored.
    language->SetLanguageFile(L"test");
    EXPECT_EQ(Stored().value_or(L"(none)"), L"test");
    language->SetLanguageFile(L"Test");
    EXPECT_EQ(language->TranslateText(L"Ok"), L"Anders") << "switching back did not read the file";
    EXPECT_EQ(Stored().value_or(L"(none)"), L"Test");
    EXPECT_EQ(language->LanguageFile(), L"Test");
}

TEST_F(LanguageTest, TranslateTextFallsBackToDefaultOrKey) {
    WriteLanguage(L"Test", {L"Ok=", L"Cancel=Abbrechen", L"User=Benutzer"});
    Store(L"Test");
    auto language = Open();
    struct Case {
        const wchar_t* key;
        const wchar_t* defaultText;
        const wchar_t* expected;
        const char* what;
    };
    const Case cases[] = {
        {L"Cancel", L"", L"Abbrechen", "translated"},
        {L"User", L"Nutzer", L"Benutzer", "translated, default unused"},
        {L"Ok", L"", L"Ok", "present with an empty value"},
        {L"Ok", L"Okay", L"Okay", "empty value, with a default"},
        {L"Donate", L"", L"Donate", "missing from the file"},
        {L"Donate", L"Spende", L"Spende", "missing, with a default"},
        {L"cancel", L"", L"cancel", "key in another letter case"},
        {L"", L"", L"", "empty key"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(language->TranslateText(c.key, c.defaultText), c.expected) << "case: " << c.what;
}

TEST_F(LanguageTest, UnusableLanguageShowsEnglishAndCreatesNothing) {
    WriteLanguage(L"English", {L"Settings=Preferences"});
    WriteLanguage(L"NoSection", {L"Settings=Einstellungen"}, nullptr);
    WriteLanguage(L"OtherSection", {L"Settings=Einstellungen"}, L"[Sprache]");
    test::WriteBytes(folder_ + L"Empty.ini", "");
    struct Case {
        std::wstring folder;
        const wchar_t* name;
        const char* what;
    };
    const Case cases[] = {
        {folder_, L"Klingon", "file gone"},
        {folder_, L"NoSection", "no section header"},
        {folder_, L"OtherSection", "another section"},
        {folder_, L"Empty", "empty file"},
        {folder_ + L"missing\\", L"Deutsch", "folder missing"},
    };
    for (const Case& c : cases) {
        Store(c.name);
        Language language(settings_, file_, c.folder);
        EXPECT_EQ(language.LanguageFile(), c.name) << "case: " << c.what;
        EXPECT_EQ(language.TranslateText(L"Settings"), L"Settings") << "case: " << c.what;
    }
    EXPECT_FALSE(Exists(folder_ + L"Klingon.ini")) << "reading created the missing language file";
    EXPECT_FALSE(Exists(folder_ + L"missing")) << "reading created the missing folder";
    Language language(settings_, file_, folder_);
    EXPECT_EQ(Sorted(language.GetAllLanguages()),
              (std::vector<std::wstring>{L"Empty", L"English", L"NoSection", L"OtherSection"}));
    EXPECT_TRUE(Language(settings_, file_, folder_ + L"missing\\").GetAllLanguages().empty());
}

TEST_F(LanguageTest, GetAllLanguagesReturnsTheThreeLanguageFiles) {
    for (const wchar_t* name : {L"English", L"Hebrew", L"Deutsch"})
        WriteLanguage(name, {L"Ok=OK"});
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"x.ini").c_str(), nullptr));
    test::WriteBytes(folder_ + L"y.ini", "");
    ASSERT_TRUE(SetFileAttributesW((folder_ + L"y.ini").c_str(), FILE_ATTRIBUTE_HIDDEN));
    Store(L"English");
    EXPECT_EQ(Sorted(Open()->GetAllLanguages()),
              (std::vector<std::wstring>{L"Deutsch", L"English", L"Hebrew"}));
}

TEST_F(LanguageTest, GetAllLanguagesSkipsWhatIsNoPlainIniFile) {
    struct Case {
        const wchar_t* fileName;
        DWORD attributes;
        bool listed;
    };
    const Case cases[] = {
        {L"plain.ini", FILE_ATTRIBUTE_NORMAL, true},      {L"archived.ini", FILE_ATTRIBUTE_ARCHIVE, true},
        {L"readonly.ini", FILE_ATTRIBUTE_READONLY, true}, {L"hidden.ini", FILE_ATTRIBUTE_HIDDEN, false},
        {L"system.ini", FILE_ATTRIBUTE_SYSTEM, false},    {L"notes.txt", FILE_ATTRIBUTE_NORMAL, false},
        {L"notes.inix", FILE_ATTRIBUTE_NORMAL, false},    {L"UPPER.INI", FILE_ATTRIBUTE_NORMAL, true},
    };
    for (const Case& c : cases) {
        std::wstring path = folder_ + c.fileName;
        test::WriteBytes(path, "");
        EXPECT_TRUE(SetFileAttributesW(path.c_str(), c.attributes)) << "case: " << c.fileName;
    }
    Store(L"plain");
    std::vector<std::wstring> names = Open()->GetAllLanguages();
    for (const Case& c : cases) {
        std::wstring fileName = c.fileName;
        std::wstring name = fileName.substr(0, fileName.find_last_of(L'.'));
        bool listed = std::find(names.begin(), names.end(), name) != names.end();
        EXPECT_EQ(listed, c.listed) << "case: " << c.fileName;
    }
    // Read-only files must not keep the folder from being removed.
    for (const Case& c : cases)
        SetFileAttributesW((folder_ + c.fileName).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(LanguageTest, TranslateFormControlsSetsCaptionsOfKeyedLabelsAndButtons) {
    WriteLanguage(L"Hebrew",
                  {L"User=\u05de\u05e9\u05ea\u05de\u05e9", L"Start ICQ Lite=\u05d4\u05e4\u05e2\u05dc\u05d4",
                   L"Ok=", L"General=\u05db\u05dc\u05dc\u05d9",
                   L"Close Velmora after Login=\u05e1\u05d2\u05d5\u05e8",
                   L"Direct Login=\u05d9\u05e9\u05d9\u05e8", L"Message=\u05d4\u05d5\u05d3\u05e2\u05d4",
                   L"Info=\u05de\u05d9\u05d3\u05e2", L"Settings=\u05d4\u05d2\u05d3\u05e8\u05d5\u05ea",
                   L"Language=\u05e9\u05e4\u05d4"});
    Store(L"Hebrew");
    auto language = Open();
    struct Row {
        ControlRow control;
        const wchar_t* expected;
    };
    const std::vector<Row> rows = {
        {{L"label with key", WC_STATICW, SS_LEFT, L"Benutzer", L"User"}, L"\u05de\u05e9\u05ea\u05de\u05e9"},
        {{L"label without key", WC_STATICW, SS_LEFT, L"Hinweis", nullptr}, L"Hinweis"},
        {{L"key missing from the file", WC_STATICW, SS_LEFT, L"Danke an", L"Thanks to..."}, L"Thanks to..."},
        {{L"picture button", WC_BUTTONW, BS_PUSHBUTTON, L"ICQ Lite starten", L"Start ICQ Lite"},
         L"\u05d4\u05e4\u05e2\u05dc\u05d4"},
        {{L"key with empty value", WC_BUTTONW, BS_DEFPUSHBUTTON, L"Gut", L"Ok"}, L"Ok"},
        {{L"group box", WC_BUTTONW, BS_GROUPBOX, L"Allgemein", L"General"}, L"\u05db\u05dc\u05dc\u05d9"},
        {{L"radio button in the group box", WC_BUTTONW, BS_AUTORADIOBUTTON, L"Direkt", L"Direct Login", 5},
         L"\u05d9\u05e9\u05d9\u05e8"},
        {{L"check box in the group box", WC_BUTTONW, BS_AUTOCHECKBOX, L"Beenden",
          L"Close Velmora after Login", 5},
         L"\u05e1\u05d2\u05d5\u05e8"},
        {{L"button without key in the group box", WC_BUTTONW, BS_PUSHBUTTON, L"Mehr", nullptr, 5}, L"Mehr"},
        {{L"edit box with key", WC_EDITW, ES_AUTOHSCROLL, L"Nachricht", L"Message"}, L"Nachricht"},
        {{L"picture with key", WC_STATICW, SS_ICON, L"", L"Info"}, L""},
        {{L"label after the others", WC_STATICW, SS_RIGHT, L"Sprache", L"Language"}, L"\u05e9\u05e4\u05d4"},
    };
    std::vector<ControlRow> controls;
    for (const Row& row : rows)
        controls.push_back(row.control);
    test::TestWindow window(controls, L"Fenster");
    SetTranslationKey(window.hwnd(), L"Settings"); // the window's own caption stays as it is

    language->TranslateFormControls(window.hwnd());

    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(window.Text(i), rows[i].expected) << "case: " << rows[i].control.name;
    EXPECT_EQ(window.Text(window.hwnd()), L"Fenster") << "the window caption was changed";
}

} // namespace
