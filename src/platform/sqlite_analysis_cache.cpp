#include "platform/sqlite_analysis_cache.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <vector>

namespace {

// Raised when the table changes; a file of another version is set aside, never read.
constexpr int kSchemaVersion = 1;
// Another process's write holds the file for milliseconds; longer means something is wrong,
// and the caller (perhaps the window's thread) must not wait for it.
constexpr int kBusyTimeoutMs = 1000;

const char* const kColumns[] = {"path",          "size",         "modified_ms",
                                "loudness_lufs", "true_peak_db", "start_sec",
                                "end_sec",       "length_sec",   "sound_found"};
constexpr char kCreateTable[] =
    "CREATE TABLE analysis (path TEXT PRIMARY KEY NOT NULL, size INTEGER NOT NULL, "
    "modified_ms INTEGER NOT NULL, loudness_lufs REAL, true_peak_db REAL, start_sec REAL, "
    "end_sec REAL, length_sec REAL, sound_found INTEGER NOT NULL)";
constexpr char kFindRow[] =
    "SELECT loudness_lufs, true_peak_db, start_sec, end_sec, length_sec, sound_found "
    "FROM analysis WHERE path = ?1 AND size = ?2 AND modified_ms = ?3";
constexpr char kKeepRow[] =
    "INSERT OR REPLACE INTO analysis (path, size, modified_ms, loudness_lufs, true_peak_db, "
    "start_sec, end_sec, length_sec, sound_found) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)";

/// Why the cache file could not be used. Only a damaged file is set aside: one that is
/// busy or cannot be opened may be another process's good cache.
struct Failure {
    QString reason;
    bool damaged = false;
};

bool IsDamage(int code) {
    code &= 0xff;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

/// A file as it is now: the key of its row, and what must still match for the row to hold.
struct FileState {
    QString key;
    qint64 size = 0;
    qint64 modifiedMs = 0;
};

std::optional<FileState> StateOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return std::nullopt;
    return FileState{info.absoluteFilePath(), info.size(),
                     info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch()};
}

/// A statement prepared for one use.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    int Step() { return m_statement ? sqlite3_step(m_statement) : SQLITE_ERROR; }
    sqlite3_stmt* operator*() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
};

// SQLite keeps a NaN as NULL; infinities (the loudness of silence) as they are.
void BindDouble(sqlite3_stmt* statement, int index, double value) {
    if (std::isnan(value))
        sqlite3_bind_null(statement, index);
    else
        sqlite3_bind_double(statement, index, value);
}

double ColumnDouble(sqlite3_stmt* statement, int index) {
    return sqlite3_column_type(statement, index) == SQLITE_NULL
               ? std::numeric_limits<double>::quiet_NaN()
               : sqlite3_column_double(statement, index);
}

}  // namespace

/// One connection, to the file or (when the file cannot be used) to memory, behind a lock.
class SqliteAnalysisCache::Connection {
public:
    explicit Connection(const QString& file) : m_file(file) { Start(std::nullopt); }
    ~Connection() { Close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    std::optional<SoundAnalysis> Find(const FileState& state);
    Result Keep(const FileState& state, const SoundAnalysis& analysis);
    QString Problem() const;

private:
    void Start(std::optional<Failure> failure);
    std::optional<Failure> OpenFile();
    std::optional<Failure> Prepare(bool inFile);
    std::optional<Failure> CheckTable();
    Failure LastFailure() const;
    void SetAside() const;
    void Close();
    void Bind(sqlite3_stmt* statement, const FileState& state) const;
    void AfterStep(int code);

    const QString m_file;
    mutable std::mutex m_mutex;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_find = nullptr;
    sqlite3_stmt* m_keep = nullptr;
    bool m_inMemory = false;
    QString m_problem;
};

// Opens the file; a damaged one is set aside and made anew, and a file that cannot be
// used leaves a cache in memory (or, failing even that, one that keeps nothing).
void SqliteAnalysisCache::Connection::Start(std::optional<Failure> failure) {
    if (!failure) failure = OpenFile();
    if (failure && failure->damaged) {
        Close();
        m_problem = QStringLiteral("The analysis cache %1 was damaged and is rebuilt: %2")
                        .arg(QDir::toNativeSeparators(m_file), failure->reason);
        SetAside();
        failure = OpenFile();
    }
    if (!failure) return;
    Close();
    m_problem = QStringLiteral(
                    "The analysis cache %1 cannot be opened; analyses are kept in "
                    "memory only: %2")
                    .arg(QDir::toNativeSeparators(m_file), failure->reason);
    m_inMemory = true;
    if (sqlite3_open(":memory:", &m_db) != SQLITE_OK || Prepare(false)) Close();
}

std::optional<Failure> SqliteAnalysisCache::Connection::OpenFile() {
    const QFileInfo info(m_file);
    const bool existed = info.exists();
    if (const QString folder = info.absolutePath(); !QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder)) return Failure{QStringLiteral("its folder cannot be made")};
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (sqlite3_open_v2(m_file.toUtf8().constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        return LastFailure();
    // Its journal files take the file's permissions.
    if (!existed) QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner);
    if (sqlite3_db_readonly(m_db, "main") == 1)
        return Failure{QStringLiteral("the file cannot be written")};
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    return Prepare(true);
}

std::optional<Failure> SqliteAnalysisCache::Connection::Prepare(bool inFile) {
    if (inFile) {
        // Readers never wait for a writer (a worker, another station, --analyze).
        if (sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK)
            return LastFailure();
        // A commit does not wait for the disk, so a hand-over's look-up never waits behind a
        // worker's: a power cut may only lose the last analyses, which are simply made again.
        if (sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr) != SQLITE_OK)
            return LastFailure();
        Statement check(m_db, "PRAGMA quick_check");
        if (check.Step() != SQLITE_ROW) return LastFailure();
        const QString verdict =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(*check, 0)));
        if (verdict != QLatin1String("ok")) return Failure{verdict, true};
    }
    // Checked and made in one write, so two processes starting at once agree.
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return LastFailure();
    if (auto failure = CheckTable()) return failure;
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db, kFindRow, -1, &m_find, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db, kKeepRow, -1, &m_keep, nullptr) != SQLITE_OK)
        return LastFailure();
    return std::nullopt;
}

std::optional<Failure> SqliteAnalysisCache::Connection::CheckTable() {
    Statement version(m_db, "PRAGMA user_version");
    if (version.Step() != SQLITE_ROW) return LastFailure();
    const int schema = sqlite3_column_int(*version, 0);
    if (schema > kSchemaVersion)
        return Failure{
            QStringLiteral("it was written by a newer version of Stavox Mixer (schema %1)")
                .arg(schema),
            true};
    std::vector<QByteArray> columns;
    Statement tableInfo(m_db, "PRAGMA table_info(analysis)");
    int code;
    while ((code = tableInfo.Step()) == SQLITE_ROW)
        columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(*tableInfo, 1)));
    if (code != SQLITE_DONE) return LastFailure();
    Statement objects(m_db, "SELECT count(*) FROM sqlite_master");
    if (objects.Step() != SQLITE_ROW) return LastFailure();
    if (schema == 0 && sqlite3_column_int(*objects, 0) == 0) {
        const QByteArray setVersion = "PRAGMA user_version=" + QByteArray::number(kSchemaVersion);
        if (sqlite3_exec(m_db, kCreateTable, nullptr, nullptr, nullptr) != SQLITE_OK ||
            sqlite3_exec(m_db, setVersion.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return LastFailure();
        return std::nullopt;
    }
    if (schema != kSchemaVersion ||
        !std::equal(columns.begin(), columns.end(), std::begin(kColumns), std::end(kColumns)))
        return Failure{QStringLiteral("its table has another shape"), true};
    return std::nullopt;
}

Failure SqliteAnalysisCache::Connection::LastFailure() const {
    if (!m_db) return Failure{QStringLiteral("out of memory")};
    return Failure{QString::fromUtf8(sqlite3_errmsg(m_db)),
                   IsDamage(sqlite3_extended_errcode(m_db))};
}

// Kept once for a look; its journals belong to it and would be replayed into a new file.
void SqliteAnalysisCache::Connection::SetAside() const {
    const QString aside = m_file + QStringLiteral(".damaged");
    QFile::remove(aside);
    if (!QFile::rename(m_file, aside)) QFile::remove(m_file);
    for (const char* journal : {"-wal", "-shm", "-journal"})
        QFile::remove(m_file + QLatin1String(journal));
}

void SqliteAnalysisCache::Connection::Close() {
    sqlite3_finalize(m_find);
    sqlite3_finalize(m_keep);
    sqlite3_close_v2(m_db);
    m_find = m_keep = nullptr;
    m_db = nullptr;
}

void SqliteAnalysisCache::Connection::Bind(sqlite3_stmt* statement, const FileState& state) const {
    sqlite3_reset(statement);
    sqlite3_bind_text16(statement, 1, state.key.utf16(), int(state.key.size() * sizeof(char16_t)),
                        SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement, 2, state.size);
    sqlite3_bind_int64(statement, 3, state.modifiedMs);
}

// A file found damaged while in use is not trusted any longer than one found at the start.
void SqliteAnalysisCache::Connection::AfterStep(int code) {
    if (IsDamage(code) && !m_inMemory) {
        const Failure damage = LastFailure();
        Close();
        Start(damage);
    }
}

std::optional<SoundAnalysis> SqliteAnalysisCache::Connection::Find(const FileState& state) {
    const std::lock_guard lock(m_mutex);
    if (!m_find) return std::nullopt;
    Bind(m_find, state);
    const int code = sqlite3_step(m_find);
    std::optional<SoundAnalysis> found;
    if (code == SQLITE_ROW) {
        found = SoundAnalysis{ColumnDouble(m_find, 0), ColumnDouble(m_find, 1),
                              ColumnDouble(m_find, 2), ColumnDouble(m_find, 3),
                              ColumnDouble(m_find, 4), sqlite3_column_int(m_find, 5) != 0};
    }
    sqlite3_reset(m_find);
    AfterStep(code);
    return found;
}

Result SqliteAnalysisCache::Connection::Keep(const FileState& state,
                                             const SoundAnalysis& analysis) {
    const std::lock_guard lock(m_mutex);
    const auto refusal = [&](const QString& reason) {
        return Result::Error(QStringLiteral("The analysis of %1 cannot be kept: %2")
                                 .arg(QDir::toNativeSeparators(state.key), reason));
    };
    if (!m_keep) return refusal(QStringLiteral("the analysis cache is closed"));
    Bind(m_keep, state);
    BindDouble(m_keep, 4, analysis.loudnessLufs);
    BindDouble(m_keep, 5, analysis.truePeakDb);
    BindDouble(m_keep, 6, analysis.startSec);
    BindDouble(m_keep, 7, analysis.endSec);
    BindDouble(m_keep, 8, analysis.lengthSec);
    sqlite3_bind_int(m_keep, 9, analysis.soundFound ? 1 : 0);
    const int code = sqlite3_step(m_keep);
    const QString reason = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_keep);
    AfterStep(code);
    return code == SQLITE_DONE ? Result::Ok() : refusal(reason);
}

QString SqliteAnalysisCache::Connection::Problem() const {
    const std::lock_guard lock(m_mutex);
    return m_problem;
}

SqliteAnalysisCache::SqliteAnalysisCache(const QString& file)
    : m_connection(std::make_unique<Connection>(file)) {}

SqliteAnalysisCache::~SqliteAnalysisCache() = default;

QString SqliteAnalysisCache::DefaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/stavox-mixer/analysis.sqlite");
}

std::optional<SoundAnalysis> SqliteAnalysisCache::Find(const QString& path) const {
    // The file is looked at outside the lock: a slow share holds up no other caller.
    const auto state = StateOf(path);
    return state ? m_connection->Find(*state) : std::nullopt;
}

Result SqliteAnalysisCache::Keep(const QString& path, const SoundAnalysis& analysis) {
    const auto state = StateOf(path);
    if (!state)
        return Result::Error(
            QStringLiteral("The analysis of %1 cannot be kept: the file is missing.")
                .arg(QDir::toNativeSeparators(path)));
    return m_connection->Keep(*state, analysis);
}

QString SqliteAnalysisCache::Problem() const { return m_connection->Problem(); }
