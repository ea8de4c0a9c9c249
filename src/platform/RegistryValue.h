// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The registry roots the program and its installation use.
enum class RegistryRoot { LocalMachine, ClassesRoot };

// Registry value types, numbered as Windows numbers them.
namespace RegistryType {
inline constexpr quint32 String = 1;
inline constexpr quint32 ExpandString = 2;
inline constexpr quint32 Binary = 3;
inline constexpr quint32 Dword = 4;
inline constexpr quint32 MultiString = 7;
} // namespace RegistryType

// One value as a query for it returns it: its type and its data. Texts (types 1, 2 and 7) are held in the
// program's code page, UTF-8, with their terminating NUL as stored; a dword is four bytes, low byte first.
struct RegistryValue
{
    quint32 type = 0;
    QByteArray data;

    bool isText() const { return type == RegistryType::String || type == RegistryType::ExpandString; }
    // The data as text, up to its first NUL; meant for a string or expandable string.
    QString text() const
    {
        const qsizetype end = data.indexOf('\0');
        return QString::fromUtf8(end < 0 ? data : data.left(end));
    }
};

} // namespace platform
