#include "ui/operation_mode.h"

#include <windows.h>

#include "core/command_line.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/list_file.h"
#include "core/messages.h"
#include "core/operation_switches.h"
#include "core/paths.h"
#include "core/wide_win.h"
#include "shell/file_operations_win.h"
#include "shell/folder_picker_win.h"
#include "shell/list_file_win.h"
#include "shell/settings_registry.h"
#include "ui/app.h"
#include "ui/form.h"
#include "ui/rename_form.h"

namespace glossira {
namespace {

Answer Ask(const std::string& question)
{
    switch (MessageBoxW(nullptr, Wide(question).c_str(), Wide(msg::AppTitle()).c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND)) {
    case IDYES: return Answer::Append;
    case IDNO: return Answer::Leave;
    default: return Answer::SkipFile;
    }
}

// The destination the user gives, or nothing when the user cancelled.
std::optional<std::string> Destination(const OperationSwitch& command, const std::string& first,
                                       FileOperations& disk)
{
    if (command.askFolder)
        return PickFolder(nullptr, command.op == Operation::Copy ? msg::PickCopyFolder() : msg::PickMoveFolder());
    if (command.askName) {
        const std::string folder = FolderWithSeparator(first);
        RenameForm form(FileNamePart(first), [&](const std::string& name) { return disk.Exists(folder + name); });
        return form.Ask();
    }
    return ToCp1251(command.destination);
}

void RunOperation(const OperationSwitch& command)
{
    OperationRequest request;
    request.op = command.op;
    const auto list = ListSwitchAt(command.rest, 0);
    for (const auto& piece : list ? TakeListFile(*list) : command.rest) request.sources.push_back(ToCp1251(piece));
    if (request.sources.empty()) return;
    if (command.askName) request.sources.resize(1);  // a rename is of one file

    Win32FileOperations disk;
    if (command.op != Operation::Delete) {
        auto destination = Destination(command, request.sources.front(), disk);
        if (!destination) return;
        request.destination = *destination;
    }
    const Settings settings = LoadSettings(*TheApp().registry);
    OperationPlan plan = PlanOperation(request, settings.Ext, disk);
    if (plan.refusal) throw Error(*plan.refusal);

    std::vector<Answer> answers(plan.files.size(), Answer::Leave);
    for (std::size_t i = 0; i < plan.files.size(); ++i)
        if (plan.files[i].step == CommentStep::Ask) answers[i] = Ask(QuestionFor(plan.files[i]));
    for (std::size_t i = plan.files.size(); i-- > 0;)
        if (plan.files[i].step == CommentStep::Ask) ApplyAnswer(plan, i, answers[i]);

    const auto undone = CarryOut(plan, disk);
    if (undone.empty()) return;
    std::string report = msg::NotAllDone();
    for (const auto& line : undone) report += "\r\n" + line;
    throw Error(report);
}

}  // namespace

std::optional<int> RunOperationMode(std::u16string_view rawCommandLine)
{
    const auto command = ParseOperationSwitch(SplitCommandLine(rawCommandLine));
    if (!command) return std::nullopt;
    return Guarded([&] { RunOperation(*command); }) ? 0 : 1;
}

}  // namespace glossira
