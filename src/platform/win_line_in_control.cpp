#include "platform/win_line_in_control.h"

// mmsystem.h builds on windows.h.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <algorithm>

namespace {

constexpr DWORD kVolumeSupport = 1;  // AUXCAPS_VOLUME
constexpr WORD kAuxInput = 2;        // AUXCAPS_AUXIN

}  // namespace

void WinLineInControl::Open(const QString&) {
    m_device = 0;
    const UINT count = auxGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        AUXCAPSA caps{};
        if (auxGetDevCapsA(i, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
        if ((caps.dwSupport & kVolumeSupport) && (caps.wTechnology & kAuxInput)) {
            m_device = i;
            break;
        }
    }
}

void WinLineInControl::SetVolume(int v) {
    // Both channels v × 256: left in the low word, right in the high word.
    const DWORD channel = DWORD(std::clamp(v, 0, 255)) * 256;
    auxSetVolume(m_device, channel | (channel << 16));
}
