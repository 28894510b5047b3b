#pragma once

#include <QList>

#include "app/options_state.h"

class QWidget;

/// Sets the captions of the language file on the window's components, found by name: a
/// menu, a menu item, a button, a check box, a label or a tab page. The text is shown as it
/// stands: an "&" is a character, not an accelerator, and a label shows no markup. A
/// component the window does not have is passed over.
void ApplyCaptions(QWidget& window, const QList<ShownCaption>& captions);
