// SPDX-License-Identifier: MIT
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "launcher/LauncherApplication.h"
#include "launcher/RuntimeErrorReport.h"
#include "launcher/StartWindow.h"
#include "maintenance/MaintenanceWindow.h"
#include "platform/FileSystem.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The start window as the user meets it, its exit and unload, and the run-time error report.
class StartWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;

    template <typename T> T* child(QWidget& window, const QString& name)
    {
        T* w = window.findChild<T*>(name);
        if (!w)
            qWarning() << "no control" << name;
        return w;
    }

private Q_SLOTS:
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        program = install->makeMain();
        OpenDatabase(*program);
    }
    void cleanup()
    {
        program.reset();
        install.reset();
    }

    // The texts a user reads, and the four boxes' rules: at most 32 characters, "*" for the passwords,
    // the input method off.
    void captionsAndBoxes()
    {
        StartWindow window(*program);
        const QList<std::pair<QString, QString>> captions = {{"TopScreen", "Hanaplan　作成システム"},
                                                             {"Label1", "作成者ＩＤ"},
                                                             {"Label2", "作成者パスワード"},
                                                             {"Label3", "マスターＩＤ"},
                                                             {"Label4", "マスターパスワード"},
                                                             {"作成", "作成"},
                                                             {"メンテ", "NEXT"},
                                                             {"終了", "終了"}};
        for (const auto& [name, text] : captions) {
            auto* label = child<QLabel>(window, name);
            QCOMPARE(label ? label->text() : child<QPushButton>(window, name)->text(), text);
        }
        for (const QString& frame : {QStringLiteral("計画書作成"), QStringLiteral("メンテナンス")})
            QCOMPARE(child<QGroupBox>(window, frame)->title(), frame);
        const QList<QLineEdit*> boxes = window.findChildren<QLineEdit*>();
        QCOMPARE(boxes.size(), 4);
        for (QLineEdit* box : boxes) {
            const bool password = box->objectName().contains(QStringLiteral("パスワード"));
            QCOMPARE(box->maxLength(), 32);
            box->setText(QStringLiteral("pw"));
            QCOMPARE(box->displayText(), password ? QStringLiteral("**") : QStringLiteral("pw"));
            QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
        }
    }

    void windowAsAWhole()
    {
        StartWindow window(*program);
        QCOMPARE(window.objectName(), QStringLiteral("Start"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Hanaplan"));
        QCOMPARE(window.centralWidget()->size(), QSize(583, 396));
        QCOMPARE(window.mnu_Help()->text(), QStringLiteral("Help"));
        QVERIFY(window.menuBar()->actions().contains(window.mnu_Help()));
        QVERIFY(!window.mnu_Help()->menu());

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(QApplication::focusWidget(), window.作成者ID());
        const QList<QWidget*> order = {window.作成者パスワード(),   window.作成(),   window.マスターID(),
                                       window.マスターパスワード(), window.メンテ(), window.終了()};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    // 終了 closes the database and unloads; closing by the title bar unloads without closing it. Either way
    // a working copy left behind goes, and the maintenance window is unloaded.
    void exitAndUnload_data()
    {
        QTest::addColumn<bool>("byExitButton");
        QTest::newRow("終了") << true;
        QTest::newRow("title bar") << false;
    }
    void exitAndUnload()
    {
        QFETCH(bool, byExitButton);
        const QString copy = install->allUsersProfile() + QStringLiteral("/作業シート.xls");
        QFile f(copy);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        platform::setFileAttributes(copy, 7);
        program->WorkbookCopyPath = install->allUsersProfile() + QStringLiteral("\\作業シート.xls");

        StartWindow window(*program);
        QPointer<MaintenanceWindow> mente = new MaintenanceWindow(*program);
        window.setMaintenanceWindow(mente);
        window.show();
        if (byExitButton)
            QTest::mouseClick(window.終了(), Qt::LeftButton);
        else
            window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(bool(program->DbConnection), !byExitButton);
        QVERIFY(!QFile::exists(copy));
        QTRY_VERIFY(mente.isNull());
    }

    // Enter presses the focused button; in a text box it does nothing.
    void enterKey()
    {
        StartWindow window(*program);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.作成者ID()->setText(QStringLiteral("7"));
        window.作成者パスワード()->setText(QStringLiteral("x"));
        window.マスターID()->setText(QStringLiteral("master"));
        window.マスターパスワード()->setText(QStringLiteral("hanacare"));
        for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter);
        }
        QVERIFY(window.isVisible());
        QCOMPARE(window.マスターパスワード()->text(), QStringLiteral("hanacare"));
        window.終了()->setFocus();
        QTest::keyClick(window.終了(), Qt::Key_Return);
        QVERIFY(!window.isVisible());
        QVERIFY(!program->DbConnection);
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
        StartWindow window(*program);
        auto* mente = new MaintenanceWindow(*program);
        window.setMaintenanceWindow(mente);
        if (shown == window.objectName())
            window.show();
        if (shown == mente->objectName())
            mente->show();
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));

        window.bringToFront();
        if (shown.isEmpty()) {
            QTest::qWait(50);
            QVERIFY(!window.isVisible() && !mente->isVisible());
            QCOMPARE(QApplication::activeWindow(), &elsewhere);
        } else {
            QTRY_COMPARE(
                QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : QString(), shown);
        }
        delete mente;
    }

    void exitWithoutSignIn()
    {
        const QString unrelated = install->allUsersProfile() + QStringLiteral("/作業シート.xls");
        QFile f(unrelated);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        StartWindow window(*program);
        window.show();
        QTest::mouseClick(window.終了(), Qt::LeftButton);
        QVERIFY(QFile::exists(unrelated)); // no sign-in this run: nothing to delete
    }

    void reportText()
    {
        const RuntimeError error(3021, QStringLiteral("現在のレコードが必要です。"));
        QCOMPARE(RuntimeErrorReportText(error),
                 QStringLiteral("実行時エラー '3021':\n\n現在のレコードが必要です。"));
        MessageRecorder recorder;
        ShowRuntimeErrorReport(recorder, error);
        QCOMPARE(recorder.shown.size(), 1);
        QCOMPARE(recorder.shown[0].title, QStringLiteral("Hanaplan"));
        QCOMPARE(int(recorder.shown[0].icon), int(platform::MessageBoxes::Icon::Critical));
    }

    // A handler's unguarded failure reaches the one catch at the top of the event loop: the report is shown
    // and the program ends with status 1.
    void handlerFailureEndsTheProgram()
    {
        auto* app = static_cast<LauncherApplication*>(QCoreApplication::instance());
        MessageRecorder recorder;
        app->setMessageBoxes(&recorder);
        QWidget window;
        window.show();
        bool after = false;
        QTimer::singleShot(0, &window, [&after] {
            throw RuntimeError(3265, QStringLiteral("項目が見つかりません。"));
            after = true;
        });
        QCOMPARE(app->exec(), 1);
        QVERIFY(!after);
        QVERIFY(!window.isVisible());
        QCOMPARE(recorder.shown.size(), 1);
        QCOMPARE(recorder.shown[0].text, QStringLiteral("実行時エラー '3265':\n\n項目が見つかりません。"));
        app->setMessageBoxes(nullptr);
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
