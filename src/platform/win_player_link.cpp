#include "platform/win_player_link.h"

// shellapi.h builds on windows.h.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <QFileInfo>
#include <algorithm>
#include <cstdio>

#include "platform/player_command_line.h"

namespace {

// The player's message numbers.
constexpr WPARAM kLengthMode = 1;
constexpr LPARAM kIpcPlayState = 104;
constexpr LPARAM kIpcOutputTime = 105;
constexpr LPARAM kIpcJumpTo = 106;
constexpr LPARAM kIpcSetVolume = 122;
constexpr WPARAM kCommandPause = 40046;
constexpr WPARAM kCommandStop = 40047;
constexpr WPARAM kCommandFadeStop = 40147;
// Long enough for a busy player (a seek, a file on a network share) to answer: a slow
// answer read as "stopped" would end the track on air. A hung one is not waited for.
constexpr UINT kAnswerWithinMs = 1000;

void Report(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// The ANSI code page cannot carry every character; a path it would change is refused.
bool ToAnsi(const QString& text, QByteArray* out) {
    *out = text.toLocal8Bit();
    return QString::fromLocal8Bit(*out) == text;
}

}  // namespace

bool WinPlayerLink::ProgramExists(const QString& programPath) const {
    return !programPath.isEmpty() && QFileInfo(programPath).isFile();
}

void WinPlayerLink::Launch(int deck, const QString& programPath) {
    if (deck != 0 && deck != 1) return;
    m_program = programPath;
    const QByteArray windowClass = player_command_line::PlayerWindowClass(deck).toLatin1();
    // An instance left from an earlier run is reused, not started a second time.
    if (FindWindowA(windowClass.constData(), nullptr)) return;
    Start(player_command_line::LaunchParameters(deck));
}

bool WinPlayerLink::Find(int deck) {
    if (deck != 0 && deck != 1) return false;
    const QByteArray windowClass = player_command_line::PlayerWindowClass(deck).toLatin1();
    m_handles[deck] = FindWindowA(windowClass.constData(), nullptr);
    return m_handles[deck] != nullptr;
}

long long WinPlayerLink::Send(int deck, unsigned message, long long wParam,
                              long long lParam) const {
    if (deck != 0 && deck != 1) return 0;
    // A handle of a closed window, or none, answers 0, as a closed player does. So does
    // a player that hangs (an error box of its own), so the tick and the window go on.
    DWORD_PTR answer = 0;
    const LRESULT delivered = SendMessageTimeoutA(
        static_cast<HWND>(m_handles[deck]), message, static_cast<WPARAM>(wParam),
        static_cast<LPARAM>(lParam), SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerWithinMs, &answer);
    // Through LRESULT, so that a -1 ("no file") stays -1 in a 32-bit build too.
    return delivered != 0 ? static_cast<long long>(static_cast<LRESULT>(answer)) : 0;
}

int WinPlayerLink::PlayState(int deck) {
    return static_cast<int>(Send(deck, WM_USER, 0, kIpcPlayState));
}

int WinPlayerLink::PositionMs(int deck) {
    return static_cast<int>(Send(deck, WM_USER, 0, kIpcOutputTime));
}

int WinPlayerLink::LengthSec(int deck) {
    return static_cast<int>(Send(deck, WM_USER, kLengthMode, kIpcOutputTime));
}

// No target below the start of the track reaches the player.
void WinPlayerLink::JumpTo(int deck, int ms) { Send(deck, WM_USER, std::max(ms, 0), kIpcJumpTo); }

void WinPlayerLink::SetVolume(int deck, int volume) {
    Send(deck, WM_USER, std::clamp(volume, 0, 255), kIpcSetVolume);
}

void WinPlayerLink::TogglePause(int deck) { Send(deck, WM_COMMAND, kCommandPause, 0); }

void WinPlayerLink::Stop(int deck) { Send(deck, WM_COMMAND, kCommandStop, 0); }

void WinPlayerLink::StopWithFade(int deck) { Send(deck, WM_COMMAND, kCommandFadeStop, 0); }

void WinPlayerLink::HandOver(int deck, const QString& path) {
    if (deck != 0 && deck != 1) return;
    const auto parameters = player_command_line::HandOverParameters(deck, path);
    if (!parameters) {
        Report(QStringLiteral("Not played: the player's command line cannot carry the path %1")
                   .arg(path));
        return;
    }
    Start(*parameters);
}

void WinPlayerLink::Start(const QString& parameters) const {
    QByteArray program;
    QByteArray text;
    if (!ToAnsi(m_program, &program) || !ToAnsi(parameters, &text)) {
        Report(QStringLiteral("Not played: the path has characters this system's code page "
                              "lacks: %1")
                   .arg(parameters));
        return;
    }
    // Not awaited: the running instance takes the file in its own time.
    ShellExecuteA(nullptr, nullptr, program.constData(), text.constData(), nullptr, SW_SHOWNORMAL);
}
