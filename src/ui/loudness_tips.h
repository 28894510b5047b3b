#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QAbstractItemView;
class StationClient;

/// A track's loudness as the tooltip of its row in a list of tracks: when the pointer
/// rests on a row, the core is asked for that row's analysis, and its answer is shown
/// where the pointer rests, so the operator can find the track that is too loud or quiet.
class LoudnessTips final : public QObject {
    Q_OBJECT
public:
    /// ask sends the command that looks up the row (from 0) of the view.
    LoudnessTips(QAbstractItemView& view, StationClient& client, std::function<void(int)> ask);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowAnswer();

    QAbstractItemView& m_view;
    StationClient& m_client;
    std::function<void(int)> m_ask;
    bool m_waiting = false;
    int m_serialAsked = 0;  // the answer's serial when the question went
    QPoint m_at;            // where the pointer rested, on the screen
};
