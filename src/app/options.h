#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "base/result.h"
#include "spots/spot_mode.h"

struct SettingsHomes;

/// The options dialog ("Options"): the stored settings it shows, each under the key the
/// store keeps it by, read and written through the settings table of the room that keeps
/// it, so that each default is written once, in its room. A change takes effect at once;
/// there is no cancel. A typed number that is no whole number gives the setting's default,
/// except the shutdown hour, which is refused.
class Options {
public:
    /// The keys of the settings the dialog shows. "LockPrograms" is one of them, but only
    /// the lock's own command switches it.
    static const QStringList& Keys();
    /// Key → the value as the store keeps it, for each of Keys().
    static QMap<QString, QString> Values(const SettingsHomes& homes);
    /// Sets the option under key from the text the operator gave; an error names a key that
    /// is not an option, the lock, a shutdown hour that is no number or a spot mode
    /// outside 1..4, and then nothing changes.
    static Result Set(const SettingsHomes& homes, const QString& key, const QString& text);
};

/// The message shown when a text is not a whole number: 'abc' is not a valid integer value.
QString NotAnIntegerMessage(const QString& text);
