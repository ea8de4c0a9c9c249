// SPDX-License-Identifier: MIT
#include "platform/widgets/PasswordMask.h"

#include <QLineEdit>

namespace passwordmask {

void useAsterisk(QLineEdit* box)
{
    // 42 is "*". The style sheet changes this one hint; the box is drawn by the style as before.
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

} // namespace passwordmask
