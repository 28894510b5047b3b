#pragma once

#include <QWidget>

#include "app/options_state.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class StationClient;

/// The options' "Streams" page: one of the four stream outputs at a time (`ComboBoxStream`)
/// with its server, mount, user and password, format and bit rate, and the names the
/// stream shows; and whether spots and jingles change the streams' titles. Each edit is the
/// option of its key (`Stream1/Server` …), sent as it is typed.
class StreamsPage final : public QWidget {
    Q_OBJECT
public:
    StreamsPage(StationClient& client, QWidget* parent);
    /// Copies the chosen stream's settings into the boxes.
    void Load(const OptionsState& state);

private:
    QLineEdit* Field(const char* name, const char* key);
    void Send(const char* key, const QString& value);

    StationClient& m_client;
    OptionsState m_state;
    QComboBox* m_stream;
    QCheckBox* m_enabled;
    QComboBox* m_format;
    QCheckBox* m_spotTitles;
    QList<QPair<QLineEdit*, const char*>> m_fields;  // each box and its key in the group
    bool m_loading = false;
};
