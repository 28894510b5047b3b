#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

class QSettings;

/// A room's stored values, one row per key: its kind (text, integer, boolean or byte, by
/// the member's type), its default and the room's live member it reads into and writes
/// from. A row's default is its member's value when the row is added, so a room adds its
/// rows as it is built and writes each default once, as the member's initialiser.
class SettingsTable {
public:
    /// applied runs after each Read, for a room that derives something from its values.
    explicit SettingsTable(std::function<void()> applied = {});
    // The rows point into the room that built them.
    SettingsTable(const SettingsTable&) = delete;
    SettingsTable& operator=(const SettingsTable&) = delete;

    SettingsTable& Add(const char* key, QString& member);
    SettingsTable& Add(const char* key, int& member);
    /// Any stored integer other than 0 is true.
    SettingsTable& Add(const char* key, bool& member);
    /// One byte: a stored 300 reads as 44.
    SettingsTable& Add(const char* key, quint8& member);

    /// Fills every member from store. A missing value, or one that is no number where a
    /// number is kept, gives the default; integers are decimal or "0x" hexadecimal.
    void Read(QSettings& store);
    /// Writes every member as a string: text as it is, "1" or "0", a decimal number.
    void Write(QSettings& store) const;

    /// The member under key as Write stores it; nothing when the table has no such key.
    std::optional<QString> Text(const QString& key) const;
    /// The default under key as Write would store it; nothing when the table has no such key.
    std::optional<QString> DefaultText(const QString& key) const;
    /// Sets the member under key from text as Read takes a stored value (no number where a
    /// number is kept gives the default), then runs applied. False when the table has no
    /// such key.
    bool SetText(const QString& key, const QString& text);

private:
    template <class T>
    struct Row {
        const char* key;
        T* member;
        T fallback;
    };
    using AnyRow = std::variant<Row<QString>, Row<int>, Row<bool>, Row<quint8>>;
    template <class T>
    SettingsTable& AddRow(const char* key, T& member);
    const AnyRow* Find(const QString& key) const;

    std::vector<AnyRow> m_rows;
    std::function<void()> m_applied;
};

/// The stored text under key, or nothing when it is missing. A hand-edited ini line with
/// a comma reads as a list; it is put back together with ", " rather than lost.
std::optional<QString> StoredText(QSettings& store, const QString& key);
