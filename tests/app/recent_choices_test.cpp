// The recent choices in a scratch settings key of the real registry.
#include "app/recent_choices.h"

#include "settings/settings.h"
#include "support/support.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::app;

namespace {

std::wstring Shown(const std::vector<command_line::StartRequest>& list) {
    std::wstring shown;
    for (const auto& choice : list)
        shown += command_line::BuildArguments(choice) + L" | ";
    return shown;
}

} // namespace

TEST(RecentChoices, NewestFirstFiveAtMostRepeatsMergedGarbageDropped) {
    test::ScratchKey key(HKEY_CURRENT_USER, L"Software\\VelmoraTest\\RecentChoices");
    Reg reg;
    Settings settings(reg);
    settings.SetRegKey(key.path());
    auto stored = [&](const std::wstring& name) {
        return reg.ReadValue(name, key.path(), HKEY_CURRENT_USER).AsText();
    };
    const std::pair<const wchar_t*, RegData> garbage[] = {
        // clang-format off
        {L"Recent1", L"nonsense"}, {L"Recent2", int32_t{5}}, {L"Recent3", L"/user:5 /status:na"},
        {L"Recent4", L"/user:0005 /status:4 /direct"}, {L"Recent5", L"/user:0 /status:away"}, {L"Recent6", L"/user:6 /status:away"},
        // clang-format on
    };
    for (const auto& [name, value] : garbage)
        reg.WriteValue(name, value, value.IsText() ? REG_SZ : REG_DWORD, key.path(), HKEY_CURRENT_USER);
    EXPECT_EQ(test::Narrow(Shown(ReadRecentChoices(settings))), "/user:5 /status:na | ");
    const std::pair<command_line::StartRequest, const wchar_t*> added[] = {
        // clang-format off
        {{L"1-2", L"12", 1, L"Out"}, L"/user:12 /status:away /message:Out | /user:5 /status:na | "},
        {{L"x", std::nullopt, 1}, L"/user:12 /status:away /message:Out | /user:5 /status:na | "},
        {{L"12", L"12", 1, L"Back"}, L"/user:12 /status:away /message:Back | /user:12 /status:away /message:Out | /user:5 /status:na | "},
        {{L"7", L"7", 257, L"dropped", true}, L"/user:7 /status:invisible | /user:12 /status:away /message:Back | /user:12 /status:away /message:Out | /user:5 /status:na | "},
        {{L"012", L"12", 1, L"Out", false}, L"/user:12 /status:away /message:Out | /user:7 /status:invisible | /user:12 /status:away /message:Back | /user:5 /status:na | "},
        {{L"8", L"8", 0}, L"/user:8 /status:online | /user:12 /status:away /message:Out | /user:7 /status:invisible | /user:12 /status:away /message:Back | /user:5 /status:na | "},
        {{L"9", L"9", 2, L"a b"}, L"/user:9 /status:dnd \"/message:a b\" | /user:8 /status:online | /user:12 /status:away /message:Out | /user:7 /status:invisible | /user:12 /status:away /message:Back | "},
        // clang-format on
    };
    for (const auto& [request, expected] : added) {
        std::vector<command_line::StartRequest> list = AddRecentChoice(settings, request);
        EXPECT_EQ(test::Narrow(Shown(list)), test::Narrow(expected))
            << "adding " << test::Narrow(request.typedUser);
        EXPECT_EQ(Shown(ReadRecentChoices(settings)), Shown(list)) << "stored and read back";
        for (size_t i = list.size(); i < kMaxRecentChoices; ++i) // garbage does not linger
            EXPECT_EQ(stored(L"Recent" + std::to_wstring(i + 1)), L"");
    }
    EXPECT_EQ(stored(L"Recent1"), L"/user:9 /status:dnd \"/message:a b\"");
    EXPECT_EQ(stored(L"Recent6"), L"/user:6 /status:away")
        << "a value beyond the five is no choice: untouched";
    std::vector<platform::JumpTask> tasks = RecentTasks(ReadRecentChoices(settings));
    ASSERT_EQ(tasks.size(), 5u);
    EXPECT_EQ(tasks[0].title + L"|" + tasks[0].arguments + L"|" + tasks[0].description,
              L"ICQ Lite 9 (DND)|/user:9 /status:dnd \"/message:a b\"|ICQ Lite 9 (DND): a b");
}
