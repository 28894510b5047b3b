#pragma once

#include <QString>
#include <QStringList>

class Station;

/// What the window shows of the jingle wall, as plain values read off the core.
struct JinglesState {
    /// The buttons of the wall, shown or not.
    static constexpr int kButtonCount = 101;
    /// `TabSetJingles`: the banks' names, and the tab shown.
    QStringList tabs;
    int currentTab = -1;
    /// The captions of the current bank's buttons in use.
    QStringList captions;
    /// `Label5`: the caption of the jingle last started.
    QString lastCaption;
    /// `CheckBoxFadeJingles`.
    bool fade = false;
    /// "Lock Programs": then "Set Jingles..." asks for no list, the command says why.
    bool locked = false;
};

/// Read on the core's thread.
JinglesState JinglesStateOf(const Station& station);
