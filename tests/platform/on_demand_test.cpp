// The COM functions loaded on first use reach the real ones: each fallback answers differently
// from the real call here, so a wrong DLL or function name shows. (The shell and version
// functions are used, and checked, by the error report's tests.)
#include "platform/on_demand.h"

#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

namespace od = platform::on_demand;

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
    // The component the report asks for its version. (Wine registers it without its type library,
    // so the report's version stays "?" here; creating it is what this seam has to do.)
    HRESULT found = od::CLSIDFromProgID(L"ADODB.Connection", &clsid);
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

} // namespace
} // namespace velmora
