// SPDX-License-Identifier: MIT
#pragma once

class QLineEdit;

// The password character of the Windows text boxes, "*", in place of the style's own bullet. The box
// shows it whenever its echo mode is Password; switching the mode off and on at run time keeps it.
namespace passwordmask {

void useAsterisk(QLineEdit* box);

} // namespace passwordmask
