// SPDX-License-Identifier: MIT
#include "platform/win/AnsiText.h"

#include <windows.h>

namespace platform::win {

std::optional<QByteArray> toAnsi(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = int(text.size());
    const UINT codePage = GetACP();
    // UTF-8 holds every character; the other code pages must say whether they had to put in a default one.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(codePage, flags, wide, length, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    QByteArray out(size, Qt::Uninitialized);
    WideCharToMultiByte(codePage, flags, wide, length, out.data(), size, nullptr, usedDefaultOut);
    if (usedDefault)
        return std::nullopt;
    return out;
}

QString fromAnsi(const char* text)
{
    return QString::fromLocal8Bit(text);
}

} // namespace platform::win
