#pragma once

#include <QHash>

#include "media/track_lengths.h"

/// Track lengths without files: Seconds[path], 0 for any other path.
class FakeTrackLengths final : public TrackLengths {
public:
    QHash<QString, std::uint32_t> Seconds;

    std::optional<std::uint32_t> Lookup(const QString& path) override { return Known(path); }
    std::optional<std::uint32_t> Known(const QString& path) const override {
        return Seconds.value(path);
    }
    void ReadInBackground() override {}
};
