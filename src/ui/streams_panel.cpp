#include "ui/streams_panel.h"

#include <QLocale>

namespace {

QString Duration(qint64 seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString StreamLine(const StreamStatus& stream) {
    if (stream.connected)
        return QStringLiteral("%1 %2 %3")
            .arg(stream.mount, Duration(stream.connectedForSec),
                 QLocale::c().formattedDataSize(stream.bytesSent, 1,
                                                QLocale::DataSizeTraditionalFormat));
    const QString why =
        stream.lastError.isEmpty() ? QStringLiteral("connecting") : stream.lastError;
    return QStringLiteral("%1 %2").arg(stream.mount, why);
}

StreamsPanel::StreamsPanel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("PanelStreams"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::RichText);
    setWordWrap(false);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("background: black; font-size: 9pt;"));
    // A long error is cut in the panel and read whole in the tooltip.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    hide();
}

void StreamsPanel::Redraw(const std::vector<StreamStatus>& streams) {
    setVisible(!streams.empty());
    QStringList lines, tips;
    for (const StreamStatus& s : streams) {
        lines << QStringLiteral("<span style=\"color:%1\">%2</span>")
                     .arg(s.connected ? QStringLiteral("#00ff00") : QStringLiteral("#ff3030"),
                          StreamLine(s).toHtmlEscaped());
        tips << StreamLine(s);
    }
    const QString text = lines.join(QStringLiteral("<br>"));
    if (text != this->text()) setText(text);
    setToolTip(tips.join(u'\n'));
}
