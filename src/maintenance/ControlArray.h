// SPDX-License-Identifier: MIT
#pragma once

#include "RuntimeError.h"

#include <QString>

#include <array>
#include <cstddef>

namespace controlarray {

// Addressing a control array element that does not exist is a run-time error (340). `where` names the
// stored value the index came from, when it came from the database.
[[noreturn]] inline void missingElement(int index, const QString& where = {})
{
    throw RuntimeError(ErrorNumber::NoControlArrayElement,
                       QStringLiteral("コントロール配列の要素 '%1' は存在しません。").arg(index) + where);
}

// Element `index` of a control array.
template <typename T, std::size_t N> T& element(std::array<T, N>& elements, int index)
{
    if (index < 0 || index >= int(N))
        missingElement(index);
    return elements[std::size_t(index)];
}
template <typename T, std::size_t N> const T& element(const std::array<T, N>& elements, int index)
{
    if (index < 0 || index >= int(N))
        missingElement(index);
    return elements[std::size_t(index)];
}

} // namespace controlarray
