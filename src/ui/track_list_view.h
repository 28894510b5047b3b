#pragma once

#include <QListView>

#include "app/library_state.h"

class TitleRows;

/// A list box of a library page's track rows: it shows the titles the core published,
/// several rows selectable, and reports the operator's selection and current row as they
/// change. Double click and the context menu are reported.
class TrackListView final : public QListView {
    Q_OBJECT
public:
    TrackListView(const QString& objectName, QWidget* parent);

    /// Lays the rows out again only when they changed; shows the core's selection and
    /// current row when the core set them (new rows, a folder chosen), never echoing back
    /// the operator's own choice.
    void Redraw(const LibraryTrackView& view);

Q_SIGNALS:
    void activatedRow();
    void menuAsked(const QPoint& globalPos);
    /// The operator's whole selection as runs of rows from 1: "1-3 7".
    void selectionChosen(const QString& runs);
    /// The operator's current row from 0; -1 for none.
    void currentChosen(int row);

private:
    void ShowCoreSelection(const LibraryTrackView& view);
    void ReportSelection();

    TitleRows* m_titles;
    int m_revision = -1;
    int m_selectionRevision = -1;
    bool m_showing = false;
};
