// SPDX-License-Identifier: MIT
// The input-method modes through the input method itself, in real windows: each text box of the start window
// and the maintenance window puts the window's input context into its mode when it takes the focus.
#include "launcher/Main.h"
#include "launcher/StartWindow.h"
#include "maintenance/MaintenanceWindow.h"
#include "platform/widgets/InputMode.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <windows.h>

#include <imm.h>

namespace {

// The window's input context as the box left it: "none", or whether it is open and its conversion mode
// (native, katakana, full-shape).
QString contextOf(QWidget* window)
{
    const HWND handle = reinterpret_cast<HWND>(window->winId());
    const HIMC context = ImmGetContext(handle);
    if (!context)
        return QStringLiteral("none");
    DWORD conversion = 0;
    DWORD sentence = 0;
    ImmGetConversionStatus(context, &conversion, &sentence);
    const QString state = QStringLiteral("%1 %2%3%4")
                              .arg(ImmGetOpenStatus(context) ? "open" : "closed")
                              .arg(conversion & IME_CMODE_NATIVE ? "native " : "")
                              .arg(conversion & IME_CMODE_KATAKANA ? "katakana " : "")
                              .arg(conversion & IME_CMODE_FULLSHAPE ? "full-shape" : "");
    ImmReleaseContext(handle, context);
    return state;
}

// Gives the window its input context back, closed and in alphanumeric half-width conversion, as a user
// who switched the input method off in another program leaves it.
void resetContext(QWidget* window)
{
    const HWND handle = reinterpret_cast<HWND>(window->winId());
    ImmAssociateContextEx(handle, nullptr, IACE_DEFAULT);
    const HIMC context = ImmGetContext(handle);
    QVERIFY(context);
    ImmSetOpenStatus(context, FALSE);
    ImmSetConversionStatus(context, IME_CMODE_ALPHANUMERIC, IME_SMODE_NONE);
    ImmReleaseContext(handle, context);
}

} // namespace

class InputModesTest : public QObject
{
    Q_OBJECT

private:
    // Focuses each text box of the window that has a mode, coming from a button each time, and checks the
    // input context it leaves. Counts the boxes of each mode met.
    static void checkBoxes(QWidget* window, const QList<QLineEdit*>& boxes, QPushButton* elsewhere,
                           QList<int>& met)
    {
        for (QLineEdit* box : boxes) {
            if (!box->property(inputmode::kProperty).isValid())
                continue;
            elsewhere->setFocus();
            QTRY_VERIFY_WITH_TIMEOUT(elsewhere->hasFocus(), 5000);
            resetContext(window);
            box->setFocus();
            QTRY_VERIFY_WITH_TIMEOUT(box->hasFocus(), 5000);
            // Each mode's input context, in the order of inputmode::Mode.
            static const QStringList expected = {QStringLiteral("none"),
                                                 QStringLiteral("open native full-shape"),
                                                 QStringLiteral("open native katakana full-shape")};
            const QString name = box->objectName() + QStringLiteral(": ");
            QCOMPARE(name + contextOf(window), name + expected[int(inputmode::of(box))]);
            ++met[int(inputmode::of(box))];
        }
    }

private Q_SLOTS:
    void startWindow()
    {
        Main program(QCoreApplication::applicationDirPath());
        StartWindow window(program);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QList<int> met(3);
        checkBoxes(&window, window.findChildren<QLineEdit*>(),
                   window.findChild<QPushButton*>(QStringLiteral("終了")), met);
        QCOMPARE(met, (QList<int>{4, 0, 0}));
    }

    void maintenanceWindow()
    {
        MaintenanceWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* pages = window.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QVERIFY(pages);
        QList<int> met(3);
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            QWidget* shown = pages->widget(page);
            const QList<QPushButton*> buttons = shown->findChildren<QPushButton*>();
            QVERIFY(!buttons.isEmpty());
            checkBoxes(&window, shown->findChildren<QLineEdit*>(), buttons.last(), met);
        }
        // The creator page's boxes, the master page's and the stamp sentence.
        QCOMPARE(met, (QList<int>{7, 4, 2}));
    }
};

QTEST_MAIN(InputModesTest)
#include "tst_inputmodes.moc"
