#pragma once

#include <memory>

#include "player/line_in_control.h"

/// The line input through the sound server (PulseAudio, or PipeWire's PulseAudio side):
/// Open loads a loopback from the source to the default output at silence, SetVolume
/// sets the volume of its stream, Close unloads it. The server is spoken to from a
/// thread of its own, so no call waits for it (Close waits a moment for the unload).
/// A server that goes away is looked for again every half second and the route put back at the
/// level the line has then; its loss and its return are each told once.
class PulseLineInControl final : public LineInControl {
    Q_OBJECT
public:
    explicit PulseLineInControl(QObject* parent = nullptr);
    ~PulseLineInControl() override;

    void Open(const QString& source) override;
    void SetVolume(int v) override;
    void Close() override;

    /// Whether the route is in place now (for the tests).
    bool Routed() const;

    struct Server;

private:
    std::unique_ptr<Server> m_server;
};
