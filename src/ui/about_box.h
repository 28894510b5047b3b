#pragma once

#include <QDialog>

/// The about box `TAboutBox`: the program's name and version, shown without blocking
/// the window.
class AboutBox final : public QDialog {
    Q_OBJECT
public:
    /// title and versionNumber are the program's name and version number ("2.17").
    AboutBox(const QString& title, const QString& versionNumber, QWidget* parent);
};
