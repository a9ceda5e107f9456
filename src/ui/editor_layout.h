// Control identifiers of the editor window.
#pragma once

namespace glossira {

enum EditorControlId {
    kMemo1 = 101,
    kListBox2,
    kMemo3,
    kBitBtn1,
    kBitBtn2,
    kBitBtn3,
    kBitBtn4,
    kSpeedButton1,
    kSpeedButton2,
};

}  // namespace glossira
