// The COM functions loaded on first use reach the real ones: each fallback answers differently from
// the real call here, so a wrong DLL or function name shows. (The error report uses the others.)
#include "platform/on_demand.h"

#include <gtest/gtest.h>
#include <string>

namespace od = velmora::platform::on_demand;

TEST(OnDemand, ComStartsOnceAndAVariantConverts) {
    ASSERT_EQ(od::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(od::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE) << "the second call";
    od::CoUninitialize();

    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = -4096;
    ASSERT_EQ(od::VariantChangeType(&value, &value, 0, VT_BSTR), S_OK);
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(value.bstrVal, od::SysStringLen(value.bstrVal)), L"-4096");
    EXPECT_EQ(od::VariantClear(&value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY) << "VariantClear left type " << value.vt;

    // The component the report asks for its version. (Wine registers it without its type library,
    // so the report's version stays "?" here; creating it is what this seam has to do.)
    CLSID clsid{};
    ASSERT_EQ(od::CLSIDFromProgID(L"ADODB.Connection", &clsid), S_OK);
    IDispatch* connection = nullptr;
    ASSERT_EQ(od::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDispatch),
                                   reinterpret_cast<void**>(&connection)),
              S_OK);
    connection->Release();
    od::CoUninitialize();
}
