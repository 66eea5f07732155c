// The choices that started the client most recently, for the taskbar's jump list: at most five
// distinct ones, newest first, kept in the settings key as "Recent1" to "Recent5", each as the
// arguments that start it again (/user:123 /status:away "/message:Out").
#pragma once
#include "app/command_line.h"
#include "platform/jump_list.h"

#include <vector>

namespace velmora {
class NotSavedList;
class Settings;
} // namespace velmora

namespace velmora::app {

inline constexpr size_t kMaxRecentChoices = 5;

// The stored choices, newest first. A value that is no start of a valid number with a status, and a
// choice that an earlier value holds already, is left out.
std::vector<command_line::StartRequest> ReadRecentChoices(const Settings& settings);

// Puts the choice of a successful start at the top and stores the list: an equal choice further
// down goes, and so does the sixth. A choice is user, status and message (a different message is
// another choice: its task starts exactly that); /direct or /manual is not part of it. A request
// without a valid number or a status changes nothing. A value that could not be written goes to
// notSaved when given. Returns the list as it should be stored.
std::vector<command_line::StartRequest> AddRecentChoice(const Settings& settings,
                                                        command_line::StartRequest request,
                                                        NotSavedList* notSaved = nullptr);

// The jump list's tasks for the choices: title and description in words, the arguments that start each.
std::vector<platform::JumpTask> RecentTasks(const std::vector<command_line::StartRequest>& choices);

} // namespace velmora::app
