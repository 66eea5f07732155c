// A plain HTTP(S) GET through WinHTTP, the system's own client: blocking, bounded in time and size,
// safe to call on any thread (it touches nothing but its own handles and never throws).
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

namespace velmora::platform {

struct HttpReply {
    enum class Outcome {
        Answered,     // the server answered: see status and body
        NoConnection, // the name did not resolve, the connection was refused or broke off
        TimedOut,     // the time given ran out
        TooLarge,     // the body is longer than allowed; body holds what was read
        Failed,       // anything else (an address WinHTTP does not take, out of memory, ...)
    };
    Outcome outcome = Outcome::Failed;
    uint32_t status = 0;      // the server's HTTP status when it answered
    uint32_t systemError = 0; // the WinHTTP or system error code when it did not
    std::string body;
};

// Fetches url with the Cache-Control of a fresh request (no cached copy on the way). Name lookup,
// connecting, sending and receiving together take at most `budget`; more than maxBody bytes of
// body end the fetch as TooLarge.
HttpReply HttpGet(const std::wstring& url, const std::wstring& userAgent, std::chrono::milliseconds budget,
                  size_t maxBody);

} // namespace velmora::platform
