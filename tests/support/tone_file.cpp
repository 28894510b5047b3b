#include "support/tone_file.h"

#include <QProcess>

QString WriteToneMp3(const QString& path, double hz, double seconds, double amplitude,
                     double leadSec, double tailSec) {
    const QString wave = QStringLiteral("%1*sin(2*PI*%2*t)").arg(amplitude).arg(hz);
    QString source = QStringLiteral("aevalsrc=%1|%1:s=44100:d=%2").arg(wave).arg(seconds);
    if (leadSec > 0) source += QStringLiteral(",adelay=%1s:all=1").arg(leadSec);
    if (tailSec > 0) source += QStringLiteral(",apad=pad_dur=%1").arg(tailSec);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source, "-codec:a",
                  "libmp3lame", "-b:a", "128k", path});
    if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0)
        return QStringLiteral("ffmpeg could not write %1: %2%3")
            .arg(path, ffmpeg.errorString(), QString::fromLocal8Bit(ffmpeg.readAllStandardError()));
    return {};
}
