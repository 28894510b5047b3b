#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

/// The one door to the lengths of audio files in seconds. A file is measured again only
/// when its size or modification time changed; a missing or unreadable file is 0.
/// TrackLengthCache is the real one; tests give lengths without files.
class TrackLengths : public QObject {
    Q_OBJECT
public:
    /// The length of the file: read now, or once ReadInBackground() was called, the
    /// remembered one (nullopt while none is) and a read on the side.
    virtual std::optional<std::uint32_t> Lookup(const QString& path) = 0;
    /// The remembered length, looking at no file and starting no read.
    virtual std::optional<std::uint32_t> Known(const QString& path) const = 0;
    /// From now on a file is never read on the caller's thread.
    virtual void ReadInBackground() = 0;

Q_SIGNALS:
    /// Lengths read in the background were taken in and differ from what Known() gave.
    void LengthsArrived();
};
