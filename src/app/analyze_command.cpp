#include "app/analyze_command.h"

#include <QFileInfo>
#include <QTextStream>
#include <QThread>

#include "base/parallel_map.h"
#include "media/sound_analysis.h"

namespace {

// A folder, a pipe or a device is never opened: a pipe would hold the analysis for ever.
QString NotAFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("%1 cannot be analysed: no such file").arg(path);
    if (!info.isFile())
        return QStringLiteral("%1 cannot be analysed: not a regular file").arg(path);
    return {};
}

ReadResult<SoundAnalysis> AnalysisOf(const QString& path, const SoundAnalyzer& analyzer,
                                     AnalysisStore* store) {
    ReadResult<SoundAnalysis> analysis;
    if (const QString why = NotAFile(path); !why.isEmpty()) {
        static_cast<Result&>(analysis) = Result::Error(why);
        return analysis;
    }
    if (store) {
        if (const std::optional<SoundAnalysis> known = store->Find(path)) {
            analysis.value = *known;
            return analysis;
        }
    }
    analysis = analyzer.Analyze(path);
    if (analysis.ok() && store) store->Keep(path, analysis.value);
    return analysis;
}

}  // namespace

int RunAnalyzeCommand(const QStringList& files, int jobs, const SoundAnalyzer& analyzer,
                      AnalysisStore* store, QTextStream& out, QTextStream& err) {
    const int threads = jobs > 0 ? jobs : QThread::idealThreadCount();
    const std::vector<ReadResult<SoundAnalysis>> analyses =
        MapInParallel<ReadResult<SoundAnalysis>>(
            files.size(), [&](qsizetype i) { return AnalysisOf(files[i], analyzer, store); },
            threads);
    int result = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const ReadResult<SoundAnalysis>& a = analyses[std::size_t(i)];
        if (!a.ok()) {
            err << "stavox-mixer: " << a.message() << '\n';
            result = 1;
            continue;
        }
        out << QString::number(a.value.loudnessLufs, 'f', 1) << '\t'
            << QString::number(a.value.truePeakDb, 'f', 1) << '\t'
            << QString::number(a.value.startSec, 'f', 2) << '\t'
            << QString::number(a.value.endSec, 'f', 2) << '\t' << files[i] << '\n';
    }
    out.flush();
    err.flush();
    return result;
}
