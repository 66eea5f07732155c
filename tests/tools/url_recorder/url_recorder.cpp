// Stands in for the mail program and the browser: the shell starts it for a URL, and it records its
// command line as "commandline" (format: common/record_log.h) in the file VELMORA_URL_RECORD names.
// With VELMORA_URL_RECORD_HOLD naming an event, it then plays a browser that is slow to come up: it
// takes no messages until the event is set (at most 30 s).
#include "common/record_log.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    velmora::tools::RecordLog log(L"VELMORA_URL_RECORD");
    if (!log)
        return 1;
    log.Write(L"commandline", GetCommandLineW());
    if (auto hold = velmora::tools::Environment(L"VELMORA_URL_RECORD_HOLD")) {
        velmora::platform::UniqueHandle event(OpenEventW(SYNCHRONIZE, FALSE, hold->c_str()));
        if (event)
            WaitForSingleObject(event.get(), 30000);
    }
    return 0;
}
