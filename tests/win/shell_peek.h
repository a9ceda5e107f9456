// Reading the real registry, shell links and message boxes straight through
// Win32, independently of the program's own code.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/wide_win.h"

namespace glossira::peek {

inline bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The stored names of the subkeys, with the case they were created with.
inline std::vector<std::string> SubKeys(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(Narrow(std::wstring(name, len)));
    }
    RegCloseKey(key);
    return names;
}

// Every value as `name=REG_SZ:data` (default value: `@`), in stored order
// and with the stored case of its name; string data must end in one NUL.
inline std::vector<std::string> Values(HKEY root, const std::string& path)
{
    std::vector<std::string> out;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLen = 256, type = 0, size = 0;
        BYTE data[2048];
        size = sizeof data;
        if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        std::string text = nameLen ? Narrow(std::wstring(name, nameLen)) : "@";
        if (type == REG_SZ) {
            const wchar_t* w = reinterpret_cast<const wchar_t*>(data);
            size_t chars = size / sizeof(wchar_t);
            bool terminated = chars > 0 && w[chars - 1] == 0;
            text += "=REG_SZ:" + Narrow(std::wstring(w, terminated ? chars - 1 : chars)) + (terminated ? "" : "<no NUL>");
        } else {
            text += "=type " + std::to_string(type);
        }
        out.push_back(text);
    }
    RegCloseKey(key);
    return out;
}

inline void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& value)
{
    HKEY key = nullptr;
    RegCreateKeyExW(root, Wide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    std::wstring w = Wide(value);
    RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(w.c_str()),
                   static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

struct LinkData {
    std::string path, workingDir, arguments;
    std::string itemPath;  // the path of the item the link's ID list names
    HRESULT loaded = E_FAIL;
};

// Loads a .lnk file with IShellLinkW + IPersistFile::Load.
inline LinkData ReadLink(const std::string& file)
{
    LinkData out;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return out;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        out.loaded = persist->Load(Wide(file).c_str(), STGM_READ);
        wchar_t buffer[MAX_PATH * 2] = {};
        if (SUCCEEDED(link->GetPath(buffer, MAX_PATH * 2, nullptr, SLGP_RAWPATH))) out.path = Narrow(buffer);
        PIDLIST_ABSOLUTE item = nullptr;
        buffer[0] = 0;
        if (SUCCEEDED(link->GetIDList(&item)) && item && SHGetPathFromIDListW(item, buffer))
            out.itemPath = Narrow(buffer);
        CoTaskMemFree(item);
        buffer[0] = 0;
        if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH * 2))) out.workingDir = Narrow(buffer);
        buffer[0] = 0;
        if (SUCCEEDED(link->GetArguments(buffer, MAX_PATH * 2))) out.arguments = Narrow(buffer);
        persist->Release();
    }
    link->Release();
    return out;
}

// The names of the files in a folder (with trailing backslash).
inline std::vector<std::string> Files(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(NarrowLossy(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

// Waits on another thread for a top-level dialog of this process with the
// caption, then runs `act` on it. Finds nothing after 30 s: gives up.
class BoxWatcher {
public:
    BoxWatcher(std::string caption, std::function<void(HWND)> act)
        : thread_([caption = std::move(caption), act = std::move(act), this] {
              const std::wstring wide = Wide(caption);
              for (int i = 0; i < 3000; ++i) {
                  HWND box = FindWindowW(L"#32770", wide.c_str());
                  DWORD pid = 0;
                  if (box) GetWindowThreadProcessId(box, &pid);
                  if (box && pid == GetCurrentProcessId() && IsWindowVisible(box)) {
                      found = true;
                      act(box);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
          })
    {
    }
    ~BoxWatcher() { Join(); }
    void Join()
    {
        if (thread_.joinable()) thread_.join();
    }
    bool found = false;

private:
    std::thread thread_;
};

inline std::string DialogText(HWND box)
{
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return NarrowLossy(text);
}

}  // namespace glossira::peek
