#include "platform/http.h"

#include "platform/handles.h"
#include "platform/on_demand.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <climits>
#include <new>

namespace velmora::platform {
namespace {

using Clock = std::chrono::steady_clock;

// WinHTTP is loaded on first use, from the system folder only. Imported, it would load with the
// program (and under Wine bring oleaut32 along) for a check that runs only when the user asks.
struct WinHttpApi {
#define VELMORA_WINHTTP(name)                                                                                \
    decltype(&::WinHttp##name) name =                                                                        \
        on_demand::Function<decltype(&::WinHttp##name)>(L"winhttp.dll", "WinHttp" #name)
    VELMORA_WINHTTP(Open);
    VELMORA_WINHTTP(SetOption);
    VELMORA_WINHTTP(CrackUrl);
    VELMORA_WINHTTP(Connect);
    VELMORA_WINHTTP(OpenRequest);
    VELMORA_WINHTTP(SetTimeouts);
    VELMORA_WINHTTP(SendRequest);
    VELMORA_WINHTTP(ReceiveResponse);
    VELMORA_WINHTTP(QueryHeaders);
    VELMORA_WINHTTP(ReadData);
    VELMORA_WINHTTP(CloseHandle);
#undef VELMORA_WINHTTP
    bool Complete() const {
        return Open && SetOption && CrackUrl && Connect && OpenRequest && SetTimeouts && SendRequest &&
               ReceiveResponse && QueryHeaders && ReadData && CloseHandle;
    }
};

const WinHttpApi& Api() {
    static const WinHttpApi api;
    return api;
}

void CloseInternet(HINTERNET handle) {
    Api().CloseHandle(handle);
}
using UniqueInternet = UniqueAny<NullTraits<HINTERNET, CloseInternet>>;

// Opens a session with the user's proxy settings where the system can find them itself
// (Windows 8.1 and later); Windows 7 refuses that access type and gets the machine's WinHTTP
// proxy setting instead.
UniqueInternet OpenSession(const std::wstring& userAgent) {
    UniqueInternet session(Api().Open(userAgent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        session.reset(Api().Open(userAgent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0));
    if (session) {
        // TLS 1.2 is off by default in Windows 7's WinHTTP; where the system cannot do it at all,
        // the option is refused and the defaults stay.
        DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1 |
                          WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
        Api().SetOption(session.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof(protocols));
    }
    return session;
}

HttpReply Failure(DWORD code) {
    HttpReply reply;
    reply.systemError = code;
    switch (code) {
    case ERROR_WINHTTP_TIMEOUT:
        reply.outcome = HttpReply::Outcome::TimedOut;
        break;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
        reply.outcome = HttpReply::Outcome::NoConnection;
        break;
    default:
        reply.outcome = HttpReply::Outcome::Failed;
    }
    return reply;
}

class Fetch {
public:
    explicit Fetch(std::chrono::milliseconds budget) : deadline_(Clock::now() + budget) {}

    // Gives every phase of the request what is left of the budget; false once it is spent.
    bool LimitTime(HINTERNET request) const {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
        if (left <= 0)
            return false;
        int ms = static_cast<int>(std::min<long long>(left, INT_MAX));
        DWORD headers = static_cast<DWORD>(ms); // waiting for the headers has a limit of its own (90 s)
        return Api().SetTimeouts(request, ms, ms, ms, ms) &&
               Api().SetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headers, sizeof(headers));
    }

    HttpReply Get(const std::wstring& url, const std::wstring& userAgent, size_t maxBody) const {
        if (!Api().Complete())
            return Failure(ERROR_PROC_NOT_FOUND);
        URL_COMPONENTS parts{sizeof(parts)};
        parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
        if (!Api().CrackUrl(url.c_str(), 0, 0, &parts) ||
            (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
            return Failure(ERROR_WINHTTP_UNRECOGNIZED_SCHEME);
        std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
        std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                            std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);

        UniqueInternet session = OpenSession(userAgent);
        if (!session)
            return Failure(GetLastError());
        UniqueInternet connection(Api().Connect(session.get(), host.c_str(), parts.nPort, 0));
        if (!connection)
            return Failure(GetLastError());
        DWORD flags =
            WINHTTP_FLAG_REFRESH | (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
        UniqueInternet request(Api().OpenRequest(connection.get(), L"GET", path.empty() ? L"/" : path.c_str(),
                                                 nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                 flags));
        if (!request)
            return Failure(GetLastError());
        if (!LimitTime(request.get()) ||
            !Api().SendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                               0) ||
            !LimitTime(request.get()) || !Api().ReceiveResponse(request.get(), nullptr))
            return Stopped();

        HttpReply reply;
        DWORD status = 0, size = sizeof(status);
        if (!Api().QueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
            return Failure(GetLastError());
        reply.status = status;
        char buffer[8192];
        for (;;) {
            DWORD read = 0;
            if (!LimitTime(request.get()) || !Api().ReadData(request.get(), buffer, sizeof(buffer), &read))
                return Stopped();
            if (read == 0)
                break;
            reply.body.append(buffer, read);
            if (reply.body.size() > maxBody) {
                reply.outcome = HttpReply::Outcome::TooLarge;
                return reply;
            }
        }
        reply.outcome = HttpReply::Outcome::Answered;
        return reply;
    }

private:
    // A call failed: either the budget ran out under it, or for its own reason.
    HttpReply Stopped() const {
        DWORD code = GetLastError();
        return Failure(Clock::now() >= deadline_ ? ERROR_WINHTTP_TIMEOUT : code);
    }
    Clock::time_point deadline_;
};

} // namespace

HttpReply HttpGet(const std::wstring& url, const std::wstring& userAgent, std::chrono::milliseconds budget,
                  size_t maxBody) {
    try {
        return Fetch(budget).Get(url, userAgent, maxBody);
    } catch (const std::bad_alloc&) {
        return Failure(ERROR_NOT_ENOUGH_MEMORY);
    }
}

} // namespace velmora::platform
