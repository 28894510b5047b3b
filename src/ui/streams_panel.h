#pragma once

#include <QLabel>

#include "app/air_state.h"

/// Beside the air's meters, a line for each enabled stream output (`PanelStreams`): its
/// mount, how long it has been connected and how much it sent, green; or red with why it
/// is not connected. Hidden while nothing streams.
class StreamsPanel final : public QLabel {
    Q_OBJECT
public:
    explicit StreamsPanel(QWidget* parent);
    void Redraw(const std::vector<StreamStatus>& streams);
};

/// One stream's line as the panel shows it, e.g. "/air 01:02:03 12.4 MB".
QString StreamLine(const StreamStatus& stream);
