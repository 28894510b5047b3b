#pragma once

#include <QString>

class QWidget;

/// The controls whose feature is not built yet: shown disabled, with a tooltip saying what
/// they come with. A feature that arrives deletes its rows and its controls come alive.

/// Disables every such control below window (its dialogs included).
void DisableNotYetBuilt(QWidget& window);
/// Whether the control of this objectName waits for its feature; a window key standing
/// for such a control does nothing.
bool IsNotYetBuilt(const QString& objectName);
