#include "system_view.h"

#include <objbase.h>
#include <shlobj.h>

namespace glossira::e2e {

std::optional<RegValue> ReadValue(HKEY root, const std::wstring& path, const std::wstring& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    BYTE data[4096] = {};
    DWORD size = sizeof data - 2, type = 0;
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    RegValue v;
    v.type = type;
    if (type == REG_SZ) v.text = reinterpret_cast<const wchar_t*>(data);
    if (type == REG_DWORD) v.number = *reinterpret_cast<const DWORD*>(data);
    return v;
}

std::wstring ReadText(HKEY root, const std::wstring& path, const std::wstring& name)
{
    auto v = ReadValue(root, path, name);
    if (!v) return L"<missing>";
    if (v->type != REG_SZ) return L"<type " + std::to_wstring(v->type) + L">";
    return v->text;
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring SendToFolder()
{
    return ReadText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                    L"SendTo");
}

bool FileExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Shortcut ReadShortcut(const std::wstring& link)
{
    Shortcut result;
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {};
            // From the item list: Wine's GetPath gives the path in the ANSI code page.
            PIDLIST_ABSOLUTE item = nullptr;
            if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shellLink->GetIDList(&item)) &&
                SHGetPathFromIDListW(item, target)) {
                result.target = target;
                if (SUCCEEDED(shellLink->GetArguments(arguments, MAX_PATH))) result.arguments = arguments;
            }
            CoTaskMemFree(item);
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return result;
}

}  // namespace glossira::e2e
