// SPDX-License-Identifier: MIT
// Input-method modes on Windows: a text box's mode is applied through IMM32 each time the box takes the
// keyboard focus.
#include "platform/widgets/InputMode.h"

#include <QGuiApplication>

#include <windows.h>

#include <imm.h>

namespace inputmode {
namespace {

// Puts the input context of the box's window into the box's mode. Qt's widgets share their top-level
// window's native window, and with it its input context.
void apply(QWidget* box)
{
    const HWND window = reinterpret_cast<HWND>(box->window()->winId());
    const Mode mode = of(box);
    if (mode == Mode::Disabled) {
        ImmAssociateContextEx(window, nullptr, 0);
        return;
    }
    ImmAssociateContextEx(window, nullptr, IACE_DEFAULT);
    const HIMC context = ImmGetContext(window);
    if (!context)
        return; // no input method on this system
    ImmSetOpenStatus(context, TRUE);
    DWORD conversion = 0;
    DWORD sentence = 0;
    ImmGetConversionStatus(context, &conversion, &sentence);
    conversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
    if (mode == Mode::FullWidthKatakana)
        conversion |= IME_CMODE_KATAKANA;
    ImmSetConversionStatus(context, conversion, sentence);
    ImmReleaseContext(window, context);
}

// Follows the keyboard focus for the whole application. Qt tells a new focus object after it has given the
// window's input context to it (switched off for a box that takes no input method), so the box's mode is
// applied last.
class FocusFollower : public QObject
{
public:
    static constexpr char kName[] = "hanaplan-input-mode-follower";

    explicit FocusFollower(QGuiApplication* application) : QObject(application)
    {
        setObjectName(QLatin1String(kName));
        connect(application, &QGuiApplication::focusObjectChanged, this, [](QObject* object) {
            auto* box = qobject_cast<QWidget*>(object);
            if (box && box->property(kProperty).isValid() &&
                box->window()->testAttribute(Qt::WA_WState_Created))
                apply(box);
        });
    }
};

} // namespace

void set(QWidget* textBox, Mode mode)
{
    record(textBox, mode);
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (application &&
        !application->findChild<QObject*>(QLatin1String(FocusFollower::kName), Qt::FindDirectChildrenOnly))
        new FocusFollower(application);
    if (textBox->hasFocus() && textBox->window()->testAttribute(Qt::WA_WState_Created))
        apply(textBox);
}

} // namespace inputmode
