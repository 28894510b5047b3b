#include "base/settings_table.h"

#include <QSettings>
#include <QStringList>
#include <type_traits>

#include "base/number_text.h"

SettingsTable::SettingsTable(std::function<void()> applied) : m_applied(std::move(applied)) {}

// The row's default is the member's value as the room adds it.
template <class T>
SettingsTable& SettingsTable::AddRow(const char* key, T& member) {
    m_rows.push_back(Row<T>{key, &member, member});
    return *this;
}

SettingsTable& SettingsTable::Add(const char* key, QString& member) { return AddRow(key, member); }
SettingsTable& SettingsTable::Add(const char* key, int& member) { return AddRow(key, member); }
SettingsTable& SettingsTable::Add(const char* key, bool& member) { return AddRow(key, member); }
SettingsTable& SettingsTable::Add(const char* key, quint8& member) { return AddRow(key, member); }

void SettingsTable::Read(QSettings& store) {
    for (const AnyRow& any : m_rows) {
        std::visit(
            [&store](const auto& row) {
                using Value = std::remove_cvref_t<decltype(row.fallback)>;
                const std::optional<QString> text = StoredText(store, QLatin1String(row.key));
                if (!text) {
                    *row.member = row.fallback;
                } else if constexpr (std::is_same_v<Value, QString>) {
                    *row.member = *text;
                } else if constexpr (std::is_same_v<Value, bool>) {
                    *row.member = BoolFromText(*text, row.fallback);
                } else {
                    // A byte keeps the low eight bits.
                    *row.member = static_cast<Value>(IntFromText(*text, row.fallback));
                }
            },
            any);
    }
    if (m_applied) m_applied();
}

void SettingsTable::Write(QSettings& store) const {
    for (const AnyRow& any : m_rows) {
        std::visit(
            [&store](const auto& row) {
                using Value = std::remove_cvref_t<decltype(row.fallback)>;
                const Value& value = *row.member;
                QString text;
                if constexpr (std::is_same_v<Value, QString>) {
                    text = value;
                } else if constexpr (std::is_same_v<Value, bool>) {
                    text = value ? QStringLiteral("1") : QStringLiteral("0");
                } else {
                    text = QString::number(value);
                }
                store.setValue(QLatin1String(row.key), text);
            },
            any);
    }
}

std::optional<QString> StoredText(QSettings& store, const QString& key) {
    if (!store.contains(key)) return std::nullopt;
    const QVariant value = store.value(key);
    if (value.metaType().id() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}
