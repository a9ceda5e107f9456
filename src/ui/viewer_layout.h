// Identifiers of the viewer window's memo and menu items.
#pragma once

namespace glossira {

enum ViewerControlId {
    kViewerMemo1 = 301,
};

enum ViewerMenuId {
    kN3 = 311,  // Установки / Цвет Фона
    kN4,        // Установки / Цвет Текста
    kN7,        // Установки / Выставить по умолчанию
    kN5,        // Установки / (empty caption, no action)
    kN6,        // Установки / Сохранить Цвета
    kN2,        // Редактор
    kEsc1,      // Выход (Esc)
};

}  // namespace glossira
