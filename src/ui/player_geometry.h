#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

/// The pixel places of the player panel in its two layouts, full and simple.

/// Player controls that the simple layout hides.
const QStringList& SimplifyHiddenControls();

/// Where a control of the player panel stands, in pixels within its parent; only the
/// given sides change.
struct ControlGeometry {
    QString name;
    std::optional<int> top;
    std::optional<int> left;
    std::optional<int> width;
    std::optional<int> height;
};
/// The transport buttons and their neighbours in the simple (true) or full player.
const std::vector<ControlGeometry>& PlayerGeometry(bool simple);
