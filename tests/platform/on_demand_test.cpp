// The functions loaded on first use reach the real system functions: each fallback answers
// differently from the real call here, so a wrong DLL or function name shows.
#include "platform/on_demand.h"

#include "support/support.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <string>
#include <vector>

namespace velmora {
namespace {

namespace od = platform::on_demand;

TEST(OnDemand, ShellExecuteReportsAMissingFileNotAMissingDll) {
    std::wstring missing = test::FreshTempDir(L"OnDemandShell") + L"\\no such file.txt";
    auto result = reinterpret_cast<INT_PTR>(
        od::ShellExecuteW(nullptr, L"open", missing.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    EXPECT_TRUE(result == SE_ERR_FNF || result == SE_ERR_PNF) << "ShellExecuteW gave " << result;
}

TEST(OnDemand, ComStartsOnceAndAVariantConverts) {
    HRESULT first = od::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT second = od::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(first, S_OK) << "first CoInitializeEx: 0x" << std::hex << first;
    EXPECT_EQ(second, S_FALSE) << "second CoInitializeEx: 0x" << std::hex << second;

    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = -4096;
    HRESULT changed = od::VariantChangeType(&value, &value, 0, VT_BSTR);
    ASSERT_EQ(changed, S_OK) << "VariantChangeType: 0x" << std::hex << changed;
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(value.bstrVal, od::SysStringLen(value.bstrVal)), L"-4096");
    EXPECT_EQ(od::VariantClear(&value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY) << "VariantClear left type " << value.vt;

    CLSID clsid{};
    HRESULT found = od::CLSIDFromProgID(L"VelmoraNoSuch.Component", &clsid);
    EXPECT_EQ(found, CO_E_CLASSSTRING) << "an unknown ProgID gave 0x" << std::hex << found;
    // The component the report asks for its version. (Wine registers it without its type library,
    // so the report's version stays "?" here; creating it is what this seam has to do.)
    found = od::CLSIDFromProgID(L"ADODB.Connection", &clsid);
    ASSERT_EQ(found, S_OK) << "ADODB.Connection: 0x" << std::hex << found;
    IDispatch* connection = nullptr;
    HRESULT created = od::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDispatch),
                                           reinterpret_cast<void**>(&connection));
    EXPECT_EQ(created, S_OK) << "CoCreateInstance: 0x" << std::hex << created;
    if (connection)
        connection->Release();
    if (SUCCEEDED(second))
        od::CoUninitialize();
    if (SUCCEEDED(first))
        od::CoUninitialize();
}

TEST(OnDemand, VersionResourceOfTheProgramIsRead) {
    std::wstring exe = test::BinDir() + L"\\velmora.exe";
    DWORD ignored = 1;
    DWORD size = od::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource found, error " << GetLastError();
    std::vector<BYTE> data(size);
    ASSERT_TRUE(od::GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) << "error " << GetLastError();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(od::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu) << "signature 0x" << std::hex << info->dwSignature;

    std::wstring none = test::FreshTempDir(L"OnDemandVersion") + L"\\none.exe";
    EXPECT_EQ(od::GetFileVersionInfoSizeW(none.c_str(), &ignored), 0u) << "a missing file has a version";
}

} // namespace
} // namespace velmora
