#pragma once
// The main window's command identifiers: buttons, the context menu's items and the timers.
// Buttons, keys and menu items all end in CDravikViewerDlg::OnCommand with one of these.

namespace kx::cmd {

// Buttons.
inline constexpr int kOpen = 1000;
inline constexpr int kMerge = 1333;
inline constexpr int kCapture = 1001;
inline constexpr int kSave = 1002;  // layout toggle
inline constexpr int kPrint = 1004;
inline constexpr int kSetting = 1005;
inline constexpr int kZoom = 1006;
inline constexpr int kAbout = 1007;
inline constexpr int kMin = 1008;
inline constexpr int kMax = 1009;
inline constexpr int kClose = 1010;
inline constexpr int kPrev = 1011;
inline constexpr int kRewind = 1012;
inline constexpr int kPlay = 1013;
inline constexpr int kForward = 1014;
inline constexpr int kPause = 1015;
inline constexpr int kNext = 1016;
inline constexpr int kSpeed = 1017;
inline constexpr int kBright = 1018;
inline constexpr int kMute = 1019;
inline constexpr int kMap = 1020;
inline constexpr int kKindAll = 1021;
inline constexpr int kKindEvent = 1022;
inline constexpr int kKindNormal = 1023;
inline constexpr int kKindParking = 1024;
inline constexpr int kFront = 1025;
inline constexpr int kRear = 1027;
inline constexpr int kBoth = 1028;
inline constexpr int kRearMirror = 1334;

// Other controls.
inline constexpr int kList = 1003;
inline constexpr int kSeek = 1026;
inline constexpr int kSpeedSlider = 1033;
inline constexpr int kBrightSlider = 1034;

// Text panels.
inline constexpr int kText1 = 1007;
inline constexpr int kText2 = 1008;
inline constexpr int kText3 = 1009;
inline constexpr int kText4 = 1010;
inline constexpr int kText7 = 1013;

// Context menu items.
inline constexpr int kMenuOpen = 32810;
inline constexpr int kMenuPlayPause = 32811;
inline constexpr int kMenuPrev = 32812;
inline constexpr int kMenuNext = 32813;
inline constexpr int kMenuDarken = 32814;
inline constexpr int kMenuBrighten = 32815;
inline constexpr int kMenuBrightDefault = 32816;
inline constexpr int kMenuFaster = 32817;
inline constexpr int kMenuSlower = 32818;
inline constexpr int kMenuSpeedDefault = 32819;
inline constexpr int kMenuVolumeUp = 32820;
inline constexpr int kMenuVolumeDown = 32821;
inline constexpr int kMenuMute = 32822;
inline constexpr int kMenuKindAll = 32823;
inline constexpr int kMenuKindNormal = 32824;
inline constexpr int kMenuKindEvent = 32825;
inline constexpr int kMenuKindParking = 32826;

// Timers.
inline constexpr int kTimerPosition = 1;   // 200 ms position update
inline constexpr int kTimerDoubleClick = 4;  // 1000 ms, plays the double-clicked row
inline constexpr int kTimerCardRemoved = 6;  // 1000 ms, card removed while opening
inline constexpr int kTimerStartup = 7;    // 1 ms one-shot, the start-up notice

// Private messages.
inline constexpr int kMsgKindButtons = 2126;  // repaint the four kind buttons

}  // namespace kx::cmd
