#pragma once

#include <QDialog>

/// The about box `TAboutBox`: the program's name and version, shown without blocking
/// the window.
class AboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
};
