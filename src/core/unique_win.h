// Move-only owners of Win32 resources, made from one template: a traits
// type names the resource, its empty value and how it is released.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace glossira {

template <class Traits>
class Unique {
public:
    using Type = typename Traits::Type;
    Unique() = default;
    explicit Unique(Type value) : value_(value) {}
    ~Unique() { reset(); }
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Empty(); }
    Type release() { return std::exchange(value_, Traits::Empty()); }
    void reset(Type value = Traits::Empty())
    {
        if (value_ != Traits::Empty()) Traits::Close(value_);
        value_ = value;
    }
    // For APIs that return the resource through a pointer.
    Type* put()
    {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::Empty();
};

// Most resources are empty as NULL and released by one function.
template <class T, auto Release>
struct NullTraits {
    using Type = T;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { Release(h); }
};
struct FileHandleTraits {  // CreateFile's, empty as INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};

struct FindTraits {  // FindFirstFileEx's, empty as INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};

using UniqueHandle = Unique<NullTraits<HANDLE, &::CloseHandle>>;  // kernel objects
using UniqueFile = Unique<FileHandleTraits>;
using UniqueFind = Unique<FindTraits>;
using UniqueKey = Unique<NullTraits<HKEY, &::RegCloseKey>>;
using UniqueGlobal = Unique<NullTraits<HGLOBAL, &::GlobalFree>>;
using UniqueFont = Unique<NullTraits<HFONT, &::DeleteObject>>;
using UniqueBrush = Unique<NullTraits<HBRUSH, &::DeleteObject>>;
using UniqueBitmap = Unique<NullTraits<HBITMAP, &::DeleteObject>>;
using UniqueIcon = Unique<NullTraits<HICON, &::DestroyIcon>>;
using UniqueMemoryDc = Unique<NullTraits<HDC, &::DeleteDC>>;  // CreateCompatibleDC's
using UniqueImageList = Unique<NullTraits<HIMAGELIST, &::ImageList_Destroy>>;
using UniqueHook = Unique<NullTraits<HHOOK, &::UnhookWindowsHookEx>>;
using UniqueMenu = Unique<NullTraits<HMENU, &::DestroyMenu>>;  // until a menu owns it

// A window's device context (the screen's for no window) from GetDC,
// released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context until the end of the scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~Selection()
    {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// CoUninitialize only after a successful CoInitializeEx.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

}  // namespace glossira
