// SPDX-License-Identifier: MIT
#pragma once

namespace platform {

// Processes the window messages queued now, once, and returns.
void letPendingMessagesRun();

} // namespace platform
