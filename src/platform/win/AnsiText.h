// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The Windows functions the program calls in their "A" form take texts in the system's ANSI code page (932
// on a Japanese Windows). These convert to and from it.
namespace platform::win {

// The text in the ANSI code page; nothing when one of its characters has no place there.
std::optional<QByteArray> toAnsi(const QString& text);
// A text of the ANSI code page, up to its first NUL.
QString fromAnsi(const char* text);

} // namespace platform::win
