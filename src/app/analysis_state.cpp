#include "app/analysis_state.h"

#include "app/station.h"
#include "playback/levelling.h"

namespace {

// Thousands set apart by a space, whatever the locale: "48 000".
QString Grouped(int number) {
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, u' ');
    return digits;
}

}  // namespace

AnalysisState AnalysisStateOf(const Station& station) {
    const AnalysisJob::Progress progress = station.AnalysisProgress();
    const Station::LoudnessAnswer& shown = station.LoudnessShown();
    return {.done = progress.done,
            .seen = progress.seen,
            .progressText = AnalysisProgressText(progress.done, progress.seen),
            .shownPath = shown.path,
            .shownText = shown.text,
            .shownSerial = shown.serial};
}

QString AnalysisProgressText(int done, int seen) {
    if (done >= seen) return {};
    return QStringLiteral("Analysing %1 of %2").arg(Grouped(done), Grouped(seen));
}

QString LoudnessText(const std::optional<SoundAnalysis>& analysis, const Levelling& levelling) {
    if (!analysis) return QStringLiteral("Not analysed yet");
    if (!analysis->soundFound)
        return QStringLiteral("No sound found in its %1 s").arg(analysis->lengthSec, 0, 'f', 2);
    QString text = QStringLiteral("%1 LUFS, true peak %2 dBTP; sound from %3 s to %4 s of %5 s")
                       .arg(analysis->loudnessLufs, 0, 'f', 1)
                       .arg(analysis->truePeakDb, 0, 'f', 1)
                       .arg(analysis->startSec, 0, 'f', 2)
                       .arg(analysis->endSec, 0, 'f', 2)
                       .arg(analysis->lengthSec, 0, 'f', 2);
    if (levelling.LevelTracks)
        text += QStringLiteral("; played at %1%2 dB")
                    .arg(levelling.GainDb(analysis) > 0 ? QStringLiteral("+") : QString())
                    .arg(levelling.GainDb(analysis), 0, 'f', 1);
    return text;
}
