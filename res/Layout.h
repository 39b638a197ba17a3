#pragma once
// The settings window's layout at 96 DPI, in client pixels, in creation order, which is
// also the Tab order (labels and the up-down are no tab stops).
#include <windows.h>

namespace kuvella::layout {

enum ControlId : int {
  idLabel1 = 100, idLabel2, idImage1, idLabel3, idEdtLeft, idUpdMagneticLevel, idBtnOK,
  idBtnCancel, idBtnUpdate, idChkEnable, idMemo1, idChkSound, idEdtSound, idButton1,
};

enum class Kind { Label, Image, Edit, UpDown, Button, CheckBox, Memo };

struct ControlSpec {
  const char* name;
  Kind kind;
  int id;
  int left, top, width, height;
  const char* text;  // nullptr: none
  bool tabStop;
};

inline constexpr ControlSpec kControls[] = {
    {"Label1", Kind::Label, idLabel1, 12, 12, 48, 12, "有効範囲", false},
    {"Label2", Kind::Label, idLabel2, 124, 12, 145, 12, "ピクセルでスナップする", false},
    {"Image1", Kind::Image, idImage1, 232, 40, 33, 29, nullptr, false},
    {"Label3", Kind::Label, idLabel3, 8, 80, 61, 12, "wavファイル", false},
    {"edtLeft", Kind::Edit, idEdtLeft, 72, 8, 29, 20, "16", true},
    {"updMagneticLevel", Kind::UpDown, idUpdMagneticLevel, 101, 8, 15, 20, nullptr, false},
    {"btnOK", Kind::Button, idBtnOK, 100, 208, 77, 21, "&OK", true},
    {"btnCancel", Kind::Button, idBtnCancel, 268, 208, 93, 21, "キャンセル(&C)", true},
    {"btnUpdate", Kind::Button, idBtnUpdate, 184, 208, 77, 21, "更新(&U)", true},
    {"chkEnable", Kind::CheckBox, idChkEnable, 12, 36, 149, 13, "Kuvellaを有効にする(&E)", true},
    {"Memo1", Kind::Memo, idMemo1, 8, 104, 353, 93, nullptr, true},
    {"chkSound", Kind::CheckBox, idChkSound, 12, 56, 165, 13, "スナップ時に音を鳴らす(&S)", true},
    {"edtSound", Kind::Edit, idEdtSound, 76, 76, 209, 20, "", true},
    {"Button1", Kind::Button, idButton1, 292, 76, 65, 21, "参照(&B)", true},
};

inline constexpr int kLeft = 254, kTop = 98, kClientWidth = 365, kClientHeight = 238;
inline constexpr int kFontHeight = -12;
inline constexpr int kLevelAtLoad = 16;

}  // namespace kuvella::layout
