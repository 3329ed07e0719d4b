#include <windows.h>

#include "platform/WindowActivation.h"
#include "platform/win/ShowRequestProtocolWin.h"

namespace platform {

bool ActivateExistingWindow(const std::string& titleUtf8) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, titleUtf8.data(),
                                           static_cast<int>(titleUtf8.size()), nullptr, 0);
    std::wstring title(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, titleUtf8.data(), static_cast<int>(titleUtf8.size()),
                        title.data(), length);
    HWND window = FindWindowW(nullptr, title.c_str());
    if (window == nullptr) {
        return false;
    }
    if (GetPropW(window, win::kMarkerProperty) != nullptr) {
        // Our own copy shows itself, so that Qt knows the window is visible; let it take the
        // foreground, which Windows only grants to the process that has it.
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        AllowSetForegroundWindow(processId);
        PostMessageW(window, RegisterWindowMessageW(win::kShowMessage), 0, 0);
    } else {
        ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
    }
    return true;
}

}  // namespace platform
