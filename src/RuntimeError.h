// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <exception>

// An unguarded failure. Thrown where it happens and caught in one place only, at the top of the event
// loop, which shows the run-time error report and ends the program.
class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString description)
        : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8())
    {
    }

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

// Error numbers of the program's own failures, as the Windows runtime and record-set layer number them.
namespace ErrorNumber {
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int NoControlArrayElement = 340;
inline constexpr int InvalidArgument = 3001;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int NotAllowedInContext = 3219;
inline constexpr int NotSupported = 3251;
inline constexpr int ItemNotFound = 3265;
inline constexpr int ObjectOpen = 3705;
inline constexpr int ObjectClosed = 3704;
inline constexpr int RowNotFoundForUpdate = -2147217864;
inline constexpr int ProviderError = -2147467259;
} // namespace ErrorNumber

// The run-time errors whose texts more than one layer raises.
namespace runtimeerror {

// Error 3021: the record set has no current row. `table`, when given, is named after the text.
inline RuntimeError noCurrentRecord(const QString& table = {})
{
    QString text =
        QStringLiteral("BOF と EOF のいずれかが True になっているか、または現在のレコードが削除されています。"
                       "要求された操作には、現在のレコードが必要です。");
    if (!table.isEmpty())
        text += QStringLiteral("(%1)").arg(table);
    return RuntimeError(ErrorNumber::NoCurrentRecord, text);
}

// Error 13: a value that is no number where a number is needed, named by its text.
inline RuntimeError typeMismatch(const QString& valueText)
{
    return RuntimeError(ErrorNumber::TypeMismatch, QStringLiteral("型が一致しません。(%1)").arg(valueText));
}

} // namespace runtimeerror
