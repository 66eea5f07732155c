#include "language/control_keys.h"
#include "test_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace velmora;
using test::ControlRow;
using test::TestWindow;

namespace {

std::wstring Name(const wchar_t* s) {
    return s ? s : L"(null)";
}

} // namespace

TEST(ControlKeys, KeyIsStoredPerControlAndCanBeRemoved) {
    static constexpr wchar_t kUser[] = L"User";
    TestWindow window({{L"lblUser", WC_STATICW, SS_LEFT, L"Benutzer", nullptr},
                       {L"lblStatus", WC_STATICW, SS_LEFT, L"Status", nullptr}});
    HWND user = window.control(0), status = window.control(1);

    EXPECT_EQ(TranslationKey(user), nullptr)
        << "a new control already has key " << Name(TranslationKey(user));
    SetTranslationKey(user, kUser);
    EXPECT_EQ(TranslationKey(user), kUser) << "read back " << Name(TranslationKey(user));
    EXPECT_EQ(TranslationKey(status), nullptr) << "the key leaked to another control";

    // The window keeps the pointer, not a copy: the table's entry is the one source of the key.
    SetTranslationKey(user, L"");
    EXPECT_EQ(TranslationKey(user), nullptr)
        << "an empty key must remove it, saw " << Name(TranslationKey(user));
    SetTranslationKey(user, kUser);
    SetTranslationKey(user, nullptr);
    EXPECT_EQ(TranslationKey(user), nullptr)
        << "a null key must remove it, saw " << Name(TranslationKey(user));

    SetTranslationKey(nullptr, kUser); // harmless
    EXPECT_EQ(TranslationKey(nullptr), nullptr);
}

TEST(ControlKeys, ShowsCaptionByClassAndStyle) {
    const std::vector<ControlRow> rows = {
        {L"label left", WC_STATICW, SS_LEFT, L"a", nullptr},
        {L"label centre", WC_STATICW, SS_CENTER, L"a", nullptr},
        {L"label right", WC_STATICW, SS_RIGHT, L"a", nullptr},
        {L"label simple", WC_STATICW, SS_SIMPLE, L"a", nullptr},
        {L"label no wrap", WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX, L"a", nullptr},
        {L"picture icon", WC_STATICW, SS_ICON, L"", nullptr},
        {L"picture bitmap", WC_STATICW, SS_BITMAP, L"", nullptr},
        {L"etched frame", WC_STATICW, SS_ETCHEDFRAME, L"", nullptr},
        {L"black rectangle", WC_STATICW, SS_BLACKRECT, L"", nullptr},
        {L"push button", WC_BUTTONW, BS_PUSHBUTTON, L"a", nullptr},
        {L"default button", WC_BUTTONW, BS_DEFPUSHBUTTON, L"a", nullptr},
        {L"picture button", WC_BUTTONW, BS_PUSHBUTTON | BS_BITMAP, L"a", nullptr},
        {L"owner-drawn button", WC_BUTTONW, BS_OWNERDRAW, L"a", nullptr},
        {L"check box", WC_BUTTONW, BS_AUTOCHECKBOX, L"a", nullptr},
        {L"radio button", WC_BUTTONW, BS_AUTORADIOBUTTON, L"a", nullptr},
        {L"group box", WC_BUTTONW, BS_GROUPBOX, L"a", nullptr},
        {L"edit", WC_EDITW, ES_AUTOHSCROLL, L"a", nullptr},
        {L"combo box", WC_COMBOBOXW, CBS_DROPDOWN, L"", nullptr},
        {L"list box", WC_LISTBOXW, 0, L"", nullptr},
        {L"image combo box", WC_COMBOBOXEXW, CBS_DROPDOWNLIST, L"", nullptr},
    };
    const std::vector<bool> expected = {true, true, true, true, true, false, false, false, false, true,
                                        true, true, true, true, true, true,  false, false, false, false};
    TestWindow window(rows);
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(ShowsCaption(window.control(i)), expected[i]) << "case: " << rows[i].name;
}

TEST(ControlKeys, WalksControlsInCreationOrderIncludingGroupBoxContents) {
    const std::vector<ControlRow> rows = {
        {L"lblTop", WC_STATICW, SS_LEFT, L"", nullptr},
        {L"fraGeneral", WC_BUTTONW, BS_GROUPBOX, L"", nullptr},
        {L"optAuto", WC_BUTTONW, BS_AUTORADIOBUTTON, L"", nullptr, 1},
        {L"fraInner", WC_BUTTONW, BS_GROUPBOX, L"", nullptr, 1},
        {L"chbInner", WC_BUTTONW, BS_AUTOCHECKBOX, L"", nullptr, 3},
        {L"optManuel", WC_BUTTONW, BS_AUTORADIOBUTTON, L"", nullptr, 1},
        {L"cmdOk", WC_BUTTONW, BS_PUSHBUTTON, L"", nullptr},
    };
    TestWindow window(rows);
    std::vector<std::wstring> seen;
    ForEachControl(window.hwnd(), [&](HWND control) {
        for (size_t i = 0; i < rows.size(); ++i)
            if (window.control(i) == control)
                seen.push_back(rows[i].name);
        return true;
    });
    std::vector<std::wstring> expected;
    for (const ControlRow& row : rows)
        expected.push_back(row.name);
    EXPECT_EQ(seen, expected);

    // Stopping early: visit returns false at the fourth control, nothing after it is visited.
    size_t visits = 0;
    ForEachControl(window.hwnd(), [&](HWND) { return ++visits < 4; });
    EXPECT_EQ(visits, 4u) << "visits after the walk was told to stop";
}
