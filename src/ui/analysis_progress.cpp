#include "ui/analysis_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

AnalysisProgress::AnalysisProgress(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_bar(new QProgressBar(this)) {
    m_label->setObjectName(QStringLiteral("LabelAnalysis"));
    m_bar->setObjectName(QStringLiteral("ProgressAnalysis"));
    m_bar->setTextVisible(false);
    m_bar->setFixedSize(120, 12);
    // The menu bar lays out its corner once: room is kept for the longest count.
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label->setFixedWidth(
        m_label->fontMetrics().horizontalAdvance(QStringLiteral("Analysing 000 000 of 000 000 ")));
    setToolTip(
        QStringLiteral("Tracks are measured for loudness and where their sound starts "
                       "and ends, the next ones to play first"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 8, 0);
    row->addWidget(m_label);
    row->addWidget(m_bar);
    for (QWidget* part : {static_cast<QWidget*>(m_label), static_cast<QWidget*>(m_bar)}) {
        QSizePolicy keep = part->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        part->setSizePolicy(keep);
        part->hide();
    }
}

void AnalysisProgress::Redraw(const AnalysisState& state) {
    m_label->setVisible(!state.progressText.isEmpty());
    m_bar->setVisible(!state.progressText.isEmpty());
    if (state.progressText.isEmpty()) return;
    m_label->setText(state.progressText);
    // QProgressBar counts in int; scaled down, so a large library still fits.
    m_bar->setRange(0, 1000);
    m_bar->setValue(state.seen > 0 ? int(1000LL * state.done / state.seen) : 0);
}
