#include "errors/report_env.h"

#include "platform/handles.h"
#include "platform/module.h"
#include "platform/on_demand.h"
#include "platform/version_info.h"

#include <windows.h>

namespace velmora::err {
namespace {

namespace od = platform::on_demand;

std::wstring UserLocaleText(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[16];
    int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, ARRAYSIZE(buffer));
    return n > 1 ? std::wstring(buffer, n - 1) : std::wstring(fallback);
}

std::wstring ExeBaseName(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

void ReleaseDispatch(IDispatch* object) {
    object->Release();
}
using UniqueDispatch = platform::UniqueAny<platform::NullTraits<IDispatch*, ReleaseDispatch>>;

// Balances a successful CoInitializeEx; a thread already in another apartment keeps it.
class ComScope {
public:
    ComScope() : initialized_(SUCCEEDED(od::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialized_)
            od::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialized_;
};

std::wstring AskAdoVersion() {
    ComScope com;
    CLSID clsid;
    if (FAILED(od::CLSIDFromProgID(L"ADODB.Connection", &clsid)))
        return L"?";
    UniqueDispatch connection;
    if (FAILED(od::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(connection.put()))) ||
        !connection)
        return L"?";
    wchar_t name[] = L"Version";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    if (FAILED(connection.get()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return L"?";
    DISPPARAMS none{};
    VARIANT result{}; // VT_EMPTY, as VariantInit leaves it
    std::wstring version = L"?";
    if (SUCCEEDED(connection.get()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                           &result, nullptr, nullptr)) &&
        SUCCEEDED(od::VariantChangeType(&result, &result, 0, VT_BSTR)) && result.bstrVal)
        version.assign(result.bstrVal, od::SysStringLen(result.bstrVal));
    od::VariantClear(&result);
    return version;
}

} // namespace

std::wstring ComputerName() {
    wchar_t buffer[256];
    DWORD size = ARRAYSIZE(buffer);
    if (!GetComputerNameW(buffer, &size))
        return {};
    return std::wstring(buffer, size);
}

std::wstring LocalTimeText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TimeStamp(CalendarDate{now.wYear, now.wMonth, now.wDay},
                     ClockTime{now.wHour, now.wMinute, now.wSecond}, UserLocaleText(LOCALE_SDATE, L"/"),
                     UserLocaleText(LOCALE_STIME, L":"));
}

std::wstring ExeVersionText(const std::wstring& exePath) {
    std::optional<platform::ProgramVersion> version = platform::ExeFileVersion(exePath);
    return version ? platform::VersionText(*version) : L"?";
}

std::wstring AdoVersion() {
    // Creating the component loads a DLL and may start COM: once per process is enough.
    static const std::wstring version = AskAdoVersion();
    return version;
}

HeaderFacts CurrentHeaderFacts() {
    static const std::wstring app = ExeBaseName(platform::ProgramPath());
    static const std::wstring version = ExeVersionText(platform::ProgramPath());
    return HeaderFacts{LocalTimeText(), ComputerName(), app, version, AdoVersion()};
}

} // namespace velmora::err
