// The GUI driver against a window program of its own (driver_target.exe), which logs every
// notification it receives: each driver action is checked on both sides, what the driver reports
// and what the other process really saw.
#include "gui_driver/gui_driver.h"

#include "platform/process.h"
#include "support/support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velmora::gui {
namespace {

using test::WaitFor;

// Control ids of driver_target.exe.
enum : int {
    kEdit = 101,
    kCombo = 102,
    kImageList = 103,
    kImageEdit = 104,
    kCheck = 105,
    kDisabled = 106,
    kHidden = 107,
    kMultiLine = 108,
    kReadOnly = 109,
    kBoxStop = 110,
    kBoxExclamation = 111,
    kBoxInformation = 112,
    kBoxQuestion = 113,
    kBoxPlain = 114,
    kDialog = 115,
    kNested = 121,
};

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

class GuiDriver : public ::testing::Test {
protected:
    void SetUp() override {
        log_ = test::FreshTempDir(L"guidriver") + L"\\events.log";
        target_ =
            test::ChildProcess::Start(test::BinDir() + L"\\driver_target.exe", platform::QuoteArgument(log_));
        ASSERT_TRUE(target_.Running()) << "driver_target.exe did not start";
        main_ = WaitForTopWindow(target_.Id(), L"VelmoraDriverTarget", L"Driver Target");
        ASSERT_NE(main_, nullptr) << "the target's window did not appear";
        ASSERT_TRUE(WaitFor([&] { return Count("ready") == 1; })) << "log so far:\n" << Log();
    }

    std::string Log() const { return test::ReadBytes(log_); }
    int Count(const std::string& line) const {
        std::istringstream in(Log());
        int n = 0;
        for (std::string l; std::getline(in, l);)
            n += l == line;
        return n;
    }
    size_t Lines() const {
        std::istringstream in(Log());
        size_t n = 0;
        for (std::string l; std::getline(in, l);)
            ++n;
        return n;
    }
    HWND Ctl(int id) const {
        HWND hwnd = Control(main_, id);
        EXPECT_NE(hwnd, nullptr) << "no control " << id;
        return hwnd;
    }

    std::wstring log_;
    test::ChildProcess target_;
    HWND main_ = nullptr;
};

TEST_F(GuiDriver, FindsTopWindowsByProcessClassAndTitle) {
    DWORD pid = target_.Id();
    EXPECT_EQ(FindTopWindow(pid, L"VelmoraDriverTarget", L"Driver Target"), main_);
    EXPECT_EQ(FindTopWindow(0, L"VelmoraDriverTarget", L"Driver Target"), main_) << "any process";
    EXPECT_EQ(FindTopWindow(pid, L"VelmoraDriverTarget", L"Driver"), nullptr) << "titles match whole";
    EXPECT_EQ(FindTopWindow(pid, L"VelmoraMain", nullptr), nullptr);
    EXPECT_EQ(FindTopWindow(GetCurrentProcessId(), L"VelmoraDriverTarget", nullptr), nullptr)
        << "other process";
    for (HWND hwnd : TopWindows(pid))
        EXPECT_NE(ClassName(hwnd), L"IME") << "helper windows are skipped";
    auto all = TopWindows(pid);
    EXPECT_NE(std::find(all.begin(), all.end(), main_), all.end()) << "TopWindows(pid) found " << all.size();
    EXPECT_FALSE(TopWindows(pid, L"IME").empty()) << "asked for by class, a helper window is found";
}

TEST_F(GuiDriver, WaitForTopWindowGivesUpAfterItsTimeout) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForTopWindow(target_.Id(), L"NoSuchClass", nullptr, 300ms), nullptr);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 3s);
    // Hidden windows do not count: the combo boxes' drop-down lists exist but are not shown.
    EXPECT_FALSE(TopWindows(target_.Id(), L"ComboLBox").empty());
    EXPECT_EQ(WaitForTopWindow(target_.Id(), L"ComboLBox", nullptr, 100ms), nullptr);
}

TEST_F(GuiDriver, FindsControlsAtAnyDepth) {
    HWND nested = Control(main_, kNested);
    ASSERT_NE(nested, nullptr) << "a button inside a panel";
    EXPECT_NE(GetParent(nested), main_);
    EXPECT_EQ(Control(main_, 999), nullptr);
    EXPECT_EQ(ClassName(Control(main_, kImageList)), L"ComboBoxEx32")
        << "the ComboBoxEx, not its inner combo";
    EXPECT_EQ(ControlByText(main_, L"Button", L"Nested"), nested);
    EXPECT_EQ(ControlByText(main_, L"Edit", L"Nested"), nullptr);
    EXPECT_EQ(ControlByText(main_, nullptr, L"hello"), Ctl(kEdit));
}

TEST_F(GuiDriver, ReadsTextsAndStates) {
    struct Case {
        int id;
        std::wstring text;
        bool visible, enabled;
    };
    const Case cases[] = {
        {kEdit, L"hello", true, true},
        {kCombo, L"", true, true},
        {kImageList, L"Away", true, true}, // WM_GETTEXT alone would give ""
        {kImageEdit, L"", true, true},
        {kCheck, L"Remember", true, true},
        {kDisabled, L"Disabled", true, false},
        {kHidden, L"Hidden", false, true},
        {kMultiLine, L"first\r\nsecond", true, true},
        {kReadOnly, L"fixed", true, true},
    };
    for (const Case& c : cases) {
        HWND hwnd = Ctl(c.id);
        EXPECT_EQ(Text(hwnd), c.text) << "control " << c.id << " text " << Narrow(Text(hwnd));
        EXPECT_EQ(IsVisible(hwnd), c.visible) << "control " << c.id;
        EXPECT_EQ(IsEnabled(hwnd), c.enabled) << "control " << c.id;
        EXPECT_EQ(IsUsable(hwnd), c.visible && c.enabled) << "control " << c.id;
    }
    EXPECT_EQ(Text(main_), L"Driver Target");
    EXPECT_EQ(Text(nullptr), L"");
    RECT rc = WindowRect(main_);
    EXPECT_EQ(rc.right - rc.left, 350);
    EXPECT_EQ(rc.bottom - rc.top, 300);
}

TEST_F(GuiDriver, ReadsComboItemsOfBothKinds) {
    struct Case {
        int id;
        std::vector<std::wstring> items;
        int selected;
    };
    const Case cases[] = {
        {kCombo, {L"alpha", L"beta", L"gamma"}, -1},
        {kImageList, {L"Online", L"Away", L"N/A", L"Free For Chat"}, 1},
        {kImageEdit, {L"123456789", L"44556677", std::wstring(64, L'x'), std::wstring(130, L'y')}, -1},
    };
    for (const Case& c : cases) {
        HWND combo = Ctl(c.id);
        EXPECT_EQ(ComboCount(combo), static_cast<int>(c.items.size())) << "combo " << c.id;
        auto items = ComboItems(combo);
        ASSERT_EQ(items.size(), c.items.size()) << "combo " << c.id;
        for (size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i], c.items[i]) << "combo " << c.id << " item " << i << ": " << Narrow(items[i]);
        EXPECT_EQ(ComboSelected(combo), c.selected) << "combo " << c.id;
        EXPECT_EQ(ComboItemText(combo, -1), L"") << "combo " << c.id;
        EXPECT_EQ(ComboItemText(combo, static_cast<int>(c.items.size())), L"") << "combo " << c.id;
    }
}

TEST_F(GuiDriver, SelectingAnItemNotifiesTheParentOnce) {
    struct Case {
        int id;
        int index;
        std::wstring shown;
    };
    const Case cases[] = {{kCombo, 2, L"gamma"},
                          {kImageList, 3, L"Free For Chat"},
                          {kImageList, 0, L"Online"},
                          {kImageEdit, 1, L"44556677"}};
    for (const Case& c : cases) {
        HWND combo = Ctl(c.id);
        std::string expected = "CBN_SELCHANGE " + std::to_string(c.id) + " " + std::to_string(c.index);
        int before = Count(expected);
        ASSERT_TRUE(ComboSelect(combo, c.index)) << "combo " << c.id << " index " << c.index;
        EXPECT_EQ(Count(expected), before + 1) << "combo " << c.id << ", log:\n" << Log();
        EXPECT_EQ(ComboSelected(combo), c.index) << "combo " << c.id;
        EXPECT_EQ(Text(combo), c.shown) << "combo " << c.id << " shows " << Narrow(Text(combo));
    }
}

TEST_F(GuiDriver, RefusesSelectionsAUserCouldNotMake) {
    HWND list = Ctl(kImageList);
    size_t lines = Lines();
    EXPECT_FALSE(ComboSelect(list, 4)) << "past the end";
    EXPECT_FALSE(ComboSelect(list, -1));
    EXPECT_FALSE(ComboSelect(Ctl(kEdit), 0)) << "not a combo box";
    EnableWindow(list, FALSE); // another process's window: the call is carried over as a message
    EXPECT_FALSE(ComboSelect(list, 0)) << "disabled";
    EXPECT_EQ(ComboSelected(list), 1);
    EXPECT_EQ(Lines(), lines) << "nothing reached the window:\n" << Log();
}

TEST_F(GuiDriver, SetTextTypesIntoEditsAndEditableCombos) {
    struct Case {
        int id;
        std::string notification;
    };
    const Case cases[] = {
        {kEdit, "EN_CHANGE 101 typed"},
        {kMultiLine, "EN_CHANGE 108 typed"},
        {kCombo, "CBN_EDITCHANGE 102"},
        {kImageEdit, "CBN_EDITCHANGE 104"},
    };
    for (const Case& c : cases) {
        HWND control = Ctl(c.id);
        size_t lines = Lines();
        ASSERT_TRUE(SetText(control, L"typed")) << "control " << c.id;
        EXPECT_EQ(Text(control), L"typed") << "control " << c.id << " now " << Narrow(Text(control));
        EXPECT_EQ(Count(c.notification), 1) << "control " << c.id << ", log:\n" << Log();
        EXPECT_EQ(Lines(), lines + 1) << "one notification, control " << c.id << ", log:\n" << Log();
    }
}

TEST_F(GuiDriver, SetTextRefusesWhereNobodyCanType) {
    const int refused[] = {kReadOnly, kImageList, kDisabled, kHidden};
    size_t lines = Lines();
    for (int id : refused) {
        HWND control = Ctl(id);
        std::wstring before = Text(control);
        EXPECT_FALSE(SetText(control, L"typed")) << "control " << id;
        EXPECT_EQ(Text(control), before) << "control " << id;
    }
    EXPECT_EQ(Lines(), lines) << Log();
}

TEST_F(GuiDriver, ClicksOnlyWhatAUserCouldClick) {
    HWND check = Ctl(kCheck);
    EXPECT_FALSE(IsChecked(check));
    ASSERT_TRUE(Click(check));
    EXPECT_TRUE(WaitFor([&] { return Count("BN_CLICKED 105 1") == 1; })) << Log();
    EXPECT_TRUE(IsChecked(check));
    ASSERT_TRUE(Click(check));
    EXPECT_TRUE(WaitFor([&] { return Count("BN_CLICKED 105 0") == 1; })) << Log();
    EXPECT_FALSE(IsChecked(check));

    ASSERT_TRUE(Click(Ctl(kNested)));
    EXPECT_TRUE(WaitFor([&] { return Count("BN_CLICKED 121") == 1; })) << Log();

    EXPECT_FALSE(Click(Ctl(kDisabled)));
    EXPECT_FALSE(Click(Ctl(kHidden)));
    EXPECT_FALSE(Click(nullptr));
    // A window that is itself disabled (behind a modal box, say) takes no clicks either.
    EnableWindow(main_, FALSE);
    EXPECT_FALSE(Click(check));
    EnableWindow(main_, TRUE);
    // The click on the nested button was the last thing the target heard of: give a stray click
    // time to arrive, measured by a round trip through the target's message queue.
    ASSERT_TRUE(Click(Ctl(kNested)));
    EXPECT_TRUE(WaitFor([&] { return Count("BN_CLICKED 121") == 2; })) << Log();
    EXPECT_EQ(Count("BN_CLICKED 106"), 0) << Log();
    EXPECT_EQ(Count("BN_CLICKED 107"), 0) << Log();
    EXPECT_EQ(Count("BN_CLICKED 105 1"), 1) << Log();
}

TEST_F(GuiDriver, ReadsAndAnswersMessageBoxes) {
    struct Case {
        int button;
        std::wstring text;
        std::vector<std::wstring> buttons;
        std::vector<int> ids;
        MessageIcon icon;
        int answer;
    };
    const Case cases[] = {
        {kBoxStop, L"Something failed", {L"OK"}, {IDOK}, MessageIcon::Stop, IDOK},
        {kBoxExclamation,
         L"Careful: two lines\nsecond line",
         {L"OK", L"Cancel"},
         {IDOK, IDCANCEL},
         MessageIcon::Exclamation,
         IDCANCEL},
        {kBoxInformation,
         L"For your information",
         {L"&Yes", L"&No"},
         {IDYES, IDNO},
         MessageIcon::Information,
         IDNO},
        {kBoxQuestion,
         L"Really?",
         {L"&Yes", L"&No", L"Cancel"},
         {IDYES, IDNO, IDCANCEL},
         MessageIcon::Question,
         IDYES},
        {kBoxPlain, L"No icon here", {L"OK"}, {IDOK}, MessageIcon::None, IDOK},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(FindMessageBox(target_.Id())) << "box " << c.button << ": no box before the click";
        ASSERT_TRUE(Click(Ctl(c.button))) << "box " << c.button;
        auto box = WaitForMessageBox(target_.Id());
        ASSERT_TRUE(box) << "box " << c.button << " did not appear";
        EXPECT_EQ(box->caption, L"Target Box") << "box " << c.button;
        EXPECT_EQ(box->text, c.text) << "box " << c.button << ": " << Narrow(box->text);
        EXPECT_EQ(box->buttons, c.buttons) << "box " << c.button << ", first " << Narrow(box->buttons.at(0));
        EXPECT_EQ(box->buttonIds, c.ids) << "box " << c.button;
        EXPECT_EQ(box->icon, c.icon) << "box " << c.button << " icon " << Narrow(IconName(box->icon));
        EXPECT_FALSE(IsUsable(Ctl(c.button)))
            << "box " << c.button << ": the owner is disabled while it shows";
        EXPECT_FALSE(AnswerMessageBox(box->hwnd, IDRETRY)) << "box " << c.button << " has no Retry button";
        ASSERT_TRUE(AnswerMessageBox(box->hwnd, c.answer)) << "box " << c.button;
        std::string answer = "answer " + std::to_string(c.button) + " " + std::to_string(c.answer);
        EXPECT_TRUE(WaitFor([&] { return Count(answer) == 1; })) << "box " << c.button << ", log:\n" << Log();
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box->hwnd); })) << "box " << c.button;
    }
}

TEST_F(GuiDriver, ADialogOfTheProgramIsNoMessageBox) {
    // A dialog with a label of id -1 and an OK button, like a box, but with an edit of its own.
    ASSERT_TRUE(Click(Ctl(kDialog)));
    HWND dialog = WaitForTopWindow(target_.Id(), L"#32770", L"Target Dialog");
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(ControlByText(dialog, L"Static", L"Name:"), nullptr);
    EXPECT_EQ(GetDlgCtrlID(ControlByText(dialog, L"Static", L"Name:")) & 0xFFFF, 0xFFFF);
    EXPECT_FALSE(FindMessageBox(target_.Id()));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitForMessageBox(target_.Id(), 200ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
}

TEST_F(GuiDriver, CloseEndsTheProgramThroughItsCloseHandling) {
    Close(main_);
    EXPECT_EQ(target_.Wait(10s), 0);
    EXPECT_EQ(Count("WM_CLOSE"), 1) << Log();
    EXPECT_FALSE(IsWindow(main_));
}

TEST_F(GuiDriver, ScreenshotHoldsTheWindow) {
    std::wstring path = test::FreshTempDir(L"guidriver-shot") + L"\\target.bmp";
    ASSERT_TRUE(SaveWindowBitmap(main_, path));
    std::string bmp = test::ReadBytes(path);
    ASSERT_GE(bmp.size(), 54u);
    auto le32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bmp[at])) |
               static_cast<uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<unsigned char>(bmp[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<unsigned char>(bmp[at + 3])) << 24;
    };
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(le32(18), 350u) << "width";
    EXPECT_EQ(le32(22), 300u) << "height";
    EXPECT_EQ(le32(2), bmp.size()) << "size field";
    // The window's face, its edit and its buttons: far more than one colour.
    Pixels shot = CaptureScreen(WindowRect(main_));
    std::sort(shot.rgb.begin(), shot.rgb.end());
    auto colours = std::unique(shot.rgb.begin(), shot.rgb.end()) - shot.rgb.begin();
    EXPECT_GT(colours, 4) << "the capture looks blank";
    EXPECT_FALSE(SaveWindowBitmap(nullptr, path));
}

} // namespace
} // namespace velmora::gui
