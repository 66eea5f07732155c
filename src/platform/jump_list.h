// The taskbar's jump list of this program (Windows 7 and later): tasks that start it again with
// given arguments. Everything here is best effort: a Windows without jump lists, or a shell that
// refuses, leaves the program working as before, and nothing is ever reported to the user.
#pragma once
#include "platform/shell_link.h"

#include <string>
#include <vector>

namespace velmora::platform {

// Velmora's explicit application ID: the taskbar groups the program's windows and keeps its jump
// list under it, also for a copy of the exe started from elsewhere.
inline constexpr wchar_t kAppUserModelId[] = L"Ardentix.Velmora";

// Gives this process the application ID; before the first window shows, so the taskbar files that
// window under it. False where the system has no such call (before Windows 7) or refuses.
bool SetProcessAppId(const wchar_t* id = kAppUserModelId);

struct JumpTask {
    std::wstring title;     // the line in the list
    std::wstring arguments; // what the running exe is started with
    std::wstring description;
};

// The link object of one task: the running exe with the task's arguments, its folder and icon, and
// the title among its properties, where the taskbar reads it. COM must be initialised.
HRESULT NewTaskLink(const JumpTask& task, ComPtr<IShellLinkW>& link);

// Replaces the tasks of the jump list of appId with tasks, in their order (none: the list goes).
// COM is initialised for the call and uninitialised again. S_OK, or the HRESULT of the step that
// failed, for a log at most.
HRESULT SetJumpListTasks(const std::vector<JumpTask>& tasks, const wchar_t* appId = kAppUserModelId);

} // namespace velmora::platform
