// Stands in for the mail program and the browser: the shell starts it for a URL, and it records its
// command line as "commandline" (format: common/record_log.h) in the file VELMORA_URL_RECORD names.
#include "common/record_log.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    velmora::tools::RecordLog log(L"VELMORA_URL_RECORD");
    if (!log)
        return 1;
    log.Write(L"commandline", GetCommandLineW());
    return 0;
}
