// SPDX-License-Identifier: MIT
#include "about/AboutWindow.h"
#include "common/JsonCases.h"
#include "common/RegistryStoreText.h"
#include "platform/Environment.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

// The About window, with the installed version in a registry store of the test's own.
class AboutWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    platform::Environment m_environment{m_dir.path()};
    QWidget m_elsewhere; // takes the button's release after a press that closed the window

    // Help with the version installed (none when empty); the window once it can take events.
    AboutWindow* openWindow(const QString& installed = "1.1.4.0")
    {
        RegistryStoreText store;
        if (!installed.isEmpty())
            store.displayVersion(installed);
        store.writeTo(m_dir.filePath("system.reg"));
        AboutWindow* window = AboutWindow::showOnce(m_environment);
        return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }
    static QString version(QWidget* window) { return window->findChild<QLabel*>("Label2")->text(); }
    static QTimer* timer(QWidget* window) { return window->findChild<QTimer*>("Timer1"); }
    static int aboutWindows()
    {
        return int(std::ranges::count_if(QApplication::topLevelWidgets(),
                                         [](QWidget* widget) { return qobject_cast<AboutWindow*>(widget); }));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HANAPLAN_REGISTRY", m_dir.filePath("system.reg").toUtf8());
        m_elsewhere.setGeometry(0, 0, 40, 40);
        m_elsewhere.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_elsewhere));
    }
    void cleanup()
    {
        QTest::mouseRelease(m_elsewhere.windowHandle(), Qt::LeftButton);
        if (AboutWindow* about = AboutWindow::loadedWindow())
            about->unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(aboutWindows(), 0);
    }

    // A window above all others, not modal, centred, showing the title and the installed version whole.
    void showsTheInstalledVersion_data() { addJsonCases("launcher.json", "aboutVersions", "versions"); }
    void showsTheInstalledVersion()
    {
        QFETCH(QJsonValue, versions);
        AboutWindow* window = openWindow(versions["installed"].toString());
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), "Help");
        QCOMPARE(window->findChild<QLabel*>("Label5")->text(), "Hanaplan　作成システム");
        QCOMPARE(version(window), versions["shown"].toString());
        for (QLabel* label : window->findChildren<QLabel*>())
            QVERIFY(label->width() >= label->sizeHint().width() &&
                    window->rect().contains(label->geometry()));
        QVERIFY(window->isWindow() && !window->isModal() && window->windowFlags() & Qt::WindowStaysOnTopHint);
        const QPoint offset = window->frameGeometry().center() - window->screen()->geometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QString("off by %1, %2").arg(offset.x()).arg(offset.y())));
    }

    // Any mouse event over the free surface (top left corner) closes the window at once; over a label none
    // does. A release comes without its press, straight to the widget, as after a press elsewhere.
    void mouseClosesOnlyOverSurface_data() { addJsonCases("launcher.json", "aboutMouse", "event"); }
    void mouseClosesOnlyOverSurface()
    {
        QFETCH(QJsonValue, event);
        QPointer<AboutWindow> window = openWindow();
        QVERIFY(window);
        QPointer<QTimer> running = timer(window);
        const QString label = event["label"].toString();
        QLabel* target = label.isEmpty() ? nullptr : window->findChild<QLabel*>(label);
        const QPoint at = target ? target->mapTo(window.data(), target->rect().center()) : QPoint(4, 4);
        QWidget* under = target ? static_cast<QWidget*>(target) : window.data();
        if (event["action"] == "move")
            QTest::mouseMove(window->windowHandle(), at);
        else if (event["action"] == "button down")
            QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, at);
        else if (event["action"] == "button up")
            QTest::mouseRelease(under, Qt::LeftButton, {}, under->mapFrom(window, at));
        else
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(window.isNull() || !window->isVisible(), !target); // at once
        QCOMPARE(running.isNull() || !running->isActive(), !target);
        if (target) // the mouse then rests over the label, moving a little
            QTest::mouseMove(window->windowHandle(), at + QPoint(1, 0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTRY_COMPARE(window.isNull(), !target);
        QCOMPARE(AboutWindow::loadedWindow(), window.data());
    }

    // The close box is ignored; Help while it is loaded changes nothing (no second window, fresh version or
    // restarted timer). After 30 s it closes; the next Help loads a fresh one, which unload() closes.
    void closeBoxHelpAndTimer()
    {
        QPointer<AboutWindow> first = openWindow();
        QVERIFY(first);
        QCOMPARE(timer(first)->interval(), 30000);
        QCloseEvent closeBox;
        QCoreApplication::sendEvent(first->windowHandle(), &closeBox);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first.isNull() && first->isVisible());
        QTest::qWait(300);
        const int remaining = timer(first)->remainingTime();
        QVERIFY(remaining < 29800);
        QCOMPARE(openWindow("2.0.0.0"), first.data());
        QCOMPARE(aboutWindows(), 1);
        QVERIFY(timer(first)->isActive() && timer(first)->remainingTime() <= remaining);
        QCOMPARE(version(first), "Ver.   1.1.4.0");
        QMetaObject::invokeMethod(timer(first), "timeout");
        QVERIFY(first.isNull() || !first->isVisible());
        QTRY_VERIFY(first.isNull());
        QPointer<AboutWindow> second = openWindow("2.0.0.0");
        QVERIFY(second);
        QCOMPARE(version(second), "Ver.   2.0.0.0");
        QVERIFY(timer(second)->isActive() && timer(second)->remainingTime() > 29000);
        second->unload();
        QVERIFY(!second->isVisible() && !timer(second)->isActive());
        QTRY_VERIFY(second.isNull());
    }
};

QTEST_MAIN(AboutWindowTest)
#include "tst_aboutwindow.moc"
