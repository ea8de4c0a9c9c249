// SPDX-License-Identifier: MIT
// When the program ends, with real message boxes and windows in the application's own event loop: only
// the start window's unload ends it (or an About window that outlives it), never a message box that was
// the last visible window while the start window was hidden.
#include "common/RegistryStoreText.h"
#include "common/StartWindowFixture.h"

#include "about/AboutWindow.h"
#include "launcher/LauncherApplication.h"
#include "platform/Shell.h"
#include "platform/widgets/QtMessageBoxes.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// What the application's loop returns when the test ends it; the program's own end returns 0.
constexpr int kStillRunning = 42;

} // namespace

class ProgramEndTest : public QObject, private StartWindowFixture
{
    Q_OBJECT

private:
    QtMessageBoxes realBoxes;
    std::unique_ptr<platform::RegistryShell> registryShell;
    QStringList answered;

    // Answers every real message box as a user would, with its OK button, and notes its text.
    void answerMessageBoxes(QTimer& timer)
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answered.append(box->text());
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer.start(20);
    }

    // Runs the action in the application's loop and answers its messages; once it has returned, the loop
    // runs a little longer and is then ended by the test. The loop's result: kStillRunning when the
    // program went on, 0 when it ended by itself.
    int runInApplication(const std::function<void()>& action, int settleMilliseconds = 300)
    {
        QTimer answering;
        answerMessageBoxes(answering);
        QTimer::singleShot(0, start.get(), [action, settleMilliseconds] {
            action();
            QTimer::singleShot(settleMilliseconds, qApp, [] { QCoreApplication::exit(kStillRunning); });
        });
        return QCoreApplication::exec();
    }

private Q_SLOTS:
    void init()
    {
        makeInstallation();
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("INSERT INTO 作成者 (ID, 名前, ふりがな, password) VALUES (7, '山田花子', "
                                  "'ヤマダハナコ', 'pw')"));
        QFile book(install->programFolder() + QStringLiteral("/Hanaplan.xls"));
        QVERIFY(book.open(QIODevice::WriteOnly));
        book.write("<Workbook/>");
        book.close();
        // A registry store without the .xls association: the shell's open fails with 31.
        const QString store = install->root() + QStringLiteral("/system.reg");
        QVERIFY(RegistryStoreText().writeTo(store));
        qputenv("HANAPLAN_REGISTRY", store.toUtf8());

        open();
        // Real message boxes and the real shell.
        program->messageBoxes = &realBoxes;
        registryShell = std::make_unique<platform::RegistryShell>(program->environment);
        program->shell = registryShell.get();
        answered.clear();
    }
    void cleanup()
    {
        AboutWindow::unloadLoaded();
        tearDown();
        registryShell.reset();
        qunsetenv("HANAPLAN_REGISTRY");
    }

    // Each path on which a message box is the only visible window: after OK the program goes on and the
    // window the path ends in is shown.
    void messageWhileNoWindowIsShown_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("nameSearch");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shownAfter");
        const QString start = QStringLiteral("Start");
        QTest::newRow("creator ID not registered") << QStringList{"70", "pw", "", ""} << "作成" << false
                                                   << "指定の作成者IDは登録されていません" << start;
        QTest::newRow("creator password wrong") << QStringList{"7", "PW", "", ""} << "作成" << false
                                                << "指定のパスワードが違っています。" << start;
        QTest::newRow("shell cannot open the workbook")
            << QStringList{"7", "pw", "", ""} << "作成" << false << "関連付けが指定されていません。" << start;
        QTest::newRow("master ID not registered") << QStringList{"", "", "boss", "hanacare"} << "メンテ"
                                                  << false << "指定のマスターIDは登録されていません" << start;
        QTest::newRow("master password wrong") << QStringList{"", "", "master", "x"} << "メンテ" << false
                                               << "指定のパスワードが違っています。" << start;
        QTest::newRow("no creator of the searched name at the maintenance sign-in")
            << QStringList{"", "", "master", "hanacare"} << "メンテ" << true << "該当の氏名はありません。"
            << QStringLiteral("Mente");
    }
    void messageWhileNoWindowIsShown()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, button);
        QFETCH(bool, nameSearch);
        QFETCH(QString, message);
        QFETCH(QString, shownAfter);
        if (nameSearch) {
            mente->findChild<QRadioButton*>(QStringLiteral("検索条件氏名"))->setChecked(true);
            mente->findChild<QLineEdit*>(QStringLiteral("検索氏名"))->setText(QStringLiteral("誰もいない"));
            program->CreatorSearchMode = 1;
        }
        type(typed[0], typed[1], typed[2], typed[3]);
        auto* pressed = start->findChild<QPushButton*>(button);
        QVERIFY(pressed);

        QCOMPARE(runInApplication([pressed] { pressed->click(); }), kStillRunning);
        QCOMPARE(answered, QStringList{message});
        QCOMPARE(start->isVisible(), shownAfter == QLatin1String("Start"));
        QCOMPARE(mente->isVisible(), shownAfter == QLatin1String("Mente"));
    }

    // 終了 ends the program; an About window that is open then keeps it until the About window closes.
    void exitEndsTheProgram()
    {
        QCOMPARE(runInApplication([this] { start->終了()->click(); }), 0);
        QVERIFY(!start->isVisible());
    }
    void openAboutWindowOutlivesTheStartWindow()
    {
        QPointer<AboutWindow> about = AboutWindow::showOnce(program->environment);
        QVERIFY(QTest::qWaitForWindowExposed(about.data()));
        bool closedAbout = false;
        const int result = runInApplication([this, &about, &closedAbout] {
            start->終了()->click();
            QTimer::singleShot(100, about.data(), [&about, &closedAbout] {
                closedAbout = true;
                about->unload();
            });
        });
        QVERIFY2(closedAbout, "the program ended with the start window while the About window was open");
        QCOMPARE(result, 0);
    }

    // The About window closing while the start window is hidden (a workbook runs) does not end the program.
    void aboutClosingBehindAHiddenStartWindow()
    {
        QPointer<AboutWindow> about = AboutWindow::showOnce(program->environment);
        QVERIFY(QTest::qWaitForWindowExposed(about.data()));
        start->hide();
        QCOMPARE(runInApplication([&about] { about->unload(); }), kStillRunning);
    }
};

int main(int argc, char* argv[])
{
    // The launcher's own application object, whose rule for the program's end is under test.
    LauncherApplication app(argc, argv);
    ProgramEndTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programend.moc"
