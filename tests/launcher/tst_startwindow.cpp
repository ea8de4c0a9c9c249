// SPDX-License-Identifier: MIT
#include "StartWindowFixture.h"
#include "common/JsonCases.h"
#include "common/RegistryStoreText.h"

#include "RuntimeError.h"
#include "VersionPeWriter.h"
#include "about/AboutWindow.h"
#include "launcher/LauncherApplication.h"
#include "launcher/StartUp.h"
#include "maintenance/MasterActions.h"
#include "platform/widgets/QtMessageBoxes.h"

#include <QAction>
#include <QMessageBox>
#include <QTimer>

// What the application's loop returns when the test ends it; the program's own end returns 0.
constexpr int kStillRunning = 42;

// The start window from the start-up to the program's end, in the launcher's own application object.
class StartWindowTest : public QObject
{
    Q_OBJECT

    std::optional<StartWindowFixture> f;
    QtMessageBoxes realBoxes;
    QStringList answered; // the texts of the message boxes runInApplication() answered

    QString store() const { return f->install.root() + "/system.reg"; }
    // The start-up in a store of the test's own, with Excel of the major version (0: none) and Windows.
    StartUpResult runStartUp(int excelMajor, int windowsMajor = 10)
    {
        RegistryStoreText text;
        text.windowsVersion(windowsMajor, windowsMajor == 5 ? 1 : 0); // XP is 5.1
        f->writeFile(f->install.root() + "/excel.exe",
                     versionpe::writeVersionPe({.productVersion = {quint16(excelMajor), 0, 0, 0}}), 0);
        if (excelMajor > 0)
            text.excelFolder(f->install.root());
        text.writeTo(store());
        f->program = f->install.makeMain();
        f->program->services.messageBoxes = &f->messages;
        f->program->services.sleep = [](int) {};
        f->program->maintenance.CreatorSearchMode = 1; // the start-up resets it
        f->start = std::make_unique<StartWindow>(*f->program);
        return StartUp(*f->program, *f->start);
    }
    // The application's loop, running the action and answering each message box with OK; ended a while after.
    int runInApplication(const std::function<void()>& action)
    {
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answered.append(box->text());
                box->button(QMessageBox::Ok)->click();
            }
        });
        answering.start(20);
        QObject ending; // this call's own: a timer left running would end the next test's loop
        QTimer::singleShot(0, f->start.get(), [action, &ending] {
            action();
            QTimer::singleShot(300, &ending, [] { QCoreApplication::exit(kStillRunning); });
        });
        return QCoreApplication::exec();
    }

private Q_SLOTS:
    void init()
    {
        f.emplace();
        qputenv("HANAPLAN_REGISTRY", store().toUtf8());
        answered.clear();
    }
    void cleanup()
    {
        if (AboutWindow* about = AboutWindow::loadedWindow())
            about->unload();
        f.reset();
        qunsetenv("HANAPLAN_REGISTRY");
    }

    // Newer Windows use the per-user copy below the first virtual-store folder and remove a virtualised
    // workbook there; XP uses the installed file. The master row's settings are read; the window shows with
    // the focus in 作成者ID and, once drawn, loads the maintenance window hidden (a master sign-in before
    // that loads it itself, once). An unusable Excel ends the start-up with its message before the database
    // is touched, an unreadable master row with the run-time error; the window stays hidden.
    void startUp_data() { addJsonCases("launcher.json", "startUp", "run"); }
    void startUp()
    {
        QFETCH(QJsonValue, run);
        const bool xp = run["windows"] == 5;
        f->sql(run["change"].toString("UPDATE MST SET compellation = 1, ruling = 0"));
        const QString local = f->install.localAppData();
        const QString virtualised = local + "/VirtualStore/Program Files/Hanaplan";
        QDir().mkpath(virtualised);
        QDir(local).mkpath("VirtualStore/Program Files (x86)");
        f->writeFile(virtualised + "/Hanaplan.xls", "", 7);
        f->writeFile(local + "/Hanaplan.xls", "", 7);
        if (!run["windows"].isDouble()) { // the start-up ends early
            const QString before = f->dump();
            if (run["error"].isDouble()) {
                HANAPLAN_VERIFY_RUNTIME_ERROR(runStartUp(9), run["error"].toInt());
            } else {
                QCOMPARE(int(runStartUp(run["excel"].toInt())), int(StartUpResult::Refused));
                QCOMPARE(f->messages.shown.size(), 1);
                QVERIFY(!f->program->database.DbConnection);
                QCOMPARE(f->dump(), before);
            }
            QVERIFY(!f->start->isVisible() && !f->start->maintenanceWindow());
            return;
        }
        QCOMPARE(int(runStartUp(9, xp ? 5 : 10)), int(StartUpResult::Shown));
        QVERIFY(f->messages.shown.isEmpty());
        const DatabaseState& database = f->program->database;
        const MaintenanceState& state = f->program->maintenance;
        QCOMPARE((QVariantList{database.WindowsVersionCode, database.VirtualStorePath,
                               QFile::exists(virtualised + "/Hanaplan.xls"),
                               QFile::exists(local + "/Hanaplan.xls"), state.HonorificSetting,
                               state.RuledLineSetting, state.CreatorSearchMode, f->rs().isOpen()}),
                 (QVariantList{xp ? 2100.0 : 3000.0, xp ? "" : "\\VirtualStore\\Program Files\\Hanaplan", xp,
                               true, qint16(1), qint16(0), qint16(0), false}));
        QCOMPARE(f->db().databaseFile(),
                 xp ? f->install.installedDatabase() : virtualised + "/HanacareService.mdb");
        QPointer<MaintenanceWindow> signedIn;
        if (run["signInAtOnce"].toBool()) {
            QVERIFY(!f->start->maintenanceWindow());
            f->type({"", "", "master", "hanacare"});
            button(*f->start, "メンテ")->click();
            signedIn = f->start->maintenanceWindow();
            QVERIFY(signedIn && signedIn->isVisible() && signedIn->findChild<MasterActions*>());
            QTest::mouseClick(button(*signedIn, "作成者終了"), Qt::LeftButton);
        }
        QVERIFY(QTest::qWaitForWindowExposed(f->start.get()));
        QCOMPARE(QApplication::focusWidget(), edit(*f->start, "作成者ID"));
        QVERIFY(QTest::qWaitFor([this] { return (f->mente = f->start->maintenanceWindow()); }));
        QVERIFY(!f->mente->isVisible() && f->mente->findChild<MasterActions*>());
        QTest::qWait(50);
        QCOMPARE(f->start->maintenanceWindow(),
                 run["signInAtOnce"].toBool() ? signedIn.data() : f->mente.data());
    }

    // The boxes take 32 characters, the passwords show "*", the input method is off, Enter in a box does
    // nothing; Help shows the About window. (The end-to-end test goes round the focus order.)
    void usingTheWindow()
    {
        f->showStart();
        const QStringList typed = {"7", "pw", "master", "hanacare"};
        f->type(typed);
        for (QLineEdit* box : f->start->findChildren<QLineEdit*>()) {
            QCOMPARE(box->maxLength(), 32);
            const bool password = box->objectName().contains("パスワード");
            QCOMPARE(box->displayText(), password ? QString(box->text().size(), '*') : box->text());
            QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter);
        }
        QVERIFY(f->start->isVisible() && f->messages.shown.isEmpty());
        QCOMPARE(f->boxes(), typed);
        f->start->findChild<QAction*>("mnu_Help")->trigger();
        QVERIFY(AboutWindow::loadedWindow());
    }

    // Started again: the shown one of the two windows comes to the front; with neither, nothing is shown.
    void bringToFront()
    {
        f->showStart();
        QWidget elsewhere;
        elsewhere.setObjectName("elsewhere");
        for (const QString shown : {"Start", "Mente", "elsewhere"}) {
            f->start->setVisible(shown == f->start->objectName());
            f->mente->setVisible(shown == f->mente->objectName());
            elsewhere.show();
            elsewhere.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
            f->start->bringToFront();
            QTest::qWait(50);
            QTRY_COMPARE(QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : "",
                         shown);
        }
    }

    // A handler's unguarded failure reaches the event loop's one catch: the report, and status 1.
    void handlerFailureEndsTheProgram()
    {
        f->showStart();
        auto* app = static_cast<LauncherApplication*>(QCoreApplication::instance());
        app->setMessageBoxes(&f->messages);
        QCOMPARE(runInApplication([] { throw RuntimeError(3265, "項目が見つかりません。"); }), 1);
        app->setMessageBoxes(nullptr);
        QVERIFY(!f->start->isVisible());
        const QStringList report = {"critical", "Hanaplan", "実行時エラー '3265':\n\n項目が見つかりません。"};
        QCOMPARE(f->messages.described(), QList<QStringList>{report});
    }

    // The application's loop with real message boxes, each answered with OK. A message box as the only
    // visible window: after OK the program goes on at the window the path ends in. 終了 (clicked, or Enter)
    // closes the database and unloads; the title bar unloads only. A working copy left behind goes, the
    // maintenance window is unloaded, and the program ends, or with an About window open when that closes;
    // the About window closing behind a hidden start window does not end it.
    void applicationLoop_data() { addJsonCases("launcher.json", "applicationLoop", "run"); }
    void applicationLoop()
    {
        QFETCH(QJsonValue, run);
        const QString press = run["press"].toString(); // a button, Enter on 終了, or the title bar's close
        const bool about = run["about"].toBool();
        QVERIFY(RegistryStoreText().writeTo(store())); // the real shell finds no program for .xls files
        f->showStart();
        f->program->services.messageBoxes = &realBoxes;
        platform::RegistryShell realShell(f->program->services.environment);
        f->program->services.shell = &realShell;
        f->type(run["typed"].toVariant().toStringList());
        f->writeFile(f->workingCopy(), "", 7);
        f->program->WorkbookCopyPath = f->install.allUsersProfile() + "\\作業シート.xls";
        QPointer<AboutWindow> window =
            about ? AboutWindow::showOnce(f->program->services.environment) : nullptr;
        QVERIFY(!about || QTest::qWaitForWindowExposed(window.data()));
        if (run["hidden"].toBool())
            f->start->hide();
        bool closedAbout = false;
        QCOMPARE(runInApplication([&] {
                     if (press == "Enter")
                         QTest::keyClick(button(*f->start, "終了"), Qt::Key_Return);
                     else if (press == "close")
                         f->start->close();
                     else if (!press.isEmpty())
                         QTest::mouseClick(button(*f->start, qUtf8Printable(press)), Qt::LeftButton);
                     if (window)
                         QTimer::singleShot(100, window.data(), [&] {
                             closedAbout = true;
                             window->unload();
                         });
                 }),
                 run["status"].toInt(kStillRunning));
        QVERIFY2(closedAbout == about,
                 "the program ended with the start window while the About window was open");
        QCOMPARE(answered, run["answered"].toVariant().toStringList());
        QCOMPARE(f->start->isVisible(), run["shown"] == "Start");
        QCOMPARE(f->mente && f->mente->isVisible(), run["shown"] == "Mente");
        if (run["status"] == 0) {
            QCOMPARE(bool(f->program->database.DbConnection), press == "close");
            QVERIFY(!QFile::exists(f->workingCopy()));
            QTRY_VERIFY(f->mente.isNull());
        }
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
