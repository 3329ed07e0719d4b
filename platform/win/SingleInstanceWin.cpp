#include <windows.h>

#include "platform/SingleInstance.h"

namespace platform {

std::string CSingleInstance::MarkerDirectory() {
    return {};  // a named kernel object, no file
}

CSingleInstance::~CSingleInstance() {
    Release();
}

bool CSingleInstance::TryAcquire(const std::string& markerName) {
    if (m_state == State::kAcquired) {
        return true;
    }
    m_markerPath = markerName;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, markerName.c_str());
    if (mutex == nullptr) {
        m_state = State::kFailed;
        return false;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        m_state = State::kHeldElsewhere;
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(mutex);
    m_state = State::kAcquired;
    return true;
}

void CSingleInstance::Release() {
    if (m_state != State::kAcquired) {
        return;
    }
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
    m_state = State::kReleased;
}

}  // namespace platform
