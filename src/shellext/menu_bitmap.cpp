#include "shellext/menu_bitmap.h"

#include <algorithm>
#include <cstring>

namespace glossira::shellext {
namespace {

BITMAPINFO TopDown32(int size)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The bitmap's pixels as 32-bit top-down rows of `size` pixels; the bitmap
// may be taller (a monochrome icon's mask holds the image under it).
bool ReadPixels(HDC dc, HBITMAP bitmap, int size, std::vector<std::uint32_t>& pixels)
{
    BITMAPINFO info = TopDown32(size);
    pixels.assign(static_cast<std::size_t>(size) * size, 0);
    return GetDIBits(dc, bitmap, 0, size, pixels.data(), &info, DIB_RGB_COLORS) == size;
}

}  // namespace

void Premultiply(std::vector<std::uint32_t>& pixels, const std::vector<std::uint32_t>& mask)
{
    const bool hasAlpha = std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p >> 24; });
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        std::uint32_t p = pixels[i];
        std::uint32_t a = p >> 24;
        if (!hasAlpha) a = i < mask.size() && (mask[i] & 0xFFFFFF) ? 0 : 255;
        auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        pixels[i] = a << 24 | scale(p >> 16 & 0xFF) << 16 | scale(p >> 8 & 0xFF) << 8 | scale(p & 0xFF);
    }
}

UINT MenuDpi()
{
    WindowDc screen(nullptr);
    int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UniqueBitmap MenuBitmap(HMODULE module, int iconId, UINT dpi)
{
    const int size = MulDiv(16, static_cast<int>(dpi), 96);
    UniqueIcon icon(static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!icon) return {};
    ICONINFO parts = {};
    if (!GetIconInfo(icon.get(), &parts)) return {};
    UniqueBitmap color(parts.hbmColor), mask(parts.hbmMask);
    if (!color || !mask) return {};

    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return {};
    std::vector<std::uint32_t> pixels, maskPixels;
    if (!ReadPixels(dc.get(), color.get(), size, pixels) || !ReadPixels(dc.get(), mask.get(), size, maskPixels))
        return {};
    Premultiply(pixels, maskPixels);

    BITMAPINFO info = TopDown32(size);
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
    GdiFlush();
    return bitmap;
}

}  // namespace glossira::shellext
