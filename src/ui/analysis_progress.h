#pragma once

#include <QWidget>

#include "app/analysis_state.h"

class QLabel;
class QProgressBar;

/// The background analysis's progress at the right of the menu bar: "Analysing 1 234 of
/// 48 000" (`LabelAnalysis`) and a bar (`ProgressAnalysis`), both hidden when all is done.
class AnalysisProgress final : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisProgress(QWidget* parent);
    void Redraw(const AnalysisState& state);

private:
    QLabel* m_label;
    QProgressBar* m_bar;
};
