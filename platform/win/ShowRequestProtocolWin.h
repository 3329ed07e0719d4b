#pragma once

// The show request between two copies of the program on Windows: the running copy marks its main
// window with the window property kMarkerProperty and answers the registered message kShowMessage.
namespace platform::win {

constexpr const wchar_t* kShowMessage = L"_TERMIX_SHOW";
constexpr const wchar_t* kMarkerProperty = L"_TERMIX_SHOW_RECEIVER";

}  // namespace platform::win
