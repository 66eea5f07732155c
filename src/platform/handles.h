// One RAII owner for every kind of handle: copy is forbidden, move hands the handle over,
// put() serves out-parameters. HWNDs are not owned here: windows die by DestroyWindow.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <utility>

namespace velmora::platform {

// Traits name the handle type, its "nothing" value and how it is closed.
template <typename Traits> class UniqueAny {
public:
    using T = typename Traits::Type;
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.value_, Traits::Invalid()));
        return *this;
    }
    ~UniqueAny() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }
    T release() { return std::exchange(value_, Traits::Invalid()); }
    void reset(T value = Traits::Invalid()) {
        if (value_ != Traits::Invalid())
            Traits::Close(value_);
        value_ = value;
    }
    // Closes what is held and returns the address for an API that fills in a new handle.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Traits::Invalid();
};

template <typename H, auto CloseFn> struct NullTraits {
    using Type = H;
    static constexpr H Invalid() { return H{}; }
    static void Close(H h) { CloseFn(h); }
};
template <auto CloseFn> struct InvalidValueTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseFn(h); }
};

using UniqueHKey = UniqueAny<NullTraits<HKEY, ::RegCloseKey>>;
using UniqueHandle = UniqueAny<NullTraits<HANDLE, ::CloseHandle>>;
using UniqueFileHandle = UniqueAny<InvalidValueTraits<::CloseHandle>>;
using UniqueFindHandle = UniqueAny<InvalidValueTraits<::FindClose>>;
using UniqueIcon = UniqueAny<NullTraits<HICON, ::DestroyIcon>>;
using UniqueGdiObject = UniqueAny<NullTraits<HGDIOBJ, ::DeleteObject>>;
using UniqueImageList = UniqueAny<NullTraits<HIMAGELIST, ::ImageList_Destroy>>;

// The two handles CreateProcess gives back.
struct UniqueProcessInfo {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD processId = 0;
    DWORD threadId = 0;
};

} // namespace velmora::platform
