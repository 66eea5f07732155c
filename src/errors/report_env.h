// The Windows half of the report: the facts about this machine and program that the header shows,
// and the user's regional settings for argument values.
#pragma once
#include "errors/report_text.h"

#include <cstdint>
#include <string>

namespace velmora::err {

// Time and computer name are read at each call; the program's name and version and the version of
// the database component cannot change while the program runs and are looked up once.
HeaderFacts CurrentHeaderFacts();
// The user's decimal separator, short date and time forms.
ValueFormat UserValueFormat();

// The computer's NetBIOS name; empty when the system does not give it.
std::wstring ComputerName();
// Now, as "MM/dd/yy HH:mm:ss" with the user's date and time separators.
std::wstring LocalTimeText();
// "major.minor.revision" from an exe's version resource, read as everywhere in the program
// (platform/version_info.h); "?" when there is none.
std::wstring ExeVersionText(const std::wstring& exePath);
// The Version property of "ADODB.Connection" asked through COM; "?" on any failure.
std::wstring AdoVersion();
// The system's message for an error code in the default language, fit for one line; empty when
// there is none.
std::wstring ApiErrorText(uint32_t code);

} // namespace velmora::err
