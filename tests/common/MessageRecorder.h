// SPDX-License-Identifier: MIT
#pragma once

#include "platform/MessageBoxes.h"

#include <QList>
#include <QStringList>

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

    // The messages shown, each as icon, title and text; the icon followed by "+Cancel" unless OK is the
    // only button.
    QList<QStringList> described() const
    {
        static constexpr const char* kIcons[] = {"none", "critical", "question", "exclamation",
                                                 "information"};
        QList<QStringList> out;
        for (const Message& m : shown)
            out.append(
                {kIcons[int(m.icon)] + QString(m.buttons == Buttons::Ok ? "" : "+Cancel"), m.title, m.text});
        return out;
    }

    QList<Message> shown;
    QList<Answer> answers;
};
