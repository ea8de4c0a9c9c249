// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

// Every message box of the program goes through this one interface. The application shows real message
// boxes; tests install a recorder that answers in advance.
class MessageBoxes
{
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    struct Message
    {
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Answer defaultButton = Answer::Ok;
        QString title;
        QString text;
    };

    virtual ~MessageBoxes() = default;
    virtual Answer show(const Message& message) = 0;

    // A message with the stop icon and the OK button only.
    void critical(const QString& title, const QString& text)
    {
        show({Icon::Critical, Buttons::Ok, Answer::Ok, title, text});
    }
    // A message with the information icon and the OK button only.
    void information(const QString& title, const QString& text)
    {
        show({Icon::Information, Buttons::Ok, Answer::Ok, title, text});
    }
};

} // namespace platform
