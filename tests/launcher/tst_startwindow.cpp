// SPDX-License-Identifier: MIT
#include "common/StartWindowFixture.h"

#include "RuntimeError.h"
#include "about/AboutWindow.h"
#include "launcher/LauncherApplication.h"
#include "platform/FileSystem.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

// The start window as the user meets it, its exit and unload, the program started again, and the run-time
// error report.
class StartWindowTest : public QObject, private StartWindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        makeInstallation();
        open();
    }
    void cleanup()
    {
        AboutWindow::unloadLoaded();
        tearDown();
    }

    // The focus starts in 作成者ID and goes round in the window's order. The four boxes take at most 32
    // characters, the passwords show "*", the input method is off; Enter in a box does nothing. Help
    // shows the About window.
    void usingTheWindow()
    {
        QCOMPARE(QApplication::focusWidget(), start->作成者ID());
        for (QWidget* next :
             std::initializer_list<QWidget*>{start->作成者パスワード(), start->作成(), start->マスターID(),
                                             start->マスターパスワード(), start->メンテ(), start->終了()}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        type({QStringLiteral("7"), QStringLiteral("pw"), QStringLiteral("master"),
              QStringLiteral("hanacare")});
        for (QLineEdit* box : start->findChildren<QLineEdit*>()) {
            QCOMPARE(box->maxLength(), 32);
            const bool password = box->objectName().contains(QStringLiteral("パスワード"));
            QCOMPARE(box->displayText(),
                     password ? QString(box->text().size(), QLatin1Char('*')) : box->text());
            QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter);
        }
        QVERIFY(start->isVisible());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(boxes().join(QLatin1Char(',')), QStringLiteral("7,pw,master,hanacare"));

        QVERIFY(!AboutWindow::loadedWindow());
        start->mnu_Help()->trigger();
        QVERIFY(AboutWindow::loadedWindow());
    }

    // 終了 (clicked, or Enter while it has the focus) closes the database and unloads; closing by the
    // title bar unloads without closing it. Either way a working copy left behind goes, and the maintenance
    // window is unloaded.
    void exitAndUnload_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("終了 clicked") << 0;
        QTest::newRow("Enter on 終了") << 1;
        QTest::newRow("title bar") << 2;
    }
    void exitAndUnload()
    {
        QFETCH(int, how);
        QFile copy(workingCopy());
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.close();
        platform::setFileAttributes(workingCopy(), 7);
        program->WorkbookCopyPath = install->allUsersProfile() + QStringLiteral("\\作業シート.xls");

        if (how == 0)
            QTest::mouseClick(start->終了(), Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(start->終了(), Qt::Key_Return);
        else
            start->close();
        QVERIFY(!start->isVisible());
        QCOMPARE(bool(program->DbConnection), how == 2);
        QVERIFY(!QFile::exists(workingCopy()));
        QTRY_VERIFY(mente.isNull());
    }

    // Started again: the shown window of the two comes to the front; with neither shown (a workbook runs)
    // nothing is shown.
    void bringToFront_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::newRow("start window") << QStringLiteral("Start");
        QTest::newRow("maintenance window") << QStringLiteral("Mente");
        QTest::newRow("neither") << QString();
    }
    void bringToFront()
    {
        QFETCH(QString, shown);
        start->setVisible(shown == start->objectName());
        mente->setVisible(shown == mente->objectName());
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));

        start->bringToFront();
        if (shown.isEmpty()) {
            QTest::qWait(50);
            QVERIFY(!start->isVisible() && !mente->isVisible());
            QCOMPARE(QApplication::activeWindow(), &elsewhere);
        } else {
            QTRY_COMPARE(
                QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : QString(), shown);
        }
    }

    // A handler's unguarded failure reaches the one catch at the top of the event loop: the report is shown
    // and the program ends with status 1.
    void handlerFailureEndsTheProgram()
    {
        auto* app = static_cast<LauncherApplication*>(QCoreApplication::instance());
        app->setMessageBoxes(&messages);
        bool after = false;
        QTimer::singleShot(0, start.get(), [&after] {
            throw RuntimeError(3265, QStringLiteral("項目が見つかりません。"));
            after = true;
        });
        QCOMPARE(app->exec(), 1);
        app->setMessageBoxes(nullptr);
        QVERIFY(!after);
        QVERIFY(!start->isVisible());
        expectMessage(platform::MessageBoxes::Icon::Critical, QStringLiteral("Hanaplan"),
                      QStringLiteral("実行時エラー '3265':\n\n項目が見つかりません。"));
    }
};

int main(int argc, char* argv[])
{
    LauncherApplication app(argc, argv);
    StartWindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startwindow.moc"
