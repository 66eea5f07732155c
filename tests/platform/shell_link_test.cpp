// Shortcuts and jump-list tasks through Wine's real shell32: saved in a scratch folder, read back
// through the shell's link object, their arguments read as the command line again. Wine has no
// taskbar: the jump list itself can only be called, and what Wine answers is pinned.
#include "app/command_line.h"
#include "platform/file_name.h"
#include "platform/jump_list.h"
#include "support/support.h"

#include <commctrl.h>
#include <propkey.h>
#include <propsys.h>
#include <shlobj.h>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::platform;

TEST(ShellLink, FileNamesComeBackAsMade) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        // clang-format off
        {L"ICQ Lite 1 (N/A)", L"ICQ Lite 1 (N_A)"}, {L"a\\b/c:d*e?f\"g<h>i|j", L"a_b_c_d_e_f_g_h_i_j"},
        {L"t\tab\r\n", L"t_ab__"}, {L"  name. . ", L"name"}, {L"...", L"_"}, {L"", L"_"}, {L"CON", L"_CON"},
        {L"nul.txt", L"_nul.txt"}, {L"com1", L"_com1"}, {L"LPT9 ", L"_LPT9"}, {L"COM\u00B9", L"_COM\u00B9"},
        {L"COM10", L"COM10"}, {L"CONSOLE", L"CONSOLE"}, {L"\u05D0\u05D1 (\x00e4)", L"\u05D0\u05D1 (\x00e4)"},
        {std::wstring(99, L'a') + L"\U0001F600b", std::wstring(99, L'a')}, {std::wstring(120, L'b'), std::wstring(100, L'b')},
        // clang-format on
    };
    std::wstring dir = test::FreshTempDir(L"file-names") + L"\\";
    for (const auto& [name, expected] : cases) {
        std::wstring safe = SafeFileName(name);
        EXPECT_EQ(safe, expected) << test::Narrow(name);
        WIN32_FIND_DATAW found{};
        UniqueFileHandle file(CreateFileW((dir + safe + L".lnk").c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        UniqueFindHandle find(FindFirstFileW((dir + safe + L".lnk").c_str(), &found));
        EXPECT_TRUE(file && find && found.cFileName == safe + L".lnk")
            << test::Narrow(safe) << " made " << test::Narrow(found.cFileName);
    }
    test::RemoveTree(dir);
}

// Each choice is saved over the one before under the same name and read back field by field (that
// its arguments read as the same request again is the command line's test).
TEST(ShellLink, ShortcutsHoldEveryFieldExactly) {
    namespace cl = app::command_line;
    const std::wstring dir = test::FreshTempDir(L"shortcuts"), exe = ProgramPath(),
                       path = dir + L"\\choice.lnk";
    const size_t room = kMaxShortcutArguments - cl::BuildArguments({L"7", L"7", 1, L""}).size();
    const std::wstring messages[] = {
        // clang-format off
        L"Out for lunch", L"say \"hi\"\\", L"%PATH% 100%", L"\x00e4\x05D0\x20ac\U0001F600", L"line 1\r\nline 2", L"",
        std::wstring(room, L'x'),
        // clang-format on
    };
    for (const std::wstring& message : messages) {
        cl::StartRequest request{L"7", L"7", 1, message};
        Shortcut shortcut{exe, cl::BuildArguments(request), dir, exe, 0, cl::ChoiceDescription(request)};
        ASSERT_EQ(SaveShortcut(path, shortcut), S_OK) << test::Narrow(shortcut.arguments);
        EXPECT_EQ(test::LoadedLink(path), exe + L"|" + shortcut.arguments + L"|" + dir + L"|" + exe + L",0|" +
                                              shortcut.description.substr(0, INFOTIPSIZE - 1));
    }
    // One more character is refused, not cut: the last shortcut stays.
    Shortcut longer{exe, cl::BuildArguments({L"7", L"7", 1, std::wstring(room + 1, L'x')}), dir, exe};
    EXPECT_EQ(SaveShortcut(path, longer), E_INVALIDARG);
    EXPECT_NE(test::LoadedLink(path).find(std::wstring(room, L'x') + L"|"), std::wstring::npos)
        << "the shortcut before was replaced or removed";
    EXPECT_EQ(on_demand::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "COM left initialised";
    on_demand::CoUninitialize();
    test::RemoveTree(dir);
    wchar_t desktop[MAX_PATH] = L""; // the same folder through the older call
    on_demand::Function<decltype(&::SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW")(
        nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
    EXPECT_EQ(DesktopShortcutPath(L"ICQ Lite 7 (N/A)"), std::wstring(desktop) + L"\\ICQ Lite 7 (N_A).lnk");
}

// A task is a link to the running exe with its title among its properties (which Wine takes but
// cannot give back); the list itself is Wine's to refuse (E_NOTIMPL), Windows' to take.
TEST(JumpList, TasksAreLinksToThisExeAndTheListIsBestEffort) {
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    EXPECT_TRUE(SetProcessAppId());
    const JumpTask task{L"ICQ Lite 7 (Away)", L"/user:7 /status:away \"/message:a b\"", L"a b"};
    {
        ComApartment com;
        ComPtr<IShellLinkW> link;
        ComPtr<IPropertyStore> properties;
        ASSERT_EQ(NewTaskLink(task, link), S_OK);
        EXPECT_EQ(test::LinkFields(link.get()), ProgramPath() + L"|" + task.arguments + L"|" +
                                                    ProgramFolder() + L"|" + ProgramPath() + L",0|" +
                                                    task.description);
        PROPVARIANT title{};
        ASSERT_EQ(link.get()->QueryInterface(__uuidof(IPropertyStore), PutVoid(properties)), S_OK);
        EXPECT_EQ(properties.get()->GetValue(PKEY_Title, &title), wine ? E_NOTIMPL : S_OK)
            << "reading the title";
        EXPECT_TRUE(wine || (title.vt == VT_LPWSTR && title.pwszVal == task.title))
            << "title of type " << title.vt;
        on_demand::CoTaskMemFree(title.vt == VT_LPWSTR ? title.pwszVal : nullptr);
    }
    EXPECT_EQ(SetJumpListTasks({task, task}), wine ? E_NOTIMPL : S_OK);
    EXPECT_EQ(SetJumpListTasks({}), wine ? E_NOTIMPL : S_OK) << "the list taken away";
    EXPECT_EQ(on_demand::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "COM left initialised";
    on_demand::CoUninitialize();
}
