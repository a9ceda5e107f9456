// The program's own texts, in Windows-1251. Patterns take "%s" arguments
// through Format() of error.h.
#pragma once

#include <string>

namespace glossira::msg {

const std::string& AppTitle();           // "Глоссира"
const std::string& EditorCaption();      // "Глоссира к файлу 2.3"
const std::string& ViewerCaption();      // "Просмотр комментария"

const std::string& InvalidDataType();    // "Invalid data type for '%s'"
const std::string& FailedToGetData();    // "Failed to get data for '%s'"
const std::string& FailedToSetData();    // "Failed to set data for '%s'"
const std::string& FailedToCreateKey();  // "Failed to create key %s"
const std::string& CannotCreateFile();   // "Cannot create file "%s". %s"
const std::string& CannotReadFile();     // "Cannot read file "%s". %s"
const std::string& CannotOpenFile();     // "Cannot open file "%s". %s"
const std::string& FileInUse();          // the reason when no system text is at hand
const std::string& FileNotReopened();    // the reason when a log cannot be opened a second time
const std::string& LogNotReopened();     // a long line's start cannot be read again
const std::string& CommentNotLoaded();   // saving refused: the comment was not read
const std::string& CommentChanged();     // the question before writing over a changed comment
const std::string& SaveOnClose();        // the question when a changed editor is closed
const std::string& InterfaceNotSupported();
const std::string& OleError();           // "OLE error %s", the code in 8 hex digits
const std::string& NotIn1251();          // a text Windows-1251 cannot hold
const std::string& CommentBeyond1251();  // a UTF-8 comment the editor cannot keep whole

const std::string& SwitchWithoutValue();  // a switch whose value is missing
const std::string& UnexpectedArgument();  // a piece of the command line that has no place
const std::string& NotAList();            // a file given to /list that is not a list of paths
const std::string& SkippedFiles();        // the heading of the paths of a selection that get no editor
const std::string& SkippedNotFound();     // ... because nothing is there
const std::string& SkippedBeyond1251();   // ... because of a character Windows-1251 cannot hold
const std::string& SkippedMore();         // "%s" more of them, not named
const std::string& NextNotStarted();      // the rest of a selection could not be handed on

const std::string& NeedAdministrator();  // settings OK without rights
const std::string& NeedNotGuest();       // viewer colours without rights
const std::string& SettingsSaved();
const std::string& ConfirmRemoval();
const std::string& ConfirmCaption();     // "Confirm"
const std::string& RemovedAfterReboot();
const std::string& RemovedNow();          // full removal without an uninstaller
const std::string& MenuForCurrentUser();  // added to SettingsSaved: a per-user context menu

const std::string& ContextMenuItem();    // the Explorer context-menu entry
const std::string& ContextMenuHelp();    // its help text

// Comments that follow their files.
const std::string& AlreadyInFolder();       // a file copied or moved into its own folder
const std::string& CommentAtDestination();  // the question when the destination has another comment
const std::string& NotAllDone();            // the heading of what an operation left undone
const std::string& FileStayed();
const std::string& FileNotCopied();
const std::string& CommentStayed();
const std::string& CommentNotCopied();
const std::string& CommentNotAppended();
const std::string& RenameCaption();
const std::string& RenameLabel();
const std::string& CancelButton();          // "Отмена"
const std::string& NameEmpty();
const std::string& NameBadCharacters();
const std::string& NameReserved();
const std::string& NameBadEnd();
const std::string& NameTaken();
const std::string& PickCopyFolder();        // the folder picker's title
const std::string& PickMoveFolder();
// The submenu «Глоссира» and the drop menu: each item and its help text.
const std::string& RenameItem();
const std::string& RenameHelp();
const std::string& CopyToItem();
const std::string& CopyToHelp();
const std::string& MoveToItem();
const std::string& MoveToHelp();
const std::string& DeleteItem();
const std::string& DeleteHelp();
const std::string& CopyHereItem();
const std::string& CopyHereHelp();
const std::string& MoveHereItem();
const std::string& MoveHereHelp();
const std::string& CommentCannotHold();     // why: the destination's encoding cannot hold the text

}  // namespace glossira::msg
