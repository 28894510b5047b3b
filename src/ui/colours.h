#pragma once

#include <QColor>
#include <QMap>
#include <QString>

#include "app/options_state.h"

class QWidget;

/// The stored colours on screen. A system colour (high byte 0x80) takes the matching
/// colour of the application's palette: 15 button face, 8 window text, 14 highlighted text…

QColor QtColour(ColourValue colour);
/// Paints each named component below root that exists: lists take the colours as base and
/// text, panels and labels as window and window text.
void ApplyColours(QWidget* root, const QMap<QString, ComponentColours>& colours);
/// One component's colours.
void PaintComponent(QWidget* widget, const ComponentColours& colours);
