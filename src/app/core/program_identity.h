#pragma once
// What the program calls itself, and the commands and texts both of its windows share:
// each defined once here.
#include "vorn_version.h"

inline constexpr const char* kProgramCaption = "tavik Vornel";
inline constexpr const char* kProgramVersionText = "tavik Vornel Version " VORN_VERSION;
// The menu entry that shows the about box.
inline constexpr const char* kAboutMenuText = "tavik Vornel のﾊﾞｰｼﾞｮﾝ情報(&A)...";

// Commands both windows take.
namespace shared_command {
inline constexpr int ID_ABOUT = 16;  // show the about box
inline constexpr int ID_SETTINGS = 32772;
}  // namespace shared_command
