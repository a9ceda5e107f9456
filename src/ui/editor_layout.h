// Control identifiers of the editor window (TForm1).
#pragma once

namespace glossira::editor_ids {

inline constexpr int kMemo1 = 101;
inline constexpr int kListBox2 = 102;
inline constexpr int kMemo3 = 103;
inline constexpr int kBitBtn1 = 104;
inline constexpr int kBitBtn2 = 105;
inline constexpr int kBitBtn3 = 106;
inline constexpr int kBitBtn4 = 107;
inline constexpr int kSpeedButton1 = 108;
inline constexpr int kSpeedButton2 = 109;

}  // namespace glossira::editor_ids
