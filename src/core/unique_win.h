// Move-only owners of Win32 resources, made from one template: a traits
// type names the resource, its empty value and how it is released.
#pragma once

#include <windows.h>

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

struct HandleTraits {  // kernel objects whose empty value is NULL
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFile's, empty as INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
struct GlobalTraits {
    using Type = HGLOBAL;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::GlobalFree(h); }
};
struct FontTraits {
    using Type = HFONT;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
struct BrushTraits {
    using Type = HBRUSH;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
struct BitmapTraits {
    using Type = HBITMAP;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};
struct MemoryDcTraits {  // CreateCompatibleDC's
    using Type = HDC;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { ::DeleteDC(h); }
};

using UniqueHandle = Unique<HandleTraits>;
using UniqueFile = Unique<FileHandleTraits>;
using UniqueKey = Unique<RegKeyTraits>;
using UniqueGlobal = Unique<GlobalTraits>;
using UniqueFont = Unique<FontTraits>;
using UniqueBrush = Unique<BrushTraits>;
using UniqueBitmap = Unique<BitmapTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;

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
