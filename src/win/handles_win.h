// Owners for the platform's handles: each closes its handle exactly once.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <utility>

namespace tollivar {

template <typename Handle, typename Traits>
class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle h) : h_(h) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
        return *this;
    }
    ~Owned() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    Handle release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

  private:
    Handle h_ = Traits::Invalid();
};

struct KernelHandleTraits { // processes, threads, files opened for use
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits { // CreateFile and Toolhelp snapshots fail with INVALID_HANDLE_VALUE
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct FontTraits {
    static HFONT Invalid() { return nullptr; }
    static void Close(HFONT h) { DeleteObject(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};
struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};

using UniqueHandle = Owned<HANDLE, KernelHandleTraits>;
using UniqueFile = Owned<HANDLE, FileHandleTraits>;
using UniqueSnapshot = Owned<HANDLE, FileHandleTraits>;
using UniqueFind = Owned<HANDLE, FindHandleTraits>;
using UniqueKey = Owned<HKEY, RegKeyTraits>;
using UniqueGdiObject = Owned<HGDIOBJ, GdiObjectTraits>;
using UniqueFont = Owned<HFONT, FontTraits>;
using UniqueMenu = Owned<HMENU, MenuTraits>;
using UniqueImageList = Owned<HIMAGELIST, ImageListTraits>;

} // namespace tollivar
