// SPDX-License-Identifier: MIT
#include "common/Controls.h"
#include "common/RegistryStoreText.h"
#include "common/StartWindowFixture.h"

#include "RuntimeError.h"
#include "about/AboutWindow.h"
#include "launcher/LauncherApplication.h"
#include "launcher/StartUp.h"
#include "maintenance/MasterActions.h"
#include "platform/FileSystem.h"
#include "platform/widgets/QtMessageBoxes.h"

#include "VersionPeWriter.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

// What the application's loop returns when the test ends it; the program's own end returns 0.
constexpr int kStillRunning = 42;

// The start window from the start-up to the program's end, in the launcher's own application object: the
// start-up with a registry store and Excel program file of the test's own, the window as the user meets
// it, the program started again, exit and unload, and when the program ends with real message boxes and
// the real shell.
class StartWindowTest : public QObject, private StartWindowFixture
{
    Q_OBJECT

private:
    QtMessageBoxes realBoxes;
    std::unique_ptr<platform::RegistryShell> realShell;

    QString store() const { return install->root() + "/system.reg"; }
    // The start-up in a store with Excel of the given major version (0: none) and the Windows version.
    StartUpResult runStartUp(int excelMajor, int windowsMajor = 10, int windowsMinor = 0)
    {
        RegistryStoreText text;
        text.windowsVersion(windowsMajor, windowsMinor);
        if (excelMajor > 0) {
            versionpe::Options options;
            options.productVersion = {quint16(excelMajor), 0, 0, 0};
            QFile exe(install->root() + "/excel.exe");
            if (exe.open(QIODevice::WriteOnly))
                exe.write(versionpe::writeVersionPe(options));
            text.excelFolder(install->root());
        }
        text.writeTo(store());
        program = install->makeMain();
        program->services.messageBoxes = &messages;
        program->services.sleep = [](int) {};
        program->maintenance.CreatorSearchMode = 1; // the start-up resets it
        start = std::make_unique<StartWindow>(*program);
        return StartUp(*program, *start);
    }

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
    // The opened program with real message boxes and the real shell, whose store has no program for .xls
    // files: its open fails with 31.
    void openWithRealBoxesAndShell()
    {
        QVERIFY(RegistryStoreText().writeTo(store()));
        open();
        program->services.messageBoxes = &realBoxes;
        realShell = std::make_unique<platform::RegistryShell>(program->services.environment);
        program->services.shell = realShell.get();
    }

private Q_SLOTS:
    void init()
    {
        makeInstallation();
        qputenv("HANAPLAN_REGISTRY", store().toUtf8());
    }
    void cleanup()
    {
        if (AboutWindow* about = AboutWindow::loadedWindow())
            about->unload();
        tearDown();
        realShell.reset();
        qunsetenv("HANAPLAN_REGISTRY");
    }

    // On newer Windows the database is the per-user copy below the first virtual-store folder, and a
    // virtualised workbook there goes; on Windows XP the installed file is used in place and nothing goes.
    // The master row's two settings are read, and the start window shows with the focus in 作成者ID; once
    // it is on the screen the maintenance window is loaded, hidden, its actions connected.
    void startUp_data()
    {
        QTest::addColumn<int>("windowsMajor");
        QTest::addColumn<int>("windowsMinor");
        QTest::addColumn<double>("code");
        QTest::addColumn<QString>("virtualStore");
        QTest::newRow("Windows 10") << 10 << 0 << 3000.0 << "\\VirtualStore\\Program Files\\Hanaplan";
        QTest::newRow("Windows XP") << 5 << 1 << 2100.0 << "";
    }
    void startUp()
    {
        QFETCH(int, windowsMajor);
        QFETCH(int, windowsMinor);
        QFETCH(double, code);
        QFETCH(QString, virtualStore);
        sql("UPDATE MST SET compellation = 1, ruling = 0");
        const QString local = install->localAppData();
        QDir(local).mkpath("VirtualStore/Program Files/Hanaplan");
        QDir(local).mkpath("VirtualStore/Program Files (x86)");
        const QStringList workbooks = {local + "/VirtualStore/Program Files/Hanaplan/Hanaplan.xls",
                                       local + "/Hanaplan.xls"};
        for (const QString& workbook : workbooks) {
            QFile f(workbook);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
            platform::setFileAttributes(workbook, 7);
        }

        QCOMPARE(int(runStartUp(9, windowsMajor, windowsMinor)), int(StartUpResult::Shown));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(program->database.WindowsVersionCode, code);
        QCOMPARE(program->database.VirtualStorePath, virtualStore);
        QCOMPARE(program->database.DbConnection->databaseFile(),
                 code > 2100 ? local + "/VirtualStore/Program Files/Hanaplan/HanacareService.mdb"
                             : install->installedDatabase());
        QCOMPARE(QFile::exists(workbooks[0]), code == 2100);
        QVERIFY(QFile::exists(workbooks[1]));
        QCOMPARE(program->maintenance.HonorificSetting, qint16(1));
        QCOMPARE(program->maintenance.RuledLineSetting, qint16(0));
        QCOMPARE(program->maintenance.CreatorSearchMode, qint16(0));
        QVERIFY(!program->database.SharedRecordset->isOpen());
        QVERIFY(QTest::qWaitForWindowExposed(start.get()));
        QCOMPARE(QApplication::focusWidget(), edit(*start, "作成者ID"));
        QVERIFY(QTest::qWaitFor([this] { return (mente = start->maintenanceWindow()); }));
        QVERIFY(!mente->isVisible() && mente->findChild<MasterActions*>());
    }

    // A master sign-in before the start window was first drawn loads the maintenance window itself, once.
    void masterSignInBeforeTheMaintenanceWindowIsLoaded()
    {
        QCOMPARE(int(runStartUp(16)), int(StartUpResult::Shown));
        QVERIFY(!start->maintenanceWindow());
        type({"", "", "master", "hanacare"});
        button(*start, "メンテ")->click();
        mente = start->maintenanceWindow();
        QVERIFY(mente && mente->isVisible() && mente->findChild<MasterActions*>());
        QTest::mouseClick(button(*mente, "作成者終了"), Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(start.get()));
        QTest::qWait(50);
        QCOMPARE(start->maintenanceWindow(), mente.data());
    }

    // An unusable Excel ends the start-up with its message before the database is touched; a master row
    // it cannot read ends it with the run-time error. Nothing is shown either way.
    void startUpEndsEarly_data()
    {
        QTest::addColumn<int>("excelMajor");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("error"); // 0: refused
        QTest::newRow("no Excel") << 0 << "" << 0;
        QTest::newRow("Excel 97") << 8 << "" << 0;
        QTest::newRow("null setting")
            << 16 << "UPDATE MST SET ruling = NULL" << ErrorNumber::InvalidUseOfNull;
        QTest::newRow("no live master row")
            << 16 << "UPDATE MST SET 削除日 = '2026-01-01 00:00:00'" << ErrorNumber::NoCurrentRecord;
    }
    void startUpEndsEarly()
    {
        QFETCH(int, excelMajor);
        QFETCH(QString, statement);
        QFETCH(int, error);
        if (!statement.isEmpty())
            sql(statement);
        const QString before = DatabaseInspector(install->installedDatabase()).dump();
        if (error) {
            HANAPLAN_VERIFY_RUNTIME_ERROR(runStartUp(excelMajor), error);
        } else {
            QCOMPARE(int(runStartUp(excelMajor)), int(StartUpResult::Refused));
            QCOMPARE(messages.shown.size(), 1);
            QVERIFY(!program->database.DbConnection);
            QVERIFY(QDir(install->localAppData()).isEmpty()); // no per-user copy either
            QCOMPARE(DatabaseInspector(install->installedDatabase()).dump(), before);
        }
        QVERIFY(!start->isVisible());
        QVERIFY(!start->maintenanceWindow());
    }

    // The four boxes take at most 32 characters, the passwords show "*", the input method is off; Enter in
    // a box does nothing. Help shows the About window. (The end-to-end test goes round the focus order.)
    void usingTheWindow()
    {
        open();
        type({"7", "pw", "master", "hanacare"});
        for (QLineEdit* box : start->findChildren<QLineEdit*>()) {
            QCOMPARE(box->maxLength(), 32);
            const bool password = box->objectName().contains("パスワード");
            QCOMPARE(box->displayText(), password ? QString(box->text().size(), '*') : box->text());
            QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter);
        }
        QVERIFY(start->isVisible());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(boxes(), (QStringList{"7", "pw", "master", "hanacare"}));

        QVERIFY(!AboutWindow::loadedWindow());
        start->findChild<QAction*>("mnu_Help")->trigger();
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
        open();
        QFile copy(workingCopy());
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.close();
        platform::setFileAttributes(workingCopy(), 7);
        program->WorkbookCopyPath = install->allUsersProfile() + "\\作業シート.xls";

        if (how == 0)
            QTest::mouseClick(button(*start, "終了"), Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(button(*start, "終了"), Qt::Key_Return);
        else
            start->close();
        QVERIFY(!start->isVisible());
        QCOMPARE(bool(program->database.DbConnection), how == 2);
        QVERIFY(!QFile::exists(workingCopy()));
        QTRY_VERIFY(mente.isNull());
    }

    // Started again: the shown window of the two comes to the front; with neither shown (a workbook runs)
    // nothing is shown.
    void bringToFront_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::newRow("start window") << "Start";
        QTest::newRow("maintenance window") << "Mente";
        QTest::newRow("neither") << "";
    }
    void bringToFront()
    {
        QFETCH(QString, shown);
        open();
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
        open();
        auto* app = static_cast<LauncherApplication*>(QCoreApplication::instance());
        app->setMessageBoxes(&messages);
        bool after = false;
        QTimer::singleShot(0, start.get(), [&after] {
            throw RuntimeError(3265, "項目が見つかりません。");
            after = true;
        });
        QCOMPARE(app->exec(), 1);
        app->setMessageBoxes(nullptr);
        QVERIFY(!after);
        QVERIFY(!start->isVisible());
        expectMessage(platform::MessageBoxes::Icon::Critical, "Hanaplan",
                      "実行時エラー '3265':\n\n項目が見つかりません。");
    }

    // Each path on which a message box is the only visible window: after OK the program goes on and the
    // window the path ends in is shown.
    void messageWhileNoWindowIsShown_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const QStringList& typed, const char* button,
                            const char* text) {
            QTest::newRow(name) << typed << QString(button) << QString(text);
        };
        row("creator ID not registered", {"70", "pw"}, "作成", "指定の作成者IDは登録されていません");
        row("creator password wrong", {"7", "PW"}, "作成", "指定のパスワードが違っています。");
        row("shell cannot open the workbook", {"7", "pw"}, "作成", "関連付けが指定されていません。");
        row("master ID not registered", {"", "", "boss", "hanacare"}, "メンテ",
            "指定のマスターIDは登録されていません");
        row("master password wrong", {"", "", "master", "x"}, "メンテ", "指定のパスワードが違っています。");
        row("no creator of the searched name at the maintenance sign-in", {"", "", "master", "hanacare"},
            "メンテ", "該当の氏名はありません。");
    }
    void messageWhileNoWindowIsShown()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, button);
        QFETCH(QString, message);
        openWithRealBoxesAndShell();
        const bool toMaintenance = message.contains("氏名");
        if (toMaintenance) {
            mente->findChild<QRadioButton*>("検索条件氏名")->setChecked(true);
            mente->findChild<QLineEdit*>("検索氏名")->setText("誰もいない");
            program->maintenance.CreatorSearchMode = 1;
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
        openWithRealBoxesAndShell();
        QPointer<AboutWindow> window = about ? AboutWindow::showOnce(program->services.environment) : nullptr;
        if (about)
            QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        if (!exit)
            start->hide();
        bool closedAbout = false;
        QCOMPARE(runInApplication([&] {
                     if (exit)
                         button(*start, "終了")->click();
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
    StartWindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startwindow.moc"
