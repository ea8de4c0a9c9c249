// SPDX-License-Identifier: MIT
#pragma once

#include "platform/MessageBoxes.h"

// The program's message boxes as real, application-modal QMessageBoxes.
class QtMessageBoxes : public platform::MessageBoxes
{
public:
    Answer show(const Message& message) override;
};
