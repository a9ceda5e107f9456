#include "shellext/selection_data.h"

#include <string_view>

#include "core/drop_files.h"

namespace glossira::shellext {
namespace {

// A storage medium released with ReleaseStgMedium.
class Medium {
public:
    Medium() = default;
    ~Medium()
    {
        if (held_) ReleaseStgMedium(&medium_);
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    STGMEDIUM* put()
    {
        held_ = true;
        return &medium_;
    }
    DWORD type() const { return medium_.tymed; }
    HGLOBAL global() const { return medium_.hGlobal; }

private:
    STGMEDIUM medium_ = {};
    bool held_ = false;
};

// A global memory block locked for reading.
class GlobalView {
public:
    explicit GlobalView(HGLOBAL global) : global_(global), data_(static_cast<const char*>(GlobalLock(global))) {}
    ~GlobalView()
    {
        if (data_) GlobalUnlock(global_);
    }
    GlobalView(const GlobalView&) = delete;
    GlobalView& operator=(const GlobalView&) = delete;
    std::string_view bytes() const { return data_ ? std::string_view(data_, GlobalSize(global_)) : std::string_view(); }

private:
    HGLOBAL global_;
    const char* data_;
};

std::wstring FromAnsi(const std::string& text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// The dropped file names, each of any length.
std::vector<std::wstring> DroppedPaths(HGLOBAL global)
{
    std::vector<std::wstring> paths;
    GlobalView view(global);
    auto list = ParseDropFiles(view.bytes());
    if (!list) return paths;
    paths.reserve(list->paths.size() + list->narrow.size());
    for (const auto& path : list->paths) paths.emplace_back(path.begin(), path.end());
    for (const auto& path : list->narrow) paths.push_back(FromAnsi(path));  // the ANSI form's code page
    return paths;
}

}  // namespace

HRESULT ReadSelection(IDataObject* data, std::vector<std::wstring>& paths)
{
    try {
        paths.clear();
        if (!data) return E_INVALIDARG;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        Medium medium;
        HRESULT hr = data->GetData(&format, medium.put());
        if (FAILED(hr)) return hr;
        if (medium.type() != TYMED_HGLOBAL) return DV_E_TYMED;  // another medium's handle is no memory block
        paths = DroppedPaths(medium.global());
        return S_OK;
    } catch (...) {
        paths.clear();
        return E_OUTOFMEMORY;
    }
}

}  // namespace glossira::shellext
