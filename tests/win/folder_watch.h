// The names of the files made in a folder while it is watched, as the system
// reports them: a test finds the file a step made (a save's temporary file)
// without knowing how the program names it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace glossira {

class FolderWatch {
public:
    explicit FolderWatch(const std::wstring& folder)
        : folder_(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
          event_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        Arm();
    }
    ~FolderWatch()
    {
        if (armed_) {
            CancelIoEx(folder_, &overlapped_);
            DWORD ignored = 0;
            GetOverlappedResult(folder_, &overlapped_, &ignored, TRUE);
        }
        if (folder_ != INVALID_HANDLE_VALUE) CloseHandle(folder_);
        if (event_) CloseHandle(event_);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // The first name made in the folder other than `except` (compared
    // without regard to case), once it was reported; empty when none was
    // within the timeout. A file renamed later counts by the name it was made with.
    std::wstring Made(const std::wstring& except, DWORD timeoutMs = 5000)
    {
        for (;;) {
            for (const auto& name : made_)
                if (_wcsicmp(name.c_str(), except.c_str()) != 0) return name;
            if (!armed_ || WaitForSingleObject(event_, timeoutMs) != WAIT_OBJECT_0) return {};
            Collect();
        }
    }

private:
    void Arm()
    {
        armed_ = false;
        if (folder_ == INVALID_HANDLE_VALUE || !event_) return;
        ResetEvent(event_);
        overlapped_ = {};
        overlapped_.hEvent = event_;
        armed_ = ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME,
                                       nullptr, &overlapped_, nullptr);
    }
    void Collect()
    {
        DWORD size = 0;
        if (GetOverlappedResult(folder_, &overlapped_, &size, FALSE) && size) {
            for (DWORD at = 0;;) {
                const auto* notice = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
                if (notice->Action == FILE_ACTION_ADDED || notice->Action == FILE_ACTION_RENAMED_NEW_NAME)
                    made_.emplace_back(notice->FileName, notice->FileNameLength / sizeof(wchar_t));
                if (!notice->NextEntryOffset) break;
                at += notice->NextEntryOffset;
            }
        }
        Arm();
    }

    HANDLE folder_;
    HANDLE event_;
    OVERLAPPED overlapped_{};
    bool armed_ = false;
    alignas(DWORD) BYTE buffer_[16384];
    std::vector<std::wstring> made_;
};

}  // namespace glossira
