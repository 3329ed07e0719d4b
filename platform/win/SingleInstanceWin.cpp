#include <windows.h>

#include "platform/SingleInstance.h"

namespace platform {
namespace {

std::string LookName(const std::string& markerName) {
    return markerName + "-running";
}

}  // namespace

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
    // What a look (IsHeldElsewhere) opens instead of the mutex, so that it never keeps the
    // mutex in existence while a copy starts.
    m_lookHandle = reinterpret_cast<std::intptr_t>(
        CreateEventA(nullptr, TRUE, FALSE, LookName(markerName).c_str()));
    m_handle = reinterpret_cast<std::intptr_t>(mutex);
    m_state = State::kAcquired;
    return true;
}

bool CSingleInstance::IsHeldElsewhere(const std::string& markerName) {
    HANDLE running = OpenEventA(SYNCHRONIZE, FALSE, LookName(markerName).c_str());
    if (running == nullptr) {
        return false;
    }
    CloseHandle(running);
    return true;
}

void CSingleInstance::Release() {
    if (m_state != State::kAcquired) {
        return;
    }
    if (m_lookHandle != 0) {
        CloseHandle(reinterpret_cast<HANDLE>(m_lookHandle));
        m_lookHandle = 0;
    }
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
    m_state = State::kReleased;
}

}  // namespace platform
