#include "platform/win_system_shutdown.h"

#include <windows.h>

namespace {

// Switches one privilege of this process on or off; false when the token cannot be
// opened, the privilege is unknown or the adjustment fails.
bool SetPrivilege(const char* name, bool enable) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    bool adjusted = false;
    if (LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
        adjusted = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                   GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return adjusted;
}

QString LastErrorText() {
    wchar_t* text = nullptr;
    const DWORD code = GetLastError();
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString message =
        text ? QString::fromWCharArray(text).trimmed() : QStringLiteral("error %1").arg(code);
    LocalFree(text);
    return message;
}

}  // namespace

Result WinSystemShutdown::PowerOff() {
    const char* privilege = "SeShutdownPrivilege";
    SetPrivilege(privilege, true);
    const bool started = ExitWindowsEx(EWX_SHUTDOWN, 0);
    const QString reason = started ? QString() : LastErrorText();
    SetPrivilege(privilege, false);
    if (started) return Result::Ok();
    return Result::Error(QStringLiteral("Windows refused to shut down: %1").arg(reason));
}
