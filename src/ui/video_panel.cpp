#include "ui/video_panel.h"

#include <QFileInfo>
#include <QMediaPlayer>
#include <QPainter>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

namespace {

// The decoder Qt brings with its FFmpeg backend reads the usual animations without any
// further plugins; the operator may still choose another backend.
void PreferFfmpegBackend() {
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}

}  // namespace

VideoPanel::VideoPanel(QWidget* parent) : QFrame(parent) {
    PreferFfmpegBackend();
    m_player = new QMediaPlayer(this);
    m_sink = new QVideoSink(this);
    setObjectName(QStringLiteral("PanelVideo"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    // The animation's screen: dark like the message panel that takes its place.
    setAutoFillBackground(true);
    QPalette screen = palette();
    screen.setColor(QPalette::Window, Qt::black);
    setPalette(screen);
    // No audio output is set: the animation is silent.
    m_player->setVideoSink(m_sink);
    m_player->setLoops(QMediaPlayer::Infinite);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &VideoPanel::ShowFrame);
    connect(m_player, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error, const QString& reason) { Fail(reason); });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia) Fail(m_player->errorString());
            });
}

VideoPanel::~VideoPanel() { m_player->stop(); }

void VideoPanel::Open() {
    m_opened = true;
    if (!QFileInfo(m_path).isFile()) {
        Fail(QStringLiteral("there is no such file"));
        return;
    }
    m_player->setSource(QUrl::fromLocalFile(m_path));
}

void VideoPanel::SetFile(const QString& path) {
    m_path = path;
    // Shown before its file came: it starts now.
    if (m_runningWanted) SetRunning(true);
}

void VideoPanel::SetRunning(bool running) {
    m_runningWanted = running;
    if (m_path.isEmpty()) return;
    if (running && !m_opened) Open();
    if (m_failed) return;
    if (running) {
        m_player->play();
    } else {
        m_player->pause();
    }
}

void VideoPanel::ShowFrame(const QVideoFrame& frame) {
    if (m_failed || !frame.isValid()) return;
    m_frame = frame.toImage();
    update();
}

void VideoPanel::Fail(const QString& reason) {
    if (m_failed) return;
    m_failed = true;
    m_player->stop();
    m_frame = QImage();
    update();
    Q_EMIT Problem(QStringLiteral("%1: not shown: %2").arg(m_path, reason));
}

void VideoPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_frame.isNull()) return;
    QPainter painter(this);
    const QRect inside = contentsRect();
    const QSize size = m_frame.size().scaled(inside.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), size);
    target.moveCenter(inside.center());
    painter.drawImage(target, m_frame);
}
