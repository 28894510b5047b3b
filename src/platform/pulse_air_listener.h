#pragma once

#include <memory>

#include "media/air_meter.h"

/// The air through the sound server (PulseAudio, or PipeWire's PulseAudio side): a recording
/// of the source, at a low rate for the meters or the full one for a stream, handed over in blocks
/// of about 40 ms on the server library's thread. A server that goes away after the start is looked
/// for again every second, and the recording taken up again when it comes back.
class PulseAirListener final : public AirListener {
public:
    static constexpr int kDefaultRate = 8'000;
    /// rate: frames a second; a stream of the air asks for the full sound (44100).
    explicit PulseAirListener(int rate = kDefaultRate);
    ~PulseAirListener() override;
    PulseAirListener(const PulseAirListener&) = delete;
    PulseAirListener& operator=(const PulseAirListener&) = delete;

    Result Start(const QString& source, Take take) override;
    void Stop() override;
    int Rate() const override;

    struct Server;

private:
    std::unique_ptr<Server> m_server;
};
