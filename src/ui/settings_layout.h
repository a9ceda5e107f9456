// Control identifiers of the settings window (TForm2).
#pragma once

namespace glossira::settings_ids {

inline constexpr int kGroupBox1 = 201;
inline constexpr int kCheckBox4 = 202;
inline constexpr int kCheckBox7 = 203;
inline constexpr int kCheckBox8 = 204;
inline constexpr int kCheckBox9 = 205;
inline constexpr int kCheckBox5 = 206;
inline constexpr int kGroupBox2 = 207;
inline constexpr int kLabel3 = 208;
inline constexpr int kCheckBox1 = 209;
inline constexpr int kEdit1 = 210;
inline constexpr int kLabel4 = 211;
inline constexpr int kCheckBox2 = 212;
inline constexpr int kFilenameEdit1 = 213;
inline constexpr int kFilenameEdit1Browse = 214;  // the field's browse button
inline constexpr int kCheckBox3 = 215;
inline constexpr int kButton1 = 216;
inline constexpr int kButton2 = 217;
inline constexpr int kGroupBox3 = 218;
inline constexpr int kLabel5 = 219;
inline constexpr int kEdit2 = 220;
inline constexpr int kLabel6 = 221;
inline constexpr int kCheckBox6 = 222;
inline constexpr int kSpeedButton1 = 223;
inline constexpr int kCheckBox10 = 224;

}  // namespace glossira::settings_ids
