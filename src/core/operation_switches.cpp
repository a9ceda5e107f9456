#include "core/operation_switches.h"

#include "core/list_file.h"

namespace glossira {
namespace {

struct Known {
    const char16_t* name;
    Operation op;
    bool destination, askFolder, askName;
};

constexpr Known kSwitches[] = {
    {u"/copyto", Operation::Copy, false, true, false},    {u"/moveto", Operation::Move, false, true, false},
    {u"/copyhere", Operation::Copy, true, false, false},  {u"/movehere", Operation::Move, true, false, false},
    {u"/rename", Operation::Rename, false, false, true},  {u"/delete", Operation::Delete, false, false, false},
};

}  // namespace

std::optional<OperationSwitch> ParseOperationSwitch(const std::vector<std::u16string>& pieces)
{
    if (pieces.size() < 2) return std::nullopt;
    for (const auto& known : kSwitches) {
        if (!IsSwitch(pieces[1], known.name)) continue;
        OperationSwitch out;
        out.op = known.op;
        out.askFolder = known.askFolder;
        out.askName = known.askName;
        std::size_t next = 2;
        if (known.destination) {
            if (pieces.size() < 3 || pieces[2].empty()) return std::nullopt;
            out.destination = pieces[2];
            next = 3;
        }
        out.rest.assign(pieces.begin() + static_cast<std::ptrdiff_t>(next), pieces.end());
        return out;
    }
    return std::nullopt;
}

std::vector<std::u16string> OperationSwitches(const std::u16string& name, const std::u16string& destination)
{
    std::vector<std::u16string> out{u"/" + name};
    if (!destination.empty()) out.push_back(destination);
    return out;
}

}  // namespace glossira
