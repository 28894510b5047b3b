// A player's lines (one a line of the input) through the deck's mirror and watchdog.
#include "platform/mpv_protocol.h"
#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mpv::DeckMirror mirror;
    mpv::DeckWatchdog watchdog;
    mirror.HandedOver(1);
    watchdog.Sent(1, 0);
    watchdog.Sent(2, 0);
    watchdog.AskedPosition(2);
    qint64 nowMs = 0;
    for (const QByteArray& line : InputBytes(data, size).split('\n')) {
        const mpv::Message message = mpv::ParseLine(line);
        mirror.Apply(message);
        watchdog.Heard(message, nowMs += 100);
        watchdog.Check(mirror.Advancing(), nowMs);
        if (mirror.PositionMs() < 0 || mirror.LengthSec() < -1) std::abort();
        mirror.PlayState();
    }
    return 0;
}
