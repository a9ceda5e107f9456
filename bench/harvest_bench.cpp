// Harvest throughput and memory over a generated download log. Figures
// only; tools/bench-harvest runs it beside `cat` and `grep` on the same file.
//   harvest_bench generate FILE MEGABYTES [single|hits]
//                        a log that never names the target; `single`: all in one
//                        line; `hits`: every tenth line names it
//   harvest_bench run FILE [NAME [all]]              harvests FILE (as the extra log) for NAME
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "core/error.h"
#include "sources/harvest.h"

using namespace glossira;

namespace {

constexpr const char* kTarget = "Glossira-Setup-2.3.exe";

class StdInputFile final : public InputFile {
public:
    explicit StdInputFile(std::FILE* file) : file_(file) {}
    ~StdInputFile() override { std::fclose(file_); }
    std::size_t Read(char* buffer, std::size_t size) override
    {
        std::size_t got = std::fread(buffer, 1, size, file_);
        if (got == 0 && std::ferror(file_)) throw Error("read error");
        return got;
    }

private:
    std::FILE* file_;
};

class StdFileSystem final : public FileSystem {
public:
    bool FileExists(const std::string& path) override { return std::filesystem::is_regular_file(path); }
    std::unique_ptr<InputFile> OpenRead(const std::string& path) override
    {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) return nullptr;
        std::setvbuf(file, nullptr, _IONBF, 0);  // reads go straight to the scanner's buffer
        return std::make_unique<StdInputFile>(file);
    }
    void WriteAtomically(const std::string&, const std::string&) override { throw Error("not in the benchmark"); }
};

int Generate(const std::string& path, unsigned long long megabytes, const std::string& kind)
{
    static const char* kWords[] = {"archive", "driver", "photos", "music", "backup", "update", "installer",
                                   "report", "manual", "video", "fonts", "tools", "source", "patch"};
    static const char* kExts[] = {"zip", "rar", "exe", "iso", "7z", "pdf", "msi", "tar.gz", "mp3", "djvu"};
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 1;
    unsigned long long target = megabytes << 20, written = 0;
    unsigned state = 12345;
    auto next = [&] { return state = state * 1103515245u + 12345u, (state >> 8) & 0xFFFFFF; };
    std::string chunk;
    char line[400];
    bool single = kind == "single";
    unsigned long long count = 0;
    while (written < target) {
        chunk.clear();
        while (chunk.size() < (4u << 20)) {
            unsigned n = next();
            const char* word = kWords[n % 14];
            const char* ext = kExts[(n / 14) % 10];
            int len = std::snprintf(line, sizeof line,
                                    "2024-%02u-%02u %02u:%02u:%02u GET http://mirror%u.example.org/pub/%s/%s-%06u.%s"
                                    " -> D:\\Downloads\\%s-%06u.%s %u bytes OK%s",
                                    1 + n % 12, 1 + n % 28, n % 24, n % 60, (n / 7) % 60, n % 9, word, word,
                                    next() % 1000000, ext, word, n % 1000000, ext, next() % 100000000,
                                    single ? " " : "\r\n");
            if (kind == "hits" && ++count % 10 == 0) {
                len = std::snprintf(line, sizeof line, "2024-01-01 00:00:00 GET http://example.net/%s -> D:\\Downloads\\%s OK\r\n", kTarget, kTarget);
            }
            chunk.append(line, static_cast<std::size_t>(len));
        }
        std::size_t take = static_cast<std::size_t>(std::min<unsigned long long>(chunk.size(), target - written));
        if (std::fwrite(chunk.data(), 1, take, out) != take) return 1;
        written += take;
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

int Run(const std::string& path, const std::string& name, bool all)
{
    StdFileSystem fs;
    Settings settings;
    settings.NoLog = true;
    settings.LogPath = true;
    settings.NoOneStr = all;
    settings.PathStrLog = path;
    RunState run;
    run.TargetName = name;
    auto start = std::chrono::steady_clock::now();
    HarvestResult result = Harvest(fs, settings, run);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto bytes = std::filesystem::file_size(path);
    std::printf("harvest %.3f s  %.2f GB/s  %zu lines%s%s\n", seconds, bytes / seconds / 1e9, result.lines.size(),
                result.error ? "  error: " : "", result.error ? result.error->c_str() : "");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "generate" && argc >= 4)
        return Generate(argv[2], std::stoull(argv[3]), argc > 4 ? argv[4] : "");
    if (mode == "run" && argc >= 3)
        return Run(argv[2], argc > 3 ? argv[3] : kTarget, argc > 4 && std::strcmp(argv[4], "all") == 0);
    if (mode == "name") return std::printf("%s\n", kTarget) < 0;
    std::fprintf(stderr, "usage: harvest_bench generate FILE MEGABYTES [single|hits] | run FILE [NAME [all]] | name\n");
    return 2;
}
