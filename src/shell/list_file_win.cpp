#include "shell/list_file_win.h"

#include <windows.h>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/list_file.h"
#include "core/messages.h"
#include "core/unique_win.h"
#include "core/wide_win.h"

namespace glossira {
namespace {

// Far more than any selection needs; a bigger file is no list of ours.
constexpr LONGLONG kMaxListBytes = 256LL << 20;

bool WriteWhole(HANDLE file, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace

std::wstring WriteListFile(const std::vector<std::u16string>& paths)
{
    const std::string bytes = EncodeListFile(paths);
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        if (length > MAX_PATH) SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return {};
    }
    wchar_t name[MAX_PATH] = {};
    if (!GetTempFileNameW(folder, L"glo", 0, name)) return {};  // creates the file
    bool written = false;
    {
        UniqueFile file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_TEMPORARY,
                                    nullptr));
        written = file && WriteWhole(file.get(), bytes);
    }
    if (written) return name;
    const DWORD error = GetLastError();
    DeleteFileW(name);
    SetLastError(error);
    return {};
}

std::vector<std::u16string> TakeListFile(const std::u16string& file)
{
    const std::wstring path(file.begin(), file.end());
    const std::string shown = ToCp1251Lossy(file);
    std::string bytes;
    {
        UniqueFile handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        DWORD error = handle ? 0 : GetLastError();
        if (handle && GetFileType(handle.get()) != FILE_TYPE_DISK) error = ERROR_ACCESS_DENIED;
        if (error) throw Error(Format(msg::CannotOpenFile(), shown, SystemMessage(error)), error);
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle.get(), &size) || size.QuadPart > kMaxListBytes)
            throw Error(Format(msg::NotAList(), shown));
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!bytes.empty() && (!ReadFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                               got != bytes.size())) {
            error = GetLastError() ? GetLastError() : ERROR_READ_FAULT;
            throw Error(Format(msg::CannotReadFile(), shown, SystemMessage(error)), error);
        }
    }
    auto paths = DecodeListFile(bytes);
    if (!paths) throw Error(Format(msg::NotAList(), shown));
    DeleteFileW(path.c_str());
    return std::move(*paths);
}

}  // namespace glossira
