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

class EndToEndTest : public QObject
{
    Q_OBJECT

private:
    QProcess xvfb;
    QString display; // the X server's
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<QTemporaryDir> home;

    QString marker(const QString& name) const { return install->root() + QLatin1Char('/') + name; }
    QString readMarker(const QString& name) const
    {
        QFile file(marker(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    }

    // A program of the test's display, ended after the given time; its output, trimmed. The times are
    // margins for a loaded machine (a Debug build beside other builds): a program that answers returns at
    // once.
    QString run(const QString& program, const QStringList& arguments, int milliseconds = 60000)
    {
        QProcess p;
        QProcessEnvironment env;
        env.insert("DISPLAY", display);
        p.setProcessEnvironment(env);
        p.start(program, arguments);
        if (!p.waitForFinished(milliseconds)) {
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
    // Key presses, or typing (a tab presses Tab), each followed by a pause for the program.
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

    // The installation: program, database with no creators yet, workbook and registry store with
    // Excel of the given major version, and the scripted spreadsheet registered for .xls files. The
    // spreadsheet notes its argument and whether the launcher holds the database open, then runs until
    // the test lets it end. The user's home holds nothing yet.
    void lay(int excelMajor)
    {
        install = std::make_unique<TestInstallation>();
        home = std::make_unique<QTemporaryDir>();
        QDir().mkpath(install->root() + "/run");
        const QString program = install->programFolder() + "/hanaplan";
        QFile::copy(QStringLiteral(HANAPLAN_BINARY_DIR "/src/hanaplan"), program);
        QFile(program).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        install->installDatabase("installed");
        QFile book(install->programFolder() + "/Hanaplan.xls");
        QVERIFY(book.open(QIODevice::WriteOnly) && book.write("<Workbook/>") > 0);

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

        versionpe::Options options;
        options.productVersion = {quint16(excelMajor), 0, 0, 0};
        QFile exe(marker("excel.exe"));
        QVERIFY(exe.open(QIODevice::WriteOnly) && exe.write(versionpe::writeVersionPe(options)) > 0);
        QVERIFY(RegistryStoreText()
                    .xlsProgram(script.fileName())
                    .excelFolder(install->root())
                    .writeTo(install->programFolder() + "/system.reg"));
    }

    // The program as a care office installs it: none of its variables set, and the store beside it used.
    void startProgram(QProcess& p)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"ProgramFiles", "LOCALAPPDATA", "ALLUSERSPROFILE", "HANAPLAN_REGISTRY",
                                 "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
            env.remove(QString::fromLatin1(name));
        env.insert("HOME", home->path());
        env.insert("DISPLAY", display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_RUNTIME_DIR", install->root() + "/run");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(install->programFolder() + "/hanaplan");
        QVERIFY(p.waitForStarted());
    }
    // Whether the program has ended or ends within a minute (waitForFinished() alone is false for a process
    // that ended while the test's event loop ran).
    static bool ended(QProcess& p) { return p.state() == QProcess::NotRunning || p.waitForFinished(60000); }
    // A second start ends at once, with status 0.
    void startAgain()
    {
        QProcess second;
        startProgram(second);
        QVERIFY(ended(second));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
    }

private Q_SLOTS:
    // An X server of the test's own. -noreset: a server that resets when its last client leaves refuses the
    // next program for a moment.
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("xdotool is not installed");
        xvfb.start("Xvfb",
                   {"-noreset", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QByteArray said;
        QElapsedTimer t;
        t.start();
        while (!said.contains('\n') && t.elapsed() < 10000 && xvfb.waitForReadyRead(10000))
            said += xvfb.readAllStandardOutput();
        if (said.trimmed().isEmpty())
            QSKIP("no X server (Xvfb) could be started");
        display = ":" + QString::fromLatin1(said.trimmed());
    }
    void cleanup()
    {
        install.reset();
        home.reset();
    }
    void cleanupTestCase()
    {
        xvfb.terminate();
        xvfb.waitForFinished(5000);
    }

    // The master account opens the maintenance window, and a creator registered there signs in: the
    // spreadsheet runs on the working copy, with the database free. Meanwhile the start window is hidden
    // and a second start ends at once; afterwards a second start brings the start window to the front.
    // The per-user folders are made, owner-only.
    void newUserRegistersACreatorWhoSignsIn()
    {
        lay(16);
        QProcess launcher;
        startProgram(launcher);
        const QString start = focusWindow("Hanaplan");
        QVERIFY2(!start.isEmpty(), "the start window is shown");
        type("\t\t\tmaster\thanacare\t ");
        QVERIFY2(!focusWindow("メンテナンス").isEmpty(), "the maintenance window is shown");
        // Into the page (作成者検索), back to the tab bar, then backwards through 終了, 新規登録, the
        // password and the optional fields to 氏名.
        keys(QStringList{"Tab"} + QStringList(11, "shift+Tab"));
        type("Sato Ichiro\tSATO\t\t\t\t\t\tichiro\t ");
        const QString perUser = home->path() + "/.local/share/hanaplan/HanacareService.mdb";
        QTRY_COMPARE_WITH_TIMEOUT(
            DatabaseInspector(perUser).rows("SELECT 名前, ふりがな, password FROM 作成者"),
            (QList<QVariantList>{{"Sato Ichiro", "SATO", "ichiro"}}), 30000);
        const QString id = DatabaseInspector(perUser).value("SELECT ID FROM 作成者").toString();
        keys({"space"}); // the registration leaves the focus on 終了, which returns to the start window

        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the start window is back");
        type(id + "\tichiro\t");
        keys({"Return"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker("database")), 30000);
        QCOMPARE(xdotool({"search", "--onlyvisible", "--name", "^Hanaplan$"}), QString());
        startAgain();
        QCOMPARE(launcher.state(), QProcess::Running);
        QFile(marker("quit")).open(QIODevice::WriteOnly);
        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the start window is back after the run");

        QProcess other;
        other.start("xmessage",
                    {"-display", display, "-name", "other", "-geometry", "1000x700+0+0", "other"});
        const QString otherId = focusWindow("other");
        QVERIFY(!otherId.isEmpty() && above(otherId, start));
        startAgain();
        QTRY_VERIFY_WITH_TIMEOUT(above(start, otherId), 30000);
        other.kill();
        other.waitForFinished();

        QVERIFY(!focusWindow("Hanaplan").isEmpty());
        type("\t\t\t\t\t\t "); // from 作成者ID to 終了
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitStatus(), QProcess::NormalExit);
        QCOMPARE(launcher.exitCode(), 0);
        const QString copy = home->path() + "/.cache/hanaplan/作業シート.xls";
        QCOMPARE(readMarker("argument"), copy);
        QCOMPARE(readMarker("database"), "free");
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(DatabaseInspector(perUser).rows("SELECT ID FROM temp"), (QList<QVariantList>{{id.toInt()}}));
        const auto user = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
        for (const char* folder :
             {"/.local", "/.local/share", "/.local/share/hanaplan", "/.cache", "/.cache/hanaplan"})
            QVERIFY2((QFileInfo(home->path() + folder).permissions() & ~user) ==
                         (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner),
                     folder);
    }

    // A start-up that ends early: Excel refused (its message), or a master row that cannot be read (the
    // run-time error report). The message is answered with Enter and the program ends with its status.
    void startUpEnds_data()
    {
        QTest::addColumn<int>("excelMajor");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("status");
        QTest::newRow("Excel 97") << 8 << "" << 0;
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
        // Refused before the database is opened: no per-user copy.
        QCOMPARE(QFile::exists(home->path() + "/.local/share/hanaplan/HanacareService.mdb"), status != 0);
    }
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
