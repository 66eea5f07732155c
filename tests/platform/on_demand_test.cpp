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
    ASSERT_TRUE(od::VariantChangeType(&value, &value, 0, VT_BSTR) == S_OK && value.vt == VT_BSTR);
    EXPECT_EQ(std::wstring(value.bstrVal, od::SysStringLen(value.bstrVal)), L"-4096");
    EXPECT_TRUE(od::VariantClear(&value) == S_OK && value.vt == VT_EMPTY) << "VariantClear left " << value.vt;
    // The component the report asks for its version (under Wine without its type library: "?").
    CLSID clsid{};
    ASSERT_EQ(od::CLSIDFromProgID(L"ADODB.Connection", &clsid), S_OK);
    void* connection = nullptr;
    ASSERT_EQ(od::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, &connection), S_OK);
    static_cast<IDispatch*>(connection)->Release();
    od::CoUninitialize();
}
