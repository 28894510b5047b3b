#pragma once

#include <QStringList>

class QWidget;

/// The lock layout of the main window. The station refuses every edit while its lock is
/// on; this only keeps the window from offering them: the editing controls are hidden,
/// one is disabled instead.

/// The editing controls and menu items the window has, hidden while locked.
const QStringList& LockHiddenControls();
/// Controls disabled instead of hidden while locked.
const QStringList& LockDisabledControls();

/// Hides or disables (locked) or shows and enables the controls below window.
void ApplyLockLayout(QWidget& window, bool locked);
