#include "ui/lock_layout.h"

#include <QAction>
#include <QWidget>

const QStringList& LockHiddenControls() {
    static const QStringList names = {
        // Calendar tab
        QStringLiteral("BitBtnNewHourProg1"), QStringLiteral("BitBtnDelHourProg1"),
        QStringLiteral("BitBtnIdioProMe1"), QStringLiteral("ButtonSetProgr1"),
        QStringLiteral("ComboBoxStartHour1"), QStringLiteral("ComboBoxEndHour1"),
        // Spots tab
        QStringLiteral("BitBtnSpotUp1"), QStringLiteral("BitBtnSpotDown1"),
        QStringLiteral("BitBtnDelSpot1"), QStringLiteral("BitBtnIdioMeSpots1"),
        // Lists tab
        QStringLiteral("ButtonDelProgram1"), QStringLiteral("ButtonUpProgr2"),
        QStringLiteral("ButtonDnProgr2"), QStringLiteral("ButtonDelTrackFromProg"),
        QStringLiteral("BitBtnSaveProgram1"), QStringLiteral("SpeedButtonNewProgram1"),
        QStringLiteral("EditNewProgramName1"),
        // Jingles tab
        QStringLiteral("SpeedButtonCearJingles"), QStringLiteral("SpeedButtonSetJingles"),
        // The played list
        QStringLiteral("SpeedButtonClearPrevList"),
        // The add button of the library
        QStringLiteral("ButtonAddToProgr"),
        // Menu items of the library and the played list
        QStringLiteral("Rename1"), QStringLiteral("Rename2"), QStringLiteral("Rename3"),
        QStringLiteral("RenameFromSearch"), QStringLiteral("AddToProgram3"),
        QStringLiteral("AddToProgram4")};
    return names;
}

const QStringList& LockDisabledControls() {
    static const QStringList names = {QStringLiteral("CheckBoxDontClearAutomaticallyPrevTracks")};
    return names;
}

void ApplyLockLayout(QWidget& window, bool locked) {
    for (const QString& name : LockHiddenControls()) {
        if (QWidget* w = window.findChild<QWidget*>(name)) w->setVisible(!locked);
        if (QAction* a = window.findChild<QAction*>(name)) a->setVisible(!locked);
    }
    for (const QString& name : LockDisabledControls()) {
        if (QWidget* w = window.findChild<QWidget*>(name)) w->setEnabled(!locked);
    }
}
