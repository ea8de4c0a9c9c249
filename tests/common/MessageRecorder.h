// SPDX-License-Identifier: MIT
#pragma once

#include "platform/MessageBoxes.h"

#include <QList>

// Records every message box the program shows and answers with the answers set in advance (OK when
// none is left).
class MessageRecorder : public platform::MessageBoxes
{
public:
    Answer show(const Message& message) override
    {
        shown.append(message);
        return answers.isEmpty() ? Answer::Ok : answers.takeFirst();
    }

    void setNextAnswer(Answer answer) { answers.append(answer); }

    QList<Message> shown;
    QList<Answer> answers;
};
