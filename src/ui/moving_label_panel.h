#pragma once

#include <QFrame>

class QLabel;

/// A panel whose one label moves sideways as the core says: the running title
/// (`PanelTrackName1` / `LabelTrackName1`), the bottom marquee (`PanelAdv1` /
/// `LabelBottomAdvert1`) and the operator's message (`PanelMessages` / `LabelMessages`).
/// The core computes the label's left edge from the widths this panel reports.
class MovingLabelPanel final : public QFrame {
    Q_OBJECT
public:
    MovingLabelPanel(const QString& panelName, const QString& labelName, QWidget* parent);

    QLabel* Label() const { return m_label; }
    /// Sets the text (sizing the label to it) when it differs; true when it did.
    bool SetText(const QString& text);
    /// The width in pixels that text takes in the label's font.
    int TextWidth(const QString& text) const;
    void SetLabelLeft(int left);

Q_SIGNALS:
    /// The panel's width changed.
    void WidthChanged(int width);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_label;
};
