// Runs Wine's (or Windows') own reg.exe, so that tests check registry views independently of the
// program's registry wrapper.
#pragma once
#include <string>

namespace velmora::test {

// Runs "reg.exe <arguments>" and returns its exit code; its standard output goes to output.
int RunRegTool(const std::wstring& arguments, std::string* output = nullptr);

} // namespace velmora::test
