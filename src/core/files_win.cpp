#include "core/files_win.h"

#include "core/error.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/unique_win.h"
#include "core/wide_win.h"

namespace glossira {
namespace {

class Win32InputFile final : public InputFile {
public:
    Win32InputFile(UniqueFile file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

    std::size_t Read(char* buffer, std::size_t size) override
    {
        DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD got = 0;
        if (!ReadFile(file_.get(), buffer, chunk, &got, nullptr)) {
            const DWORD code = GetLastError();
            throw Error(Format(msg::CannotReadFile(), path_, SystemMessage(code)), code);
        }
        return got;
    }

private:
    UniqueFile file_;
    std::string path_;
};

// Paths of MAX_PATH characters and more need the \\?\ form.
std::wstring LongPath(const std::string& path)
{
    std::wstring wide = Wide(path);
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
    if (wide.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    return wide;
}

[[noreturn]] void FailCreate(const std::string& path, DWORD code)
{
    throw Error(Format(msg::CannotCreateFile(), path, SystemMessage(code)), code);
}

void WriteAll(HANDLE file, const std::string& bytes, const std::string& path)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t left = bytes.size() - done;
        DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            FailCreate(path, GetLastError() ? GetLastError() : ERROR_WRITE_FAULT);
        done += written;
    }
    if (!FlushFileBuffers(file)) FailCreate(path, GetLastError());
}

// A new temporary file in the folder of `path`, never one that exists
// already (another program's, or a second editor's of the same comment).
UniqueFile CreateTemporaryBeside(const std::string& path, std::wstring& temp)
{
    const std::string stem = FolderWithSeparator(path) + "~glossira" + std::to_string(GetCurrentProcessId());
    for (int attempt = 0; attempt < 1000; ++attempt) {
        // Short, so that a comment name near the length limit still fits.
        temp = LongPath(stem + (attempt ? "-" + std::to_string(attempt) : std::string()) + ".tmp");
        UniqueFile file(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr));
        if (file) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) FailCreate(path, error);
    }
    FailCreate(path, ERROR_FILE_EXISTS);
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::PathExists(const std::string& path)
{
    return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<InputFile> Win32FileSystem::OpenRead(const std::string& path)
{
    UniqueFile file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return nullptr;
    // A device (CON, NUL, COM1) or a pipe is no comment and no log: reading
    // it could wait for ever.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return std::make_unique<Win32InputFile>(std::move(file), path);
}

std::string Win32FileSystem::ReadWhole(const std::string& path)
{
    auto file = OpenRead(path);
    if (!file) {
        const DWORD code = GetLastError();
        throw Error(Format(msg::CannotOpenFile(), path, SystemMessage(code)), code);
    }
    return ReadAll(*file);
}

void Win32FileSystem::WriteAtomically(const std::string& path, const std::string& bytes)
{
    std::wstring target = LongPath(path);
    DWORD attributes = GetFileAttributesW(target.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // Root ignores the Unix permission bits Wine maps the read-only flag to,
    // so the flag is honoured here as Windows would.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        FailCreate(path, ERROR_ACCESS_DENIED);
    // A comment another program holds open without letting it be replaced
    // fails here, before anything is written: Wine's ReplaceFileW would
    // leave a temporary file of its own behind.
    if (exists) {
        UniqueFile probe(CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
        if (!probe) FailCreate(path, GetLastError());
    }

    std::wstring temp;
    UniqueFile file = CreateTemporaryBeside(path, temp);
    try {
        WriteAll(file.get(), bytes, path);
        file.reset();
        BOOL swapped = exists ? ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                              : MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        if (!swapped) FailCreate(path, GetLastError());
        if (exists) SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_TEMPORARY);
        else SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    } catch (...) {
        file.reset();
        DeleteFileW(temp.c_str());
        throw;
    }
}

}  // namespace glossira
