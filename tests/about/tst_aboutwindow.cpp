// SPDX-License-Identifier: MIT
#include "about/AboutWindow.h"
#include "common/RegistryStoreText.h"
#include "launcher/Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

enum class MouseAction { Move, Press, Release, Click };

} // namespace

Q_DECLARE_METATYPE(MouseAction)

class AboutWindowTest : public QObject
{
    Q_OBJECT

private:
    // The installed version in a registry store of the test's own, found through HANAPLAN_REGISTRY.
    void writeVersion(const QString& version)
    {
        QVERIFY(RegistryStoreText().displayVersion(version).writeTo(
            m_dir.filePath(QStringLiteral("system.reg"))));
    }

    // Loads and shows the window and waits until it can take events.
    AboutWindow* openWindow()
    {
        AboutWindow* window = AboutWindow::showOnce(m_main->environment);
        if (window && !QTest::qWaitForWindowExposed(window))
            return nullptr;
        return window;
    }

    static QLabel* label(QWidget* window, const char* name)
    {
        return window->findChild<QLabel*>(QString::fromLatin1(name));
    }

    static int aboutWindowCount()
    {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            count += qobject_cast<AboutWindow*>(widget) != nullptr;
        return count;
    }

    // Sends a mouse event through the window system, as the mouse itself would: the window decides which
    // of its widgets receives it. The window system sends no release without its press, so a release is
    // given straight to the widget under the mouse, as the release of a press made elsewhere.
    static void sendMouse(QWidget* window, MouseAction action, QPoint position)
    {
        QWindow* handle = window->windowHandle();
        QWidget* under = window->childAt(position) ? window->childAt(position) : window;
        switch (action) {
        case MouseAction::Move:
            QTest::mouseMove(handle, position);
            break;
        case MouseAction::Press:
            QTest::mousePress(handle, Qt::LeftButton, {}, position);
            break;
        case MouseAction::Release:
            QTest::mouseRelease(under, Qt::LeftButton, {}, under->mapFrom(window, position));
            break;
        case MouseAction::Click:
            QTest::mouseClick(handle, Qt::LeftButton, {}, position);
            break;
        }
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Main> m_main;
    QWidget m_elsewhere; // takes the button's release after a press that closed the window

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("HANAPLAN_REGISTRY", m_dir.filePath(QStringLiteral("system.reg")).toUtf8());
        m_elsewhere.setGeometry(0, 0, 40, 40);
        m_elsewhere.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_elsewhere));
    }
    void init()
    {
        writeVersion("1.1.4.0");
        m_main = std::make_unique<Main>(m_dir.path());
    }
    void cleanup()
    {
        QTest::mouseRelease(m_elsewhere.windowHandle(), Qt::LeftButton);
        AboutWindow::unloadLoaded();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(aboutWindowCount(), 0);
    }
    void cleanupTestCase() { qunsetenv("HANAPLAN_REGISTRY"); }

    void showsTitleAndInstalledVersion_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("expected");
        QTest::newRow("installed version") << "1.1.4.0"
                                           << "Ver.   1.1.4.0";
        QTest::newRow("no version in the store") << QString() << "Ver.   Not Found";
    }
    void showsTitleAndInstalledVersion()
    {
        QFETCH(QString, version);
        QFETCH(QString, expected);
        if (version.isEmpty())
            QVERIFY(RegistryStoreText().writeTo(m_dir.filePath(QStringLiteral("system.reg"))));
        else
            writeVersion(version);
        AboutWindow* window = openWindow();
        QVERIFY(window);
        QCOMPARE(label(window, "Label5")->text(), QStringLiteral("Hanaplan\u3000作成システム"));
        QCOMPARE(label(window, "Label2")->text(), expected);
        // Nothing is cut off: each label has room for its whole text.
        for (const char* name : {"Label5", "Label2"}) {
            QLabel* l = label(window, name);
            QVERIFY2(l->width() >= l->sizeHint().width(), name);
            QVERIFY2(window->rect().contains(l->geometry()), name);
        }
    }

    void windowKindAndPlacement()
    {
        AboutWindow* window = openWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Help"));
        QVERIFY(window->isWindow());
        QVERIFY(!window->isModal());
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QPoint offset = window->frameGeometry().center() - screen.center();
        QVERIFY2(
            qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
            qPrintable(QStringLiteral("window centre is off by %1, %2").arg(offset.x()).arg(offset.y())));
    }

    // Any mouse event over the free surface closes the window at once; over either label none does.
    void mouseClosesOnlyOverSurface_data()
    {
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<MouseAction>("action");
        const std::pair<const char*, MouseAction> actions[] = {{"move", MouseAction::Move},
                                                               {"button down", MouseAction::Press},
                                                               {"button up", MouseAction::Release},
                                                               {"click", MouseAction::Click}};
        for (const char* name : {"", "Label5", "Label2"})
            for (const auto& [title, action] : actions)
                QTest::addRow("%s, %s", *name ? name : "surface", title)
                    << QString::fromLatin1(name) << action;
    }
    void mouseClosesOnlyOverSurface()
    {
        QFETCH(QString, labelName);
        QFETCH(MouseAction, action);
        QPointer<AboutWindow> window = openWindow();
        QVERIFY(window);
        QPointer<QTimer> timer = window->findChild<QTimer*>(QStringLiteral("Timer1"));
        QLabel* target = labelName.isEmpty() ? nullptr : label(window, labelName.toLatin1().constData());
        // The top left corner is free surface, away from both labels.
        const QPoint at = target ? target->mapTo(window.data(), target->rect().center()) : QPoint(4, 4);
        QCOMPARE(window->childAt(at), target);
        sendMouse(window, action, at);
        if (!target) {
            QVERIFY(window.isNull() || !window->isVisible());
            QVERIFY(timer.isNull() || !timer->isActive());
            QTRY_VERIFY(window.isNull());
            QCOMPARE(AboutWindow::loadedWindow(), nullptr);
            return;
        }
        QVERIFY(!window.isNull() && window->isVisible());
        // The mouse then rests over the label, moving a little.
        sendMouse(window, MouseAction::Move, at + QPoint(1, 0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window.isNull() && window->isVisible());
        QCOMPARE(AboutWindow::loadedWindow(), window.data());
        QVERIFY(timer->isActive());
    }

    void closeBoxIsIgnoredProgramsOwnUnloadCloses()
    {
        QPointer<AboutWindow> window = openWindow();
        QVERIFY(window);
        QPointer<QTimer> timer = window->findChild<QTimer*>(QStringLiteral("Timer1"));
        // The close box: the window system asks the window to close.
        QCloseEvent closeBox;
        QCoreApplication::sendEvent(window->windowHandle(), &closeBox);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window.isNull() && window->isVisible());
        QVERIFY(timer->isActive());

        // The program's end unloads it.
        AboutWindow::unloadLoaded();
        QVERIFY(!window->isVisible());
        QVERIFY(!timer->isActive());
        QTRY_VERIFY(window.isNull());
    }

    void timerClosesAfterThirtySeconds()
    {
        QPointer<AboutWindow> window = openWindow();
        QVERIFY(window);
        QTimer* timer = window->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 30000);
        QVERIFY(timer->isActive());
        QVERIFY(timer->remainingTime() > 29000);

        QMetaObject::invokeMethod(timer, "timeout");
        QVERIFY(window.isNull() || !window->isVisible());
        QTRY_VERIFY(window.isNull());
    }

    void helpWhileOpenChangesNothing()
    {
        QPointer<AboutWindow> first = openWindow();
        QVERIFY(first);
        QTimer* timer = first->findChild<QTimer*>(QStringLiteral("Timer1"));
        QTest::qWait(300);
        const int remaining = timer->remainingTime();
        QVERIFY(remaining < 29800);

        // A new version in the store is not read while the window stays loaded.
        writeVersion("2.0.0.0");
        QCOMPARE(AboutWindow::showOnce(m_main->environment), first.data());
        QCOMPARE(AboutWindow::showOnce(m_main->environment), first.data());
        QCOMPARE(aboutWindowCount(), 1);
        QVERIFY(timer->remainingTime() <= remaining);
        QCOMPARE(label(first, "Label2")->text(), QStringLiteral("Ver.   1.1.4.0"));

        // Once it has closed, Help loads a fresh window that reads the version anew.
        sendMouse(first, MouseAction::Move, QPoint(4, 4));
        QTRY_VERIFY(first.isNull());
        AboutWindow* second = openWindow();
        QVERIFY(second);
        QCOMPARE(label(second, "Label2")->text(), QStringLiteral("Ver.   2.0.0.0"));
        QVERIFY(second->findChild<QTimer*>(QStringLiteral("Timer1"))->remainingTime() > 29000);
    }
};

QTEST_MAIN(AboutWindowTest)
#include "tst_aboutwindow.moc"
