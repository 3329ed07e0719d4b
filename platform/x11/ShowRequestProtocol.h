#pragma once

// The show request between two copies of the program on X11. The running copy marks its main
// window with the property kMarkerProperty; a second copy that finds a window carrying it sends the
// window a ClientMessage of type kShowMessage instead of mapping or activating it from outside.
namespace platform::x11 {

constexpr const char* kShowMessage = "_TERMIX_SHOW";
constexpr const char* kMarkerProperty = "_TERMIX_SHOW_RECEIVER";

}  // namespace platform::x11
