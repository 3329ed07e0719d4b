#pragma once

// Identifiers of the program's resources, shared by the tables, the images and the windows.
namespace res {

constexpr int kDialogAbout = 100;
constexpr int kDialogMain = 102;
constexpr int kDialogDataConfig = 103;
constexpr int kDialogTermEdit = 104;
constexpr int kDialogSettings = 105;
constexpr int kDialogInfo = 106;

constexpr int kStringAboutMenu = 101;

constexpr int kIconMain = 128;
constexpr int kBitmapBanner = 130;
constexpr int kMenuTray = 132;
constexpr int kCursorHand = 140;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

}  // namespace res
