#pragma once

#include <QFrame>
#include <QImage>

class QMediaPlayer;
class QVideoFrame;
class QVideoSink;

/// `PanelVideo`: the station's animation `fm.avi`, played muted and looping and drawn
/// scaled into the panel. A missing or unplayable file leaves the panel empty and is told
/// once, by Problem, for the station's standard error.
class VideoPanel final : public QFrame {
    Q_OBJECT
public:
    explicit VideoPanel(QWidget* parent);
    ~VideoPanel() override;

    /// The file to play; it is opened when the panel first runs.
    void SetFile(const QString& path);
    /// Runs while the panel is shown, pauses while the message panel takes its place.
    void SetRunning(bool running);
    /// The frame on screen; a null image while nothing plays.
    const QImage& Frame() const { return m_frame; }
    QVideoSink* Sink() const { return m_sink; }

Q_SIGNALS:
    /// "PATH: not shown: REASON".
    void Problem(const QString& line);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Open();
    void ShowFrame(const QVideoFrame& frame);
    void Fail(const QString& reason);

    QMediaPlayer* m_player;
    QVideoSink* m_sink;
    QString m_path;
    QImage m_frame;
    bool m_runningWanted = false;  // shown, whether or not its file has come
    bool m_opened = false;
    bool m_failed = false;
};
