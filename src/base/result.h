#pragma once

#include <QString>
#include <utility>

/// How a command or a file operation ended: Ok, a Warning (it was done, and the operator
/// should hear something about it) or an Error (it failed and changed nothing). A warning
/// and an error both carry the operator's message; Ok carries none.
class Result {
public:
    enum class Kind { Ok, Warning, Error };

    Result() = default;  ///< Ok
    static Result Ok() { return {}; }
    static Result Warning(QString message) { return {Kind::Warning, std::move(message)}; }
    static Result Error(QString message) { return {Kind::Error, std::move(message)}; }

    Kind kind() const { return m_kind; }
    /// False only for an error: a command that ends in a warning was still done.
    bool ok() const { return m_kind != Kind::Error; }
    /// Empty for Ok.
    const QString& message() const { return m_message; }

    bool operator==(const Result&) const = default;

private:
    Result(Kind kind, QString message) : m_kind(kind), m_message(std::move(message)) {}

    Kind m_kind = Kind::Ok;
    QString m_message;
};

/// What a read gives: the value read, and how the read went. The value is whatever could
/// be read (often nothing) when the read failed. It is a Result, so a caller can return a
/// failed read as its own result.
template <typename T>
struct ReadResult : Result {
    T value{};
};
