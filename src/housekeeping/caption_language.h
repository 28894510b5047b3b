#pragma once

#include <QList>
#include <QMap>
#include <QString>

/// The caption language file `language.ini` in the start folder: it replaces 40 of the
/// window's captions, for instance with a translation. The keys sit in the section
/// "MainMenu" and are found without regard to case; a value is read up to 1023 characters
/// and is plain text: the window shows it as it stands.

/// One caption to set: the component whose caption it is, and the text.
struct Caption {
    QString component;
    QString text;
    bool operator==(const Caption&) const = default;
};

struct LanguageCaptions {
    /// The captions the file sets, in the order of its keys; a component whose key is
    /// missing keeps the window's own caption.
    QList<Caption> captions;
    /// Why the file could not be read (it is then ignored), or empty.
    QString problem;
};

/// Reads `language.ini` in startFolder (ending in "/"); a missing file sets nothing.
LanguageCaptions LoadLanguage(const QString& startFolder);

/// The keys and values of a section of an initialisation file's text, keys lower-cased;
/// the first of a repeated key counts.
QMap<QString, QString> IniSection(const QString& text, const QString& section);
/// The captions that a section's values (keys lower-cased) set.
QList<Caption> CaptionsOf(const QMap<QString, QString>& values);
