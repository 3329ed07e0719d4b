#include <cstdlib>

#include "core/DataLocation.h"

UserFolders UserFoldersFromEnvironment() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || appData[0] == L'\0') {
        return {};
    }
    const std::filesystem::path folder = std::filesystem::path(appData) / L"Termix";
    return {folder, folder, {}};
}
