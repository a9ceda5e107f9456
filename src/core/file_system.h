// The file operations the portable code needs, over Windows-1251 paths.
// The Win32 implementation is files_win; tests use an in-memory double.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace glossira {

class InputFile {
public:
    virtual ~InputFile() = default;
    // Reads up to `size` bytes; 0 at the end. A read error raises Error.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True for an existing file, false for a folder or nothing.
    virtual bool FileExists(const std::string& path) = 0;

    // Opens for reading, letting others read but not write; nullptr when the
    // file cannot be opened (missing, locked for writing, no rights).
    virtual std::unique_ptr<InputFile> OpenRead(const std::string& path) = 0;

    // Every byte of the file, opened like OpenRead; a file that cannot be
    // opened raises "Cannot open file "%s". %s".
    virtual std::string ReadWhole(const std::string& path);

    // Replaces the file's whole content, or creates it. Either the new
    // content is in place or the old file is untouched and no temporary file
    // is left; failure raises "Cannot create file "%s". %s".
    virtual void WriteAtomically(const std::string& path, const std::string& bytes) = 0;
};

// Every byte of an open file; a read error raises Error.
std::string ReadAll(InputFile& file);

}  // namespace glossira
