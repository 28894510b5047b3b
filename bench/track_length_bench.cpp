// TrackLength over 1 000 generated MPEG files, against reading the same files whole,
// against TagLib (when built with it) and against ffprobe (when installed, a few files);
// then what a headerless 4 GiB file costs, and a look-up of lengths already known.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "media/mpeg_data.h"
#include "media/track_length_cache.h"
#include "support/mpeg_builder.h"

#ifdef STAVOX_HAVE_TAGLIB
#include <taglib/audioproperties.h>
#include <taglib/mpegfile.h>
#endif

namespace {

// 1 000 files of 2 to 20 s at 128 kbit/s: every third with a 20 KB ID3v2 tag and a
// trailing ID3v1 tag, every fifth with a Xing tag; about 180 MB in all.
class Library {
public:
    static const Library& Get() {
        static const Library library;
        return library;
    }
    QStringList files;
    std::int64_t bytes = 0;

private:
    Library() {
        for (int i = 0; i < 1000; ++i) {
            MpegFileLayout layout;
            const int seconds = 2 + i % 19;
            layout.audioBytes = std::int64_t{seconds} * 16000;
            if (i % 3 == 0) {
                layout.id3v2Bytes = 20000;
                layout.id3v1 = true;
            }
            if (i % 5 == 0) layout.xingFrames = seconds * 44100 / 1152;
            const QString path = m_dir.filePath(QString("track%1.mp3").arg(i, 4, 10, QChar('0')));
            if (!WriteMpegFile(path, layout)) qFatal("cannot write %s", qPrintable(path));
            files << path;
            bytes += QFile(path).size();
        }
    }
    QTemporaryDir m_dir;
};

void BM_TrackLength(benchmark::State& state) {
    const Library& lib = Library::Get();
    for (auto _ : state) {
        std::uint64_t total = 0;
        for (const QString& f : lib.files) total += TrackLength(f);
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * lib.files.size());
}
BENCHMARK(BM_TrackLength)->Unit(benchmark::kMillisecond);

void BM_PlainReadOfTheSameFiles(benchmark::State& state) {
    const Library& lib = Library::Get();
    for (auto _ : state) {
        std::int64_t total = 0;
        for (const QString& f : lib.files) {
            QFile file(f);
            if (file.open(QIODevice::ReadOnly)) total += file.readAll().size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * lib.files.size());
    state.SetBytesProcessed(state.iterations() * lib.bytes);
}
BENCHMARK(BM_PlainReadOfTheSameFiles)->Unit(benchmark::kMillisecond);

// A 4 GiB file without audio (a hole, so no disk is used): the search for the first frame
// stops after its bound instead of running to the end.
void BM_TrackLengthOfHugeFileWithoutAudio(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.mp3");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(4LL << 30))
        qFatal("cannot make %s", qPrintable(path));
    file.close();
    for (auto _ : state) benchmark::DoNotOptimize(TrackLength(path));
}
BENCHMARK(BM_TrackLengthOfHugeFileWithoutAudio)->Unit(benchmark::kMillisecond);

// The next-track labels ask the cache: a known, unchanged file costs one look at its
// size and time (500 files, CPU time for all).
void BM_CachedLengthOfKnownFiles(benchmark::State& state) {
    const QStringList files = Library::Get().files.mid(0, 500);  // all within the bound
    TrackLengthCache cache;
    for (const QString& f : files) cache.Lookup(f);
    for (auto _ : state) {
        std::uint64_t total = 0;
        for (const QString& f : files) total += cache.Lookup(f).value_or(0);
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_CachedLengthOfKnownFiles)->Unit(benchmark::kMillisecond);

#ifdef STAVOX_HAVE_TAGLIB
void BM_TagLibLength(benchmark::State& state) {
    const Library& lib = Library::Get();
    for (auto _ : state) {
        std::int64_t total = 0;
        for (const QString& f : lib.files) {
            TagLib::MPEG::File file(QFile::encodeName(f).constData(), true,
                                    TagLib::AudioProperties::Average);
            if (file.audioProperties()) total += file.audioProperties()->lengthInSeconds();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * lib.files.size());
}
BENCHMARK(BM_TagLibLength)->Unit(benchmark::kMillisecond);
#endif

// ffprobe starts a process per file, so it measures only the first ten, in wall time.
void BM_FfprobeTenFiles(benchmark::State& state) {
    const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
    if (ffprobe.isEmpty()) {
        state.SkipWithError("ffprobe is not installed");
        return;
    }
    const QStringList files = Library::Get().files.mid(0, 10);
    for (auto _ : state) {
        double total = 0;
        for (const QString& f : files) {
            QProcess p;
            p.start(ffprobe,
                    {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", f});
            p.waitForFinished();
            total += p.readAllStandardOutput().trimmed().toDouble();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_FfprobeTenFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
