// Language files and the translation of windows, in a languages folder and a settings key of their own.
#include "gui_driver/gui_driver.h"
#include "language/control_keys.h"
#include "language/language.h"
#include "settings/settings.h"
#include "support/support.h"
#include "textfiles/file.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace velmora;

// A missing language shows English; an empty translation the default text or else the key (keys differ in
// case). Only plain "*.ini" files are languages, listed under the names they give, or else their file names,
// in the order of the language (not of the code points). Captions of keyed labels and buttons (also in a
// group box) are translated; controls without a key or a caption to show, and the window's own caption, stay.
TEST(Language, TranslatesTextsAndTheCaptionsOfKeyedControls) {
    test::ScratchKey key(HKEY_CURRENT_USER, L"Software\\VelmoraTest\\Language");
    std::wstring folder = test::FreshTempDir(L"language") + L"\\";
    // As a translator saves it: UTF-8 with a byte-order mark, CR LF line ends.
    test::WriteBytes(folder + L"Hebrew.ini", "\xEF\xBB\xBF[Language]\r\nUser=\xD7\x9E\r\nOk=\r\n"
                                             "General=\xD7\x9B\r\nStart=\xD7\x94\r\n");
    test::WriteBytes(folder + L"cs.ini", "\xEF\xBB\xBF[Language]\r\nLanguage Name=\xC4\x8C"
                                         "e\xC5\xA1tina\r\n");
    test::WriteBytes(folder + L"Aleph.ini", "\xEF\xBB\xBF[Language]\r\nLanguage Name=Deutsch\r\n");
    ASSERT_TRUE(CreateDirectoryW((folder + L"x.ini").c_str(), nullptr));
    for (auto [name, attributes] : {std::pair{L"y.ini", FILE_ATTRIBUTE_HIDDEN},
                                    {L"z.ini", FILE_ATTRIBUTE_SYSTEM},
                                    {L"notes.inix", FILE_ATTRIBUTE_NORMAL}}) {
        test::WriteBytes(folder + name, "");
        SetFileAttributesW((folder + name).c_str(), attributes);
    }
    Reg reg;
    Settings settings(reg);
    settings.SetRegKey(key.path());
    File file;
    reg.WriteValue(L"Language", L"Klingon", REG_SZ, key.path(), HKEY_CURRENT_USER);
    Language language(settings, file, folder);
    std::wstring seen = language.LanguageFile() + L"|" + language.TranslateText(L"User") + L"|";
    for (const LanguageEntry& entry : language.GetAllLanguages())
        seen += entry.file + L"=" + entry.name + L"|";
    EXPECT_EQ(seen, L"Klingon|User|cs=\u010Ce\u0161tina|Aleph=Deutsch|Hebrew=Hebrew|");
    language.SetLanguageFile(L"Hebrew");
    EXPECT_EQ(language.TranslateText(L"Ok") + L"|" + language.TranslateText(L"Ok", L"Okay") + L"|" +
                  language.TranslateText(L"user"),
              L"Ok|Okay|user");
    // A stored name leads nowhere outside the folder: a name that is no file name there is English.
    test::WriteBytes(folder + L"..\\language-outside.ini", "[Language]\r\nUser=outside\r\n");
    reg.WriteValue(L"Language", L"..\\language-outside", REG_SZ, key.path(), HKEY_CURRENT_USER);
    Language stored(settings, file, folder);
    EXPECT_EQ(stored.LanguageFile() + L"|" + stored.TranslateText(L"User") + L"|" +
                  settings.ReadValue(L"Language"),
              L"English|User|English");

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
        {WC_BUTTONW, L"Mehr", nullptr, L"Mehr", BS_AUTOCHECKBOX, 3},
        {WC_EDITW, L"Nachricht", L"User", L"Nachricht", ES_AUTOHSCROLL, -1},
    };
    HWND window =
        CreateWindowW(WC_STATICW, L"Fenster", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetTranslationKey(window, L"User");
    std::vector<HWND> controls;
    for (const auto& row : rows) {
        HWND parent = row.parent < 0 ? window : controls[row.parent];
        controls.push_back(CreateWindowW(row.cls, row.caption, WS_CHILD | row.style, 0, 0, 50, 20, parent,
                                         nullptr, nullptr, nullptr));
        SetTranslationKey(controls.back(), row.key);
    }
    language.TranslateFormControls(window);
    for (size_t i = 0; i < controls.size(); ++i)
        EXPECT_EQ(gui::Text(controls[i]), rows[i].expected) << "row " << i;
    EXPECT_EQ(gui::Text(window), L"Fenster") << "the window caption was changed";
    DestroyWindow(window);
}
