// The Windows half of the report: the facts about this machine and program that the header shows.
#pragma once
#include "errors/report_text.h"

#include <cstdint>
#include <string>

namespace velmora::err {

// Time and computer name are read at each call; the program's name and version and the version of
// the database component cannot change while the program runs and are looked up once.
HeaderFacts CurrentHeaderFacts();

// The computer's NetBIOS name; empty when the system does not give it.
std::wstring ComputerName();
// Now, as "MM/dd/yy HH:mm:ss" with the user's date and time separators.
std::wstring LocalTimeText();
// "major.minor.revision" from an exe's version resource, read as everywhere in the program
// (platform/version_info.h); "?" when there is none.
std::wstring ExeVersionText(const std::wstring& exePath);
// The Version property of "ADODB.Connection" asked through COM; "?" on any failure.
std::wstring AdoVersion();

} // namespace velmora::err
