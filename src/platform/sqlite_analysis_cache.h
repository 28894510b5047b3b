#pragma once

#include <QString>
#include <memory>

#include "media/sound_analysis.h"

/// The analyses kept in an SQLite file, shared by the station, its workers and other
/// processes of the same user (a second station, `--analyze`). A file that is damaged,
/// of another shape or of a newer version is set aside and the cache starts empty; a file
/// that cannot be opened at all leaves a cache that lives in memory until it closes.
/// Either way `Problem()` says so in one line. Safe to use from several threads at once.
class SqliteAnalysisCache final : public AnalysisStore {
public:
    /// Opens the cache file, or creates it and its folder (private to the user).
    explicit SqliteAnalysisCache(const QString& file);
    ~SqliteAnalysisCache() override;
    SqliteAnalysisCache(const SqliteAnalysisCache&) = delete;
    SqliteAnalysisCache& operator=(const SqliteAnalysisCache&) = delete;

    /// The user's cache file: stavox-mixer/analysis.sqlite in the generic cache folder.
    static QString DefaultFile();

    std::optional<SoundAnalysis> Find(const QString& path) const override;
    Result Keep(const QString& path, const SoundAnalysis& analysis) override;

    /// What was wrong with the cache file (it was rebuilt, or it could not be opened);
    /// empty when it opened as it was.
    QString Problem() const;

private:
    class Connection;
    std::unique_ptr<Connection> m_connection;
};
