// The library's views over a large station: 500 lists of 200 track lines each (100 000
// lines), names in Greek and in Latin letters, every fifth list in Windows-1253. Measures a
// search run against grep over the same files, the Artists view and one list's Alphabetic
// view.
//
// `library_bench --make-library FOLDER [ROOT]` only writes such a station's lists into
// FOLDER/pro1 (bench/library_start_bench.sh times the window's start on it); with ROOT the
// tracks' paths begin with ROOT + "/music/" instead of "/music/", so that a benchmark can
// make the files (bench/dead_entries_bench.sh).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <random>

#include "base/text_file.h"
#include "library/library.h"
#include "library/track_search.h"

namespace {

constexpr int kLists = 500;
constexpr int kLinesPerList = 200;
constexpr int kArtists = 2000;
constexpr int kTracks = 20000;

const QStringList kLatinWords = {"Love", "Night", "Summer", "Blue",  "River", "Dance", "Heart",
                                 "Rain", "Fire",  "Road",   "Dream", "Light", "Song",  "Sea"};
const QStringList kGreekWords = {"Αγάπη", "Νύχτα", "Καλοκαίρι", "Θάλασσα", "Καρδιά",
                                 "Βροχή", "Φωτιά", "Δρόμος",    "Όνειρο",  "Φως",
                                 "ΚΑΛΗ",  "Μέρα",  "αγαπη",     "ΞΑΝΑ"};
const QStringList kLatinNames = {"Anna", "George", "Maria", "Nick", "Helen", "John", "Kostas"};
const QStringList kGreekNames = {"Άννα", "Γιώργος", "Μαρία", "Νίκος", "Ελένη", "Γιάννης", "Κώστας"};

QString Pick(const QStringList& words, std::mt19937& rng) {
    return words[static_cast<int>(rng() % words.size())];
}

// Half the artists and titles in Greek, half in Latin letters.
QStringList MakeTrackPaths(const QString& root) {
    std::mt19937 rng(1234);
    QStringList artists;
    for (int i = 0; i < kArtists; ++i) {
        const bool greek = i % 2 == 0;
        artists << QStringLiteral("%1 %2%3")
                       .arg(Pick(greek ? kGreekNames : kLatinNames, rng),
                            Pick(greek ? kGreekWords : kLatinWords, rng))
                       .arg(i);
    }
    QStringList paths;
    for (int i = 0; i < kTracks; ++i) {
        const QString& artist = artists[static_cast<int>(rng() % kArtists)];
        const bool greek = i % 2 == 0;
        const QString title = QStringLiteral("%1 %2 %3")
                                  .arg(Pick(greek ? kGreekWords : kLatinWords, rng),
                                       Pick(greek ? kGreekWords : kLatinWords, rng))
                                  .arg(i);
        paths << root + QStringLiteral("/music/%1/%1 - %2.mp3").arg(artist, title);
    }
    return paths;
}

void WriteLists(const QString& listsFolder, const QString& root = {}) {
    QDir().mkpath(listsFolder);
    const QStringList tracks = MakeTrackPaths(root);
    std::mt19937 rng(5678);
    for (int list = 0; list < kLists; ++list) {
        QString text;
        for (int line = 0; line < kLinesPerList; ++line)
            text += tracks[static_cast<int>(rng() % tracks.size())] + QStringLiteral("\r\n");
        const QString name = (list % 50 == 0 ? QStringLiteral("CD_") : QString()) +
                             QStringLiteral("List %1").arg(list, 3, 10, QChar(u'0'));
        QFile file(listsFolder + u'/' + name);
        const QByteArray bytes = list % 5 == 0 ? text_file::EncodeWindows1253(text) : text.toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
}

class Station {
public:
    static const Station& Get() {
        static const Station station;
        return station;
    }
    QString listsPath;
    QStringList listFiles;

private:
    Station() {
        listsPath = m_dir.filePath(QStringLiteral("pro1")) + u'/';
        WriteLists(listsPath);
        for (const QString& name : QDir(listsPath).entryList(QDir::Files, QDir::Name))
            listFiles << listsPath + name;
    }
    QTemporaryDir m_dir;
};

void BM_Search(benchmark::State& state, const QString& text, bool greeklish) {
    const Station& station = Station::Get();
    int rows = 0;
    for (auto _ : state) {
        const SearchOutcome outcome =
            RunTrackSearch(station.listsPath, {text, QString(), greeklish, true});
        rows = static_cast<int>(outcome.rows.size());
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
}

double ChildrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// grep as the yardstick: one process over the same files, counting matching lines. Its
// processor time (counter "cpu") is grep's own, for comparison with the search's on a
// loaded machine.
void BM_GrepCount(benchmark::State& state, const QString& text) {
    const Station& station = Station::Get();
    const QString grep = QStandardPaths::findExecutable(QStringLiteral("grep"));
    if (grep.isEmpty()) {
        state.SkipWithError("grep is not installed");
        return;
    }
    const double cpuBefore = ChildrenCpuMs();
    for (auto _ : state) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));  // -i on Greek too
        process.setProcessEnvironment(environment);
        process.start(grep, QStringList{QStringLiteral("-ciF"), text} + station.listFiles);
        process.waitForFinished(-1);
        benchmark::DoNotOptimize(process.readAllStandardOutput());
    }
    state.counters["cpu"] =
        benchmark::Counter(ChildrenCpuMs() - cpuBefore, benchmark::Counter::kAvgIterations);
}

void BM_ArtistsView(benchmark::State& state) {
    const Station& station = Station::Get();
    Library library(station.listsPath);
    library.CheckBoxCDsArtistsClick(true);
    for (auto _ : state) {
        library.PageControl1Change(Library::Page::Artists);
        benchmark::DoNotOptimize(library.ArtistCount());
    }
    state.counters["artists"] = library.ArtistCount();
}

void BM_AlphabeticView(benchmark::State& state) {
    const Station& station = Station::Get();
    Library library(station.listsPath);
    library.RefreshListNames();
    for (auto _ : state) {
        library.ListBoxListsForFileClick(1);
        benchmark::DoNotOptimize(library.TracksInFile());
    }
}

// A typical search (two words of a title: about a thousand rows) and a broad one (one
// common word: about ten thousand rows, a tenth of the library), in Latin letters and in
// Greek with the Latin spelling; grep over the same files for each. The search's CPU
// column counts all its threads.
#define SEARCH_AND_GREP(name, text, greeklish)                          \
    BENCHMARK_CAPTURE(BM_Search, name, QStringLiteral(text), greeklish) \
        ->Unit(benchmark::kMillisecond)                                 \
        ->MeasureProcessCPUTime()                                       \
        ->UseRealTime();                                                \
    BENCHMARK_CAPTURE(BM_GrepCount, name, QStringLiteral(text))         \
        ->Unit(benchmark::kMillisecond)                                 \
        ->UseRealTime();
SEARCH_AND_GREP(typical_latin, "night rain", false)
SEARCH_AND_GREP(typical_greeklish, "καλη αγαπη", true)
SEARCH_AND_GREP(broad_latin, "love", false)
SEARCH_AND_GREP(broad_greeklish, "καλη", true)
BENCHMARK_CAPTURE(BM_Search, no_match, QStringLiteral("zzzzz"), false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ArtistsView)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AlphabeticView)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--make-library") == 0) {
        WriteLists(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/pro1"),
                   argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
