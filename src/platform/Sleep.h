// SPDX-License-Identifier: MIT
#pragma once

namespace platform {

// Blocks the program for a number of milliseconds without letting window messages run.
void sleep(int milliseconds);

} // namespace platform
