// SPDX-License-Identifier: MIT
// When the program ends, with real message boxes and windows in the launcher's own application loop: only
// the start window's unload ends it (or an About window that outlives it), never a message box that was
// the last visible window while the start window was hidden.
#include "common/RegistryStoreText.h"
#include "common/StartWindowFixture.h"

#include "about/AboutWindow.h"
#include "launcher/LauncherApplication.h"
#include "platform/widgets/QtMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

// What the application's loop returns when the test ends it; the program's own end returns 0.
constexpr int kStillRunning = 42;

class ProgramEndTest : public QObject, private StartWindowFixture
{
    Q_OBJECT

private:
    QtMessageBoxes realBoxes;
    std::unique_ptr<platform::RegistryShell> realShell;

    // Runs the action in the application's loop, answering every message box with OK as a user would and
    // noting its text; a while after the action the test ends the loop. Returns the loop's result.
    int runInApplication(const std::function<void()>& action, QStringList* answered = nullptr)
    {
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, [answered] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                if (answered)
                    answered->append(box->text());
                box->button(QMessageBox::Ok)->click();
            }
        });
        answering.start(20);
        QTimer end; // a timer of this call's own: one left running would end the next test's loop
        end.setSingleShot(true);
        connect(&end, &QTimer::timeout, this, [] { QCoreApplication::exit(kStillRunning); });
        QTimer::singleShot(0, start.get(), [action, &end] {
            action();
            end.start(300);
        });
        return QCoreApplication::exec();
    }

private Q_SLOTS:
    void init()
    {
        makeInstallation();
        // A registry store without the .xls association: the real shell's open fails with 31.
        const QString store = install->root() + QStringLiteral("/system.reg");
        QVERIFY(RegistryStoreText().writeTo(store));
        qputenv("HANAPLAN_REGISTRY", store.toUtf8());
        open();
        program->messageBoxes = &realBoxes;
        realShell = std::make_unique<platform::RegistryShell>(program->environment);
        program->shell = realShell.get();
    }
    void cleanup()
    {
        AboutWindow::unloadLoaded();
        tearDown();
        realShell.reset();
        qunsetenv("HANAPLAN_REGISTRY");
    }

    // Each path on which a message box is the only visible window: after OK the program goes on and the
    // window the path ends in is shown.
    void messageWhileNoWindowIsShown_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("creator ID not registered") << QStringList{"70", "pw"} << "作成"
                                                   << "指定の作成者IDは登録されていません";
        QTest::newRow("creator password wrong") << QStringList{"7", "PW"} << "作成"
                                                << "指定のパスワードが違っています。";
        QTest::newRow("shell cannot open the workbook") << QStringList{"7", "pw"} << "作成"
                                                        << "関連付けが指定されていません。";
        QTest::newRow("master ID not registered") << QStringList{"", "", "boss", "hanacare"} << "メンテ"
                                                  << "指定のマスターIDは登録されていません";
        QTest::newRow("master password wrong") << QStringList{"", "", "master", "x"} << "メンテ"
                                               << "指定のパスワードが違っています。";
        QTest::newRow("no creator of the searched name at the maintenance sign-in")
            << QStringList{"", "", "master", "hanacare"} << "メンテ"
            << "該当の氏名はありません。";
    }
    void messageWhileNoWindowIsShown()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, button);
        QFETCH(QString, message);
        const bool toMaintenance = message.contains(QStringLiteral("氏名"));
        if (toMaintenance) {
            mente->findChild<QRadioButton*>(QStringLiteral("検索条件氏名"))->setChecked(true);
            mente->findChild<QLineEdit*>(QStringLiteral("検索氏名"))->setText(QStringLiteral("誰もいない"));
            program->CreatorSearchMode = 1;
        }
        type(typed);
        auto* pressed = start->findChild<QPushButton*>(button);
        QStringList answered;
        QCOMPARE(runInApplication([pressed] { pressed->click(); }, &answered), kStillRunning);
        QCOMPARE(answered, QStringList{message});
        QCOMPARE(start->isVisible(), !toMaintenance);
        QCOMPARE(mente->isVisible(), toMaintenance);
    }

    // 終了 ends the program, unless an About window is open: that keeps it until the About window closes.
    // The About window closing while the start window is only hidden (a workbook runs) does not end it.
    void endWithTheAboutWindow_data()
    {
        QTest::addColumn<bool>("about");
        QTest::addColumn<bool>("exit");
        QTest::addColumn<int>("result");
        QTest::newRow("終了") << false << true << 0;
        QTest::newRow("終了 with the About window open") << true << true << 0;
        QTest::newRow("About window closing behind a hidden start window") << true << false << kStillRunning;
    }
    void endWithTheAboutWindow()
    {
        QFETCH(bool, about);
        QFETCH(bool, exit);
        QFETCH(int, result);
        QPointer<AboutWindow> window = about ? AboutWindow::showOnce(program->environment) : nullptr;
        if (about)
            QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        if (!exit)
            start->hide();
        bool closedAbout = false;
        QCOMPARE(runInApplication([&] {
                     if (exit)
                         start->終了()->click();
                     if (window)
                         QTimer::singleShot(100, window.data(), [&] {
                             closedAbout = true;
                             window->unload();
                         });
                 }),
                 result);
        QVERIFY2(closedAbout == about,
                 "the program ended with the start window while the About window was open");
        QVERIFY(!start->isVisible());
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
