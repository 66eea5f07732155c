// The two trap shapes. A trapped procedure wraps its body in exactly one of them:
//
//     return err::Trap(L"clsStarter.User(strICQNumber)", err::Args(number), [&] { ... });
//     err::EventTrap(L"frmMain.cbtnStart_Click", err::NoArgs(), [&] { ... });
//
// Trap records the call-stack line and throws on to the caller; EventTrap records the line and
// shows the report, and never lets anything escape (window procedures must not throw).
#pragma once
#include "errors/err_trace.h"

#include <type_traits>
#include <utility>

namespace velmora::err {

template <typename F> auto Trap(std::wstring_view signature, ArgList args, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        CaptureCurrentException();
        ErrorIn(signature, args, ERRIN_NESTED);
        throw; // not reached: ErrorIn throws with ERRIN_RERAISE
    }
}

template <typename F> void EventTrap(std::wstring_view signature, ArgList args, F&& body) noexcept {
    try {
        std::forward<F>(body)();
    } catch (...) {
        try {
            CaptureCurrentException();
            ErrorIn(signature, args, ERRIN_TOPLEVEL);
            ErrShowReport();
        } catch (...) {
        }
    }
}

// Runs body with errors ignored: a failure is swallowed and the fallback returned.
template <typename F, typename R> R IgnoreErrors(F&& body, R fallback) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        return fallback;
    }
}

} // namespace velmora::err
