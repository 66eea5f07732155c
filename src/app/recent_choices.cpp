#include "app/recent_choices.h"

#include "client/status.h"
#include "settings/settings.h"

#include <algorithm>

namespace velmora::app {
namespace {

using command_line::StartRequest;

std::wstring ValueName(size_t index) {
    return L"Recent" + std::to_wstring(index + 1);
}

// The request as a choice: its canonical number, no login switch, no message for a status without
// one; nothing when it names no valid number and status.
std::optional<StartRequest> AsChoice(StartRequest request) {
    if (!request.user || !request.status || !status::Find(*request.status))
        return std::nullopt;
    request.typedUser = *request.user;
    request.direct.reset();
    if (!status::Find(*request.status)->HasMessage())
        request.message.reset();
    return request;
}

void AddOnce(std::vector<StartRequest>& list, const StartRequest& choice) {
    if (std::ranges::find(list, choice) == list.end() && list.size() < kMaxRecentChoices)
        list.push_back(choice);
}

} // namespace

std::vector<StartRequest> ReadRecentChoices(const Settings& settings) {
    std::vector<StartRequest> list;
    for (size_t i = 0; i < kMaxRecentChoices; ++i) {
        command_line::Parsed parsed = command_line::ParseArguments(settings.ReadValue(ValueName(i)));
        std::optional<StartRequest> choice = AsChoice(parsed.request);
        if (parsed.kind == command_line::Kind::Start && choice)
            AddOnce(list, *choice);
    }
    return list;
}

// Only the values whose text changes are written; a value the shorter list no longer fills is
// emptied, so that it cannot come back.
std::vector<StartRequest> AddRecentChoice(const Settings& settings, StartRequest request,
                                          NotSavedList* notSaved) {
    std::optional<StartRequest> choice = AsChoice(std::move(request));
    std::vector<StartRequest> old = ReadRecentChoices(settings);
    if (!choice)
        return old;
    std::vector<StartRequest> list{*choice};
    for (const StartRequest& earlier : old)
        AddOnce(list, earlier);
    for (size_t i = 0; i < kMaxRecentChoices; ++i) {
        std::wstring text = i < list.size() ? command_line::BuildArguments(list[i]) : L"";
        if (settings.ReadValue(ValueName(i)) != text)
            settings.WriteValue(ValueName(i), text, notSaved);
    }
    return list;
}

std::vector<platform::JumpTask> RecentTasks(const std::vector<StartRequest>& choices) {
    std::vector<platform::JumpTask> tasks;
    for (const StartRequest& choice : choices)
        tasks.push_back({command_line::ChoiceTitle(choice), command_line::BuildArguments(choice),
                         command_line::ChoiceDescription(choice)});
    return tasks;
}

} // namespace velmora::app
