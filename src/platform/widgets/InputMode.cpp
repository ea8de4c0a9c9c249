// SPDX-License-Identifier: MIT
// Input-method modes on systems without Windows' input method: recorded, with Qt's hints for the mode.
#include "platform/widgets/InputMode.h"

namespace inputmode {

void set(QWidget* textBox, Mode mode)
{
    record(textBox, mode);
}

} // namespace inputmode
