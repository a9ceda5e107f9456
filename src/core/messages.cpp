#include "core/messages.h"

#include "core/cp1251.h"

namespace glossira::msg {

#define GLOSSIRA_TEXT(name, utf8)                       \
    const std::string& name()                           \
    {                                                   \
        static const std::string text = FromUtf8(utf8); \
        return text;                                    \
    }

GLOSSIRA_TEXT(AppTitle, "Глоссира")
GLOSSIRA_TEXT(EditorCaption, "Глоссира к файлу 2.3")
GLOSSIRA_TEXT(ViewerCaption, "Просмотр комментария")
GLOSSIRA_TEXT(InvalidDataType, "Invalid data type for '%s'")
GLOSSIRA_TEXT(FailedToGetData, "Failed to get data for '%s'")
GLOSSIRA_TEXT(FailedToSetData, "Failed to set data for '%s'")
GLOSSIRA_TEXT(FailedToCreateKey, "Failed to create key %s")
GLOSSIRA_TEXT(CannotCreateFile, "Cannot create file \"%s\". %s")
GLOSSIRA_TEXT(CannotReadFile, "Cannot read file \"%s\". %s")
GLOSSIRA_TEXT(CannotOpenFile, "Cannot open file \"%s\". %s")
GLOSSIRA_TEXT(FileInUse, "The file cannot be opened")
GLOSSIRA_TEXT(FileNotReopened, "The file could not be opened again")
GLOSSIRA_TEXT(LogNotReopened, "The log could not be opened again to read a long line")
GLOSSIRA_TEXT(CommentNotLoaded, "Файл комментария \"%s\" не был прочитан полностью, поэтому запись отменена: старый комментарий сохранён")
GLOSSIRA_TEXT(CommentChanged, "Файл \"%s\" изменился с тех пор, как открыт этот редактор. Записать этот текст поверх него?")
GLOSSIRA_TEXT(SaveOnClose, "Комментарий изменён. Записать его в файл \"%s\"?")
GLOSSIRA_TEXT(InterfaceNotSupported, "Interface not supported")
GLOSSIRA_TEXT(OleError, "OLE error %s")
GLOSSIRA_TEXT(NotIn1251, "Текст \"%s\" содержит символы, которых нет в кодировке Windows-1251")
GLOSSIRA_TEXT(CommentBeyond1251, "Комментарий \"%s\" записан в UTF-8 и содержит символы, которых нет в кодировке Windows-1251: здесь они показаны знаком \"?\". Чтобы они не пропали, программа не будет записывать этот файл.")
GLOSSIRA_TEXT(SwitchWithoutValue, "После ключа %s в командной строке должно стоять значение")
GLOSSIRA_TEXT(UnexpectedArgument, "Лишний параметр в командной строке: \"%s\"")
GLOSSIRA_TEXT(NotAList, "Файл \"%s\" не является списком файлов")
GLOSSIRA_TEXT(SkippedFiles, "Эти файлы пропущены, редактор для них не откроется:")
GLOSSIRA_TEXT(SkippedNotFound, "не найден")
GLOSSIRA_TEXT(SkippedBeyond1251, "в имени есть символы, которых нет в кодировке Windows-1251")
GLOSSIRA_TEXT(SkippedMore, "и ещё %s")
GLOSSIRA_TEXT(NextNotStarted, "Редактор для остальных файлов не открыт. %s")
GLOSSIRA_TEXT(NeedAdministrator, "Для Сохранения установок нужно зайти в систему под администратором")
GLOSSIRA_TEXT(NeedNotGuest, "Для Сохранения установок нужно зайти в систему не под гостем")
GLOSSIRA_TEXT(SettingsSaved, "Установки сохранены")
GLOSSIRA_TEXT(ConfirmRemoval, "Удалить полностью из системы \"Глоссира к файлу\"?")
GLOSSIRA_TEXT(ConfirmCaption, "Confirm")
GLOSSIRA_TEXT(RemovedAfterReboot, "После перезагрузки системы программа полностью удалится")
GLOSSIRA_TEXT(RemovedNow, "Программа удалена из системы. Папку программы удалите сами")
GLOSSIRA_TEXT(MenuForCurrentUser,
              "Контекстное меню установлено только для текущего пользователя: папку программы могут изменить и другие пользователи")
GLOSSIRA_TEXT(ContextMenuItem, "Комментарий (Глоссира)")
GLOSSIRA_TEXT(ContextMenuHelp, "Открыть комментарий к файлу в редакторе Глоссиры")
GLOSSIRA_TEXT(AlreadyInFolder, "Файл \"%s\" уже лежит в папке \"%s\"")
GLOSSIRA_TEXT(CommentAtDestination, "Для файла \"%s\" уже есть комментарий \"%s\" с другим текстом.\r\n\r\n"
                                    "Да — дописать этот комментарий в конец того.\r\n"
                                    "Нет — оставить этот комментарий на месте: файл пойдёт без него.\r\n"
                                    "Отмена — оставить на месте этот файл.")
GLOSSIRA_TEXT(NotAllDone, "Сделано не всё:")
GLOSSIRA_TEXT(FileStayed, "файл \"%s\" остался на месте")
GLOSSIRA_TEXT(FileNotCopied, "файл \"%s\" не скопирован")
GLOSSIRA_TEXT(CommentStayed, "комментарий \"%s\" остался на месте")
GLOSSIRA_TEXT(CommentNotCopied, "комментарий \"%s\" не скопирован в \"%s\"")
GLOSSIRA_TEXT(CommentNotAppended, "комментарий \"%s\" не дописан к \"%s\"")
GLOSSIRA_TEXT(CommentCannotHold, "в нём есть символы, которых нет в кодировке Windows-1251")
GLOSSIRA_TEXT(RenameCaption, "Переименовать с комментарием")
GLOSSIRA_TEXT(RenameLabel, "Новое имя файла:")
GLOSSIRA_TEXT(CancelButton, "Отмена")
GLOSSIRA_TEXT(NameEmpty, "Введите имя файла")
GLOSSIRA_TEXT(NameBadCharacters, "Имя файла не может содержать знаки \\ / : * ? \" < > |")
GLOSSIRA_TEXT(NameReserved, "Имя \"%s\" занято устройством Windows")
GLOSSIRA_TEXT(NameBadEnd, "Имя файла не может оканчиваться пробелом или точкой")
GLOSSIRA_TEXT(NameTaken, "В папке уже есть \"%s\"")
GLOSSIRA_TEXT(PickCopyFolder, "Копировать с комментарием в папку")
GLOSSIRA_TEXT(PickMoveFolder, "Переместить с комментарием в папку")
GLOSSIRA_TEXT(RenameItem, "Переименовать с комментарием…")
GLOSSIRA_TEXT(RenameHelp, "Переименовать файл вместе с его комментарием")
GLOSSIRA_TEXT(CopyToItem, "Копировать с комментарием в папку…")
GLOSSIRA_TEXT(CopyToHelp, "Копировать файлы вместе с их комментариями в другую папку")
GLOSSIRA_TEXT(MoveToItem, "Переместить с комментарием в папку…")
GLOSSIRA_TEXT(MoveToHelp, "Переместить файлы вместе с их комментариями в другую папку")
GLOSSIRA_TEXT(DeleteItem, "Удалить с комментарием")
GLOSSIRA_TEXT(DeleteHelp, "Удалить файлы вместе с их комментариями в Корзину")
GLOSSIRA_TEXT(CopyHereItem, "Копировать сюда с комментарием")
GLOSSIRA_TEXT(CopyHereHelp, "Копировать файлы сюда вместе с их комментариями")
GLOSSIRA_TEXT(MoveHereItem, "Переместить сюда с комментарием")
GLOSSIRA_TEXT(MoveHereHelp, "Переместить файлы сюда вместе с их комментариями")

#undef GLOSSIRA_TEXT

}  // namespace glossira::msg
