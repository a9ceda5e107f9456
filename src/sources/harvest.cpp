#include "sources/harvest.h"

#include "core/error.h"
#include "core/messages.h"
#include "core/text.h"
#include "sources/description_text.h"
#include "sources/log_encoding.h"
#include "sources/log_scanner.h"
#include "sources/zone_identifier.h"

namespace glossira {

HarvestResult Harvest(FileSystem& fs, const Settings& settings, const RunState& run)
{
    LogScanner scanner(run.TargetName);
    const std::string upperName = UpperCase1251(run.TargetName);
    std::vector<std::string> hits;  // in reading order

    // False when the file cannot be opened: the harvest ends there.
    auto read = [&](const std::string& path) {
        std::unique_ptr<LogFile> file = DecodedLog(fs.OpenRead(path));
        if (!file) return false;
        auto reopen = [&]() -> std::unique_ptr<InputFile> {
            std::unique_ptr<InputFile> again = DecodedLog(fs.OpenRead(path));
            if (!again) throw Error(Format(msg::CannotReadFile(), path, msg::FileNotReopened()));
            return again;
        };
        auto accept = [&](std::string& line) {
            return AsInserted(line, upperName, NoBreakSpaceBreaks(file->Encoding()));
        };
        scanner.Scan(*file, reopen, settings.NoOneStr, hits, accept);
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
        if (goOn && settings.LogPath && fs.FileExists(settings.PathStrLog)) goOn = read(settings.PathStrLog);
        if (goOn && settings.ZoneInfo && scanner.CanMatch())
            if (auto line = ReadZoneLine(fs, run.TargetPath, run.TargetName)) hits.push_back(std::move(*line));
    } catch (const Error& e) {
        result.error = e.what();
    }
    for (auto hit = hits.rbegin(); hit != hits.rend(); ++hit) {
        for (std::size_t start = 0;;) {
            std::size_t lf = hit->find('\n', start);
            result.lines.push_back(hit->substr(start, lf == std::string::npos ? lf : lf - start));
            if (lf == std::string::npos) break;
            start = lf + 1;
        }
    }
    result.headerFound = run.HeaderFound || !hits.empty();
    return result;
}

}  // namespace glossira
