#include "sources/harvest.h"

#include "core/error.h"
#include "core/messages.h"
#include "core/text.h"
#include "sources/log_scanner.h"

namespace glossira {

HarvestResult Harvest(FileSystem& fs, const Settings& settings, const RunState& run)
{
    LogScanner scanner(run.TargetName);
    std::vector<std::string> hits;  // in reading order

    // False when the file cannot be opened: the harvest ends there.
    auto read = [&](const std::string& path) {
        std::unique_ptr<InputFile> file = fs.OpenRead(path);
        if (!file) return false;
        auto reopen = [&]() {
            std::unique_ptr<InputFile> again = fs.OpenRead(path);
            if (!again) throw Error(Format(msg::CannotReadFile(), path, "The file could not be opened again"));
            return again;
        };
        scanner.Scan(*file, reopen, settings.NoOneStr, hits);
        return true;
    };

    HarvestResult result;
    try {
        bool goOn = true;
        if (!settings.NoLog) {
            int count = CountFields(settings.Strlog, ';');
            for (int i = 1; i <= count && goOn; ++i) {
                std::string path = run.TargetDir + FieldAt(i, settings.Strlog, ';');
                if (fs.FileExists(path)) goOn = read(path);
            }
        }
        if (goOn && settings.LogPath && fs.FileExists(settings.PathStrLog)) read(settings.PathStrLog);
    } catch (const Error& e) {
        result.error = e.what();
    }
    result.lines.assign(hits.rbegin(), hits.rend());
    result.headerFound = run.HeaderFound || !hits.empty();
    return result;
}

}  // namespace glossira
