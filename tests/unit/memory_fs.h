// An in-memory FileSystem for tests. Paths are compared exactly as given
// (no case folding, no normalisation).
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"
#include "core/messages.h"

namespace glossira::test {

class MemoryFileSystem final : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    // Existing files that OpenRead refuses, like a log another program holds
    // open for writing.
    std::set<std::string> locked;
    // Reading these fails with Error once this many bytes have been read.
    std::map<std::string, std::size_t> failAfter;
    // Writing these fails with "Cannot create file", leaving them as they are.
    std::set<std::string> failWrite;
    // Most bytes one Read returns, to exercise short reads.
    std::size_t readChunk = static_cast<std::size_t>(-1);
    // Every OpenRead, in order, whether it succeeded or not.
    std::vector<std::string> opened;

    bool FileExists(const std::string& path) override { return files.count(path) && !folders.count(path); }

    std::unique_ptr<InputFile> OpenRead(const std::string& path) override
    {
        opened.push_back(path);
        auto it = files.find(path);
        if (it == files.end() || folders.count(path) || locked.count(path)) return nullptr;
        auto fail = failAfter.find(path);
        std::size_t limit = fail == failAfter.end() ? static_cast<std::size_t>(-1) : fail->second;
        return std::make_unique<File>(path, it->second, limit, readChunk);
    }

    void WriteAtomically(const std::string& path, const std::string& bytes) override
    {
        if (failWrite.count(path) || folders.count(path))
            throw Error(Format(msg::CannotCreateFile(), path, "Access is denied"));
        files[path] = bytes;
    }

private:
    class File final : public InputFile {
    public:
        File(std::string path, std::string bytes, std::size_t failAt, std::size_t chunk)
            : path_(std::move(path)), bytes_(std::move(bytes)), failAt_(failAt), chunk_(chunk)
        {
        }
        std::size_t Read(char* buffer, std::size_t size) override
        {
            if (pos_ >= failAt_ && pos_ < bytes_.size())
                throw Error(Format(msg::CannotReadFile(), path_, "The device is not ready"));
            std::size_t n = std::min({size, chunk_, bytes_.size() - pos_, failAt_ - pos_});
            std::memcpy(buffer, bytes_.data() + pos_, n);
            pos_ += n;
            return n;
        }

    private:
        std::string path_;
        std::string bytes_;  // a copy: the test may change the map meanwhile
        std::size_t failAt_;
        std::size_t chunk_;
        std::size_t pos_ = 0;
    };
};

}  // namespace glossira::test
