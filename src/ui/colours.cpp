#include "ui/colours.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace {

// The system colours by index, as the nearest palette role.
QPalette::ColorRole RoleOfSystemColour(int index) {
    switch (index) {
        case 2:   // active caption
        case 13:  // highlight
            return QPalette::Highlight;
        case 5:  // window
            return QPalette::Base;
        case 6:   // window frame
        case 16:  // button shadow
            return QPalette::Dark;
        case 7:  // menu text
        case 8:  // window text
            return QPalette::WindowText;
        case 9:   // caption text
        case 14:  // highlighted text
            return QPalette::HighlightedText;
        case 12:  // application workspace
            return QPalette::Mid;
        case 17:  // grey text
            return QPalette::PlaceholderText;
        case 18:  // button text
            return QPalette::ButtonText;
        case 20:  // button highlight
            return QPalette::Light;
        case 21:  // dark shadow
            return QPalette::Shadow;
        case 22:  // light
            return QPalette::Midlight;
        case 23:  // tool tip text
            return QPalette::ToolTipText;
        case 24:  // tool tip background
            return QPalette::ToolTipBase;
        case 15:  // button face
            return QPalette::Button;
        default:
            return QPalette::Window;
    }
}

}  // namespace

QColor QtColour(ColourValue colour) {
    if (IsSystemColour(colour)) {
        return QApplication::palette().color(RoleOfSystemColour(SystemColourIndex(colour)));
    }
    const Rgb rgb = RgbOf(colour);
    return QColor(rgb.r, rgb.g, rgb.b);
}

void PaintComponent(QWidget* widget, const ComponentColours& colours) {
    QPalette p = widget->palette();
    const bool list = qobject_cast<QAbstractItemView*>(widget) != nullptr;
    if (colours.background) {
        const QColor c = QtColour(*colours.background);
        p.setColor(list ? QPalette::Base : QPalette::Window, c);
        if (!list) widget->setAutoFillBackground(true);
    }
    if (colours.font) {
        const QColor c = QtColour(*colours.font);
        p.setColor(list ? QPalette::Text : QPalette::WindowText, c);
        if (!list) p.setColor(QPalette::Text, c);
    }
    widget->setPalette(p);
}

void ApplyColours(QWidget* root, const QMap<QString, ComponentColours>& colours) {
    for (auto it = colours.begin(); it != colours.end(); ++it) {
        if (root->objectName() == it.key()) PaintComponent(root, it.value());
        if (auto* w = root->findChild<QWidget*>(it.key())) PaintComponent(w, it.value());
    }
}
