#pragma once

#include <QObject>
#include <QString>

/// The level control of the line input: a route from the input to the output whose
/// volume the line-in bar sets. Opening and closing may finish later, away from the
/// caller; a control never blocks the tick.
class LineInControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Routes source (empty: the system's default input) to the output at silence.
    virtual void Open(const QString& source) = 0;
    /// v of 0..255: v/255 of full volume on every channel.
    virtual void SetVolume(int v) = 0;
    /// Removes the route; the control may be opened again.
    virtual void Close() = 0;

Q_SIGNALS:
    /// The route cannot be made (no sound server, no such input). Told once until the
    /// route works again.
    void Problem(const QString& message);
};

/// A control that only remembers and reports its levels: the week preview's and the
/// tests' line input, which never touches the sound server.
class SimulatedLineInControl : public LineInControl {
    Q_OBJECT
public:
    using LineInControl::LineInControl;

    void Open(const QString& source) override;
    void SetVolume(int v) override;
    void Close() override;

    bool IsOpen() const { return m_open; }
    int Volume() const { return m_volume; }

Q_SIGNALS:
    void VolumeSet(int v);

private:
    bool m_open = false;
    int m_volume = 0;
};
