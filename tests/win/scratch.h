// A scratch folder for Win32 tests, removed with its files afterwards.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/wide_win.h"

namespace glossira {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& leaf = "glossira-test")
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        root_ = Narrow(temp) + leaf + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "\\";
        CreateDirectoryW(Wide(root_).c_str(), nullptr);
    }
    ~ScratchDir() { RemoveTree(root_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Path(const std::string& name) const { return root_ + name; }
    const std::string& Root() const { return root_; }

    void Write(const std::string& name, const std::string& bytes) const
    {
        HANDLE h = CreateFileW(Wide(Path(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (h != INVALID_HANDLE_VALUE) {
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(h);
        }
    }
    std::string Read(const std::string& name) const
    {
        std::string out;
        HANDLE h = CreateFileW(Wide(Path(name)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<missing>";
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) out.append(buffer, got);
        CloseHandle(h);
        return out;
    }
    bool Exists(const std::string& name) const
    {
        return GetFileAttributesW(Wide(Path(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(Wide(root_ + "*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring n = data.cFileName;
            if (n != L"." && n != L"..") names.push_back(NarrowLossy(n));
        } while (FindNextFileW(find, &data));
        FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(Wide(dir + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring n = data.cFileName;
                if (n == L"." || n == L"..") continue;
                std::string child = dir + NarrowLossy(n);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(child + "\\");
                } else {
                    SetFileAttributesW(Wide(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(Wide(child).c_str());
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(Wide(dir).c_str());
    }
    std::string root_;
};

}  // namespace glossira
