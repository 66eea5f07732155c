// COM for the length of one call, and the interfaces it hands out, released by their owner.
#pragma once
#include "platform/handles.h"
#include "platform/on_demand.h"

namespace velmora::platform {

inline void ReleaseInterface(IUnknown* object) {
    object->Release();
}
// put() serves the void** of CoCreateInstance and QueryInterface through PutVoid.
template <typename I> using ComPtr = UniqueAny<NullTraits<I*, ReleaseInterface>>;
template <typename I> void** PutVoid(ComPtr<I>& pointer) {
    return reinterpret_cast<void**>(pointer.put());
}

// Initialises COM apartment-threaded on this thread, as the shell's objects want it, and leaves the
// thread as it was found: every successful initialisation, also the S_FALSE of a thread that had
// COM already, is paired with an uninitialisation. A thread in the multithreaded apartment stays
// there (RPC_E_CHANGED_MODE); shell links work there too. Interfaces die before it: declare it first.
class ComApartment {
public:
    ComApartment()
        : result_(on_demand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            on_demand::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // S_OK when COM can be used on this thread, else why not.
    HRESULT Result() const { return result_ == RPC_E_CHANGED_MODE || SUCCEEDED(result_) ? S_OK : result_; }

private:
    HRESULT result_;
};

} // namespace velmora::platform
