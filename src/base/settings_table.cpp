#include "base/settings_table.h"

#include <QSettings>
#include <QStringList>
#include <type_traits>

#include "base/number_text.h"

namespace {

template <class Value>
Value FromText(const QString& text, const Value& fallback) {
    if constexpr (std::is_same_v<Value, QString>) {
        return text;
    } else if constexpr (std::is_same_v<Value, bool>) {
        return BoolFromText(text, fallback);
    } else {
        // A byte keeps the low eight bits.
        return static_cast<Value>(IntFromText(text, fallback));
    }
}

template <class Value>
QString ToText(const Value& value) {
    if constexpr (std::is_same_v<Value, QString>) {
        return value;
    } else if constexpr (std::is_same_v<Value, bool>) {
        return value ? QStringLiteral("1") : QStringLiteral("0");
    } else {
        return QString::number(value);
    }
}

}  // namespace

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
                const std::optional<QString> text = StoredText(store, QLatin1String(row.key));
                *row.member = text ? FromText(*text, row.fallback) : row.fallback;
            },
            any);
    }
    if (m_applied) m_applied();
}

void SettingsTable::Write(QSettings& store) const {
    for (const AnyRow& any : m_rows) {
        std::visit(
            [&store](const auto& row) {
                store.setValue(QLatin1String(row.key), ToText(*row.member));
            },
            any);
    }
}

const SettingsTable::AnyRow* SettingsTable::Find(const QString& key) const {
    for (const AnyRow& any : m_rows) {
        if (std::visit([&key](const auto& row) { return key == QLatin1String(row.key); }, any))
            return &any;
    }
    return nullptr;
}

std::optional<QString> SettingsTable::Text(const QString& key) const {
    const AnyRow* any = Find(key);
    if (!any) return std::nullopt;
    return std::visit([](const auto& row) { return ToText(*row.member); }, *any);
}

std::optional<QString> SettingsTable::DefaultText(const QString& key) const {
    const AnyRow* any = Find(key);
    if (!any) return std::nullopt;
    return std::visit([](const auto& row) { return ToText(row.fallback); }, *any);
}

bool SettingsTable::SetText(const QString& key, const QString& text) {
    const AnyRow* any = Find(key);
    if (!any) return false;
    std::visit([&text](const auto& row) { *row.member = FromText(text, row.fallback); }, *any);
    if (m_applied) m_applied();
    return true;
}

std::optional<QString> StoredText(QSettings& store, const QString& key) {
    if (!store.contains(key)) return std::nullopt;
    const QVariant value = store.value(key);
    if (value.metaType().id() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}
