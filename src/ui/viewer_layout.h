// Identifiers of the viewer window's (TForm3) memo and menu items.
#pragma once

namespace glossira::viewer_ids {

inline constexpr int kMemo1 = 301;
inline constexpr int kN3 = 311;    // Установки / Цвет Фона
inline constexpr int kN4 = 312;    // Установки / Цвет Текста
inline constexpr int kN7 = 313;    // Установки / Выставить по умолчанию
inline constexpr int kN5 = 314;    // Установки / (empty caption, no action)
inline constexpr int kN6 = 315;    // Установки / Сохранить Цвета
inline constexpr int kN2 = 316;    // Редактор
inline constexpr int kEsc1 = 317;  // Выход (Esc)

}  // namespace glossira::viewer_ids
