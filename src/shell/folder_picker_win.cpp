#include "shell/folder_picker_win.h"

#include <shobjidl.h>

#include "core/error.h"
#include "core/wide_win.h"
#include "shell/com_win.h"

namespace glossira {
namespace {

[[noreturn]] void Fail(HRESULT hr) { throw Error(SystemMessage(static_cast<DWORD>(hr)), static_cast<DWORD>(hr)); }

}  // namespace

std::optional<std::string> PickFolder(HWND owner, const std::string& title)
{
    ComPtr<IFileOpenDialog> dialog;
    HRESULT hr = CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                  dialog.put());
    if (FAILED(hr)) Fail(hr);
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(Wide(title).c_str());
    hr = dialog->Show(owner);
    if (hr == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return std::nullopt;
    if (FAILED(hr)) Fail(hr);
    ComPtr<IShellItem> item;
    hr = dialog->GetResult(reinterpret_cast<IShellItem**>(item.put()));
    if (FAILED(hr)) Fail(hr);
    wchar_t* path = nullptr;
    hr = item->GetDisplayName(SIGDN_FILESYSPATH, &path);
    if (FAILED(hr)) Fail(hr);
    std::wstring folder(path);
    CoTaskMemFree(path);
    return Narrow(folder);
}

}  // namespace glossira
