// SPDX-License-Identifier: MIT
// The built program in a real X server (Xvfb), driven by key presses as a user drives it, with an
// installation, registry store and scripted spreadsheet of the test's own: what only the whole program
// shows, the real shell and message boxes, a second start, the exit status.
#include "common/RegistryStoreText.h"
#include "common/TestDatabase.h"

#include "VersionPeWriter.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An X server of the test's own. -noreset: a server that resets when its last client leaves refuses the
// next program for a moment.
class XServer
{
public:
    XServer()
    {
        m_process.start("Xvfb",
                        {"-noreset", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QByteArray said;
        QElapsedTimer t;
        t.start();
        while (!said.contains('\n') && t.elapsed() < 10000 && m_process.waitForReadyRead(10000))
            said += m_process.readAllStandardOutput();
        if (!said.trimmed().isEmpty())
            display = ":" + QString::fromLatin1(said.trimmed());
    }
    ~XServer()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    QString display;

private:
    QProcess m_process;
};

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XServer> x;
    std::unique_ptr<TestInstallation> install;

    QString marker(const QString& name) const { return install->root() + QLatin1Char('/') + name; }
    QString readMarker(const QString& name) const
    {
        QFile file(marker(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    }

    // A program of the test's display; its output, trimmed.
    QString run(const QString& program, const QStringList& arguments)
    {
        QProcess p;
        QProcessEnvironment env;
        env.insert("DISPLAY", x->display);
        p.setProcessEnvironment(env);
        p.start(program, arguments);
        if (!p.waitForFinished(15000)) {
            p.kill();
            p.waitForFinished();
        }
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    QString xdotool(const QStringList& arguments) { return run("xdotool", arguments); }
    // Waits for a visible top-level window of this title and gives it the keyboard; its id.
    QString focusWindow(const QString& title)
    {
        const QString id =
            xdotool({"search", "--sync", "--onlyvisible", "--name", QStringLiteral("^%1$").arg(title)})
                .section(QLatin1Char('\n'), 0, 0);
        if (!id.isEmpty())
            xdotool({"windowfocus", "--sync", id});
        return id;
    }
    // Whether the first window lies above the second in the stacking order (ids as xdotool gives them).
    bool above(const QString& upper, const QString& lower)
    {
        const QString tree = run("xwininfo", {"-root", "-children"});
        const auto position = [&tree](const QString& id) {
            return tree.indexOf(QStringLiteral("0x%1 ").arg(id.toULongLong(), 0, 16));
        };
        return position(upper) >= 0 && position(lower) >= 0 && position(upper) < position(lower);
    }
    // Key presses, or typing (a tab presses Tab), each followed by a pause in which the
    // program handles them.
    void keys(const QStringList& sequence)
    {
        xdotool(QStringList{"key", "--delay", "40"} + sequence);
        QTest::qWait(200);
    }
    void type(const QString& text)
    {
        xdotool({"type", "--delay", "40", text});
        QTest::qWait(200);
    }

    // The installation: program, database with creator 7 (password "pw"), workbook and registry store with
    // Excel of the given major version (0: none), and the scripted spreadsheet registered for .xls files
    // unless told otherwise. The spreadsheet notes its argument and whether the launcher holds the
    // database open, then runs until the test lets it end.
    void lay(int excelMajor, bool xlsAssociation = true)
    {
        install = std::make_unique<TestInstallation>();
        QDir().mkpath(install->root() + "/run");
        const QString program = install->programFolder() + "/hanaplan";
        QFile::copy(QStringLiteral(HANAPLAN_BINARY_DIR "/src/hanaplan"), program);
        QFile(program).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        install->installDatabase("installed");
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("INSERT INTO 作成者 (ID, 名前, ふりがな, password) VALUES (7, '山田花子', "
                                  "'ヤマダハナコ', 'pw')"));
        QFile book(install->programFolder() + "/Hanaplan.xls");
        QVERIFY(book.open(QIODevice::WriteOnly) && book.write("<?xml version=\"1.0\"?><Workbook/>") > 0);

        QFile script(marker("sheet.sh"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            QStringLiteral("#!/bin/sh\n"
                           "cd \"%1\"\n"
                           "printf '%s' \"$1\" > argument\n"
                           "if ls -l /proc/$PPID/fd 2>/dev/null | grep -q HanacareService.mdb; then echo "
                           "held; else echo free; fi > database\n"
                           "n=0; while [ ! -e quit ] && [ $n -lt 300 ]; do sleep 0.1; n=$((n+1)); done\n")
                .arg(install->root())
                .toUtf8());
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        RegistryStoreText store;
        if (xlsAssociation)
            store.xlsProgram(script.fileName());
        if (excelMajor != 0) {
            versionpe::Options options;
            options.productVersion = {quint16(excelMajor), 0, 0, 0};
            QFile exe(marker("excel.exe"));
            QVERIFY(exe.open(QIODevice::WriteOnly) && exe.write(versionpe::writeVersionPe(options)) > 0);
            store.excelFolder(install->root());
        }
        QVERIFY(store.writeTo(install->programFolder() + "/system.reg"));
    }

    // The program with the installation's variables, or with none of them and a home of its own.
    void startProgram(QProcess& p, const QString& home = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", x->display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_RUNTIME_DIR", install->root() + "/run");
        env.remove("HANAPLAN_REGISTRY"); // the store beside the program is used
        for (const char* name : {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
            env.remove(QString::fromLatin1(name));
        if (home.isEmpty()) {
            env.insert("ProgramFiles", install->programFiles());
            env.insert("LOCALAPPDATA", install->localAppData());
            env.insert("ALLUSERSPROFILE", install->allUsersProfile());
        } else {
            for (const char* name : {"ProgramFiles", "LOCALAPPDATA", "ALLUSERSPROFILE"})
                env.remove(QString::fromLatin1(name));
            env.insert("HOME", home);
        }
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(install->programFolder() + "/hanaplan");
        QVERIFY(p.waitForStarted());
    }
    // Whether the program has ended or ends within 15 s (waitForFinished() alone is false for a process
    // that ended while the test's event loop ran).
    static bool ended(QProcess& p) { return p.state() == QProcess::NotRunning || p.waitForFinished(15000); }
    // A second start ends at once, with status 0.
    void startAgain(const QString& home = QString())
    {
        QProcess second;
        startProgram(second, home);
        QVERIFY(ended(second));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        x = std::make_unique<XServer>();
        if (x->display.isEmpty())
            QSKIP("no X server (Xvfb) could be started");
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("xdotool is not installed");
    }
    void cleanup() { install.reset(); }
    void cleanupTestCase() { x.reset(); }

    // Installed as a care office installs it, for a new user whose home holds nothing yet and with none of
    // the program's variables set: the master account opens the maintenance window, a creator registered
    // there signs in and the spreadsheet runs on the working copy, with the database free. Meanwhile the
    // start window is hidden and a second start ends at once. The per-user folders are made, owner-only.
    void newUserRegistersACreatorWhoSignsIn()
    {
        lay(16);
        QTemporaryDir home;
        QProcess launcher;
        startProgram(launcher, home.path());
        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the start window is shown");
        type("\t\t\tmaster\thanacare\t ");

        QVERIFY2(!focusWindow("メンテナンス").isEmpty(), "the maintenance window is shown");
        // Into the page (作成者検索), back to the tab bar, then backwards through 終了, 新規登録, the
        // password and the optional fields to 氏名.
        keys(QStringList{"Tab"} + QStringList(11, "shift+Tab"));
        type("Sato Ichiro\tSATO\t\t\t\t\t\tichiro\t ");
        const QString perUser = home.path() + "/.local/share/hanaplan/HanacareService.mdb";
        QTRY_COMPARE_WITH_TIMEOUT(DatabaseInspector(perUser).rows(QStringLiteral(
                                      "SELECT ID, 名前, ふりがな, password FROM 作成者 WHERE ID <> 7")),
                                  (QList<QVariantList>{{8, "Sato Ichiro", "SATO", "ichiro"}}), 10000);
        // The registration leaves the focus on 終了, which returns to the start window.
        keys({"space"});

        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the start window is back");
        type("8\tichiro\t ");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker("database")), 15000);
        QCOMPARE(xdotool({"search", "--onlyvisible", "--name", "^Hanaplan$"}), QString());
        startAgain(home.path());
        QCOMPARE(launcher.state(), QProcess::Running);
        QFile(marker("quit")).open(QIODevice::WriteOnly);

        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the start window is back after the run");
        type("\t\t\t\t\t\t "); // from 作成者ID to 終了
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitStatus(), QProcess::NormalExit);
        QCOMPARE(launcher.exitCode(), 0);
        const QString copy = home.path() + "/.cache/hanaplan/作業シート.xls";
        QCOMPARE(readMarker("argument"), copy);
        QCOMPARE(readMarker("database"), "free");
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(DatabaseInspector(perUser).rows("SELECT ID FROM temp"), (QList<QVariantList>{{8}}));
        const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        for (const char* folder :
             {"/.local", "/.local/share", "/.local/share/hanaplan", "/.cache", "/.cache/hanaplan"}) {
            const auto permissions = QFileInfo(home.path() + QString::fromLatin1(folder)).permissions();
            QVERIFY2((permissions &
                      ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser)) == ownerOnly,
                     folder);
        }
    }

    // With no program for .xls files the sign-in ends in the shell's message; after it the start window is
    // back and the program runs on. A second start brings the start window to the front.
    void shellFailureKeepsTheProgram()
    {
        lay(16, false);
        QProcess launcher;
        startProgram(launcher);
        const QString start = focusWindow("Hanaplan");
        QVERIFY2(!start.isEmpty(), "the start window is shown");
        type("7\tpw\t");
        keys({"Return"});
        QVERIFY2(!focusWindow("EXCELチェック").isEmpty(), "the shell's message is shown");
        keys({"Return"});
        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the start window is back");
        QTest::qWait(500);
        QCOMPARE(launcher.state(), QProcess::Running);

        QProcess other;
        QProcessEnvironment env;
        env.insert("DISPLAY", x->display);
        other.setProcessEnvironment(env);
        other.start("xmessage", {"-name", "other", "-geometry", "1000x700+0+0", "other"});
        const QString otherId = focusWindow("other");
        QVERIFY(!otherId.isEmpty());
        QVERIFY(above(otherId, start));
        startAgain();
        QTRY_VERIFY_WITH_TIMEOUT(above(start, otherId), 10000);
        other.kill();
        other.waitForFinished();

        QVERIFY(!focusWindow("Hanaplan").isEmpty());
        type("\t\t\t\t\t\t");
        keys({"Return"});
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitCode(), 0);
    }

    // A start-up that ends early: Excel refused (its message), or a master row that cannot be read (the
    // run-time error report). Each message is answered with Enter and the program ends with its status.
    void startUpEnds_data()
    {
        QTest::addColumn<int>("excelMajor");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("status");
        QTest::newRow("Excel 97") << 8 << QString() << 0;
        QTest::newRow("no live master row") << 16 << "UPDATE MST SET 削除日 = '2026-01-01'" << 1;
    }
    void startUpEnds()
    {
        QFETCH(int, excelMajor);
        QFETCH(QString, statement);
        QFETCH(int, status);
        lay(excelMajor);
        if (!statement.isEmpty())
            DatabaseInspector(install->installedDatabase()).value(statement);
        QProcess launcher;
        startProgram(launcher);
        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the message is shown");
        keys({"Return"});
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitCode(), status);
        QCOMPARE(QDir(install->localAppData()).isEmpty(), status == 0); // the database is never opened
    }
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
