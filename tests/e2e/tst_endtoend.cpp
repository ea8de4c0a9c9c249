// SPDX-License-Identifier: MIT
// The built program in an X server (Xvfb) of its own, driven by key presses as a user drives it: what only
// the whole program shows, the real shell and message boxes, a second start, the exit status.
#include "common/JsonCases.h"
#include "common/RegistryStoreText.h"
#include "common/TestDatabase.h"

#include "VersionPeWriter.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class EndToEndTest : public QObject
{
    Q_OBJECT

    QProcess xvfb;
    QString display; // the X server's
    std::unique_ptr<TestInstallation> install;

    QString path(const QString& name) const { return install->root() + QLatin1Char('/') + name; }
    static void write(const QString& file, const QByteArray& content)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
    }

    // A program on the test's display, ended after a minute (a margin for a loaded machine); its output.
    QString run(const QString& program, const QStringList& arguments)
    {
        QProcess p;
        p.setEnvironment({"DISPLAY=" + display});
        p.start(program, arguments);
        p.waitForFinished(60000); // one still running then is killed as p goes
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    // Waits for a visible top-level window of this title and gives it the keyboard; its id.
    QString focusWindow(const QString& title)
    {
        const QString id = run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^" + title + "$"})
                               .section(QLatin1Char('\n'), 0, 0);
        if (!id.isEmpty())
            run("xdotool", {"windowfocus", "--sync", id});
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
    // Key presses ("key", names...) or typing ("type", text), then a pause for the program.
    void input(const QString& how, const QStringList& what)
    {
        run("xdotool", QStringList{how, "--delay", "40"} + what);
        QTest::qWait(200);
    }

    // The installation (no creators yet, Excel of the major version, an empty home) and a spreadsheet that
    // notes in "ran" its argument and whether the database is held open, then waits for the test's "quit".
    void lay(int excelMajor)
    {
        install = std::make_unique<TestInstallation>();
        QDir().mkdir(path("home"));
        // Owner-only, or Qt passes over it for a runtime folder that every test on the machine shares.
        QDir().mkdir(path("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString program = install->programFolder() + "/hanaplan";
        QFile::copy(QStringLiteral(HANAPLAN_BINARY_DIR "/src/hanaplan"), program);
        QFile(program).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        install->installDatabase("installed");
        write(install->programFolder() + "/Hanaplan.xls", "<Workbook/>");
        write(path("sheet.sh"),
              "#!/bin/sh\ncd \"$(dirname \"$0\")\"\n{ printf '%s ' \"$1\"; if ls -l /proc/$PPID/fd "
              "2>/dev/null | grep -q HanacareService.mdb; then echo held; else echo free; fi; } > ran\n"
              "n=0; while [ ! -e quit ] && [ $n -lt 300 ]; do sleep 0.1; n=$((n+1)); done\n");
        QFile(path("sheet.sh")).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        write(path("excel.exe"),
              versionpe::writeVersionPe({.productVersion = {quint16(excelMajor), 0, 0, 0}}));
        const QString store = install->programFolder() + "/system.reg";
        QVERIFY(RegistryStoreText().xlsProgram(path("sheet.sh")).excelFolder(install->root()).writeTo(store));
    }

    // The program as a care office installs it: none of its variables set, and the store beside it used.
    void startProgram(QProcess& p)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"ProgramFiles", "LOCALAPPDATA", "ALLUSERSPROFILE", "HANAPLAN_REGISTRY",
                                 "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
            env.remove(QString::fromLatin1(name));
        env.insert("HOME", path("home"));
        env.insert("DISPLAY", display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_RUNTIME_DIR", path("run"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(install->programFolder() + "/hanaplan");
        QVERIFY(p.waitForStarted());
    }
    // The program has ended or ends within a minute (waitForFinished() alone is false for a process that
    // ended while the test's event loop ran), with the status.
    static void expectEnd(QProcess& p, int status)
    {
        QVERIFY(p.state() == QProcess::NotRunning || p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), status);
    }
    // A second start ends at once, with status 0.
    void startAgain()
    {
        QProcess second;
        startProgram(second);
        expectEnd(second, 0);
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
        while (!said.contains('\n') && xvfb.waitForReadyRead(10000))
            said += xvfb.readAllStandardOutput();
        if (said.trimmed().isEmpty())
            QSKIP("no X server (Xvfb) could be started");
        display = ":" + QString::fromLatin1(said.trimmed());
    }
    void cleanupTestCase()
    {
        xvfb.terminate();
        xvfb.waitForFinished(5000);
    }

    // A creator registered in the maintenance window signs in: the spreadsheet runs on the working copy with
    // the database free, the start window hidden and a second start ending at once; afterwards a second
    // start brings the start window to the front. The per-user folders are owner-only.
    void newUserRegistersACreatorWhoSignsIn()
    {
        lay(16);
        QProcess launcher;
        startProgram(launcher);
        const QString start = focusWindow("Hanaplan");
        QVERIFY2(!start.isEmpty(), "the start window is shown");
        input("type", {"\t\t\tmaster\thanacare\t "});
        QVERIFY2(!focusWindow("メンテナンス").isEmpty(), "the maintenance window is shown");
        // Into the page (作成者検索), back to the tab bar, then backwards through 終了, 新規登録, the
        // password and the optional fields to 氏名.
        input("key", QStringList{"Tab"} + QStringList(11, "shift+Tab"));
        input("type", {"Sato Ichiro\tSATO\t\t\t\t\t\tichiro\t "});
        const QString perUser = path("home/.local/share/hanaplan/HanacareService.mdb");
        QTRY_COMPARE_WITH_TIMEOUT(
            DatabaseInspector(perUser).rows("SELECT 名前, ふりがな, password FROM 作成者"),
            (QList<QVariantList>{{"Sato Ichiro", "SATO", "ichiro"}}), 30000);
        const QString id = DatabaseInspector(perUser).value("SELECT ID FROM 作成者").toString();
        // The registration leaves the focus on 終了, which returns to the start window.
        input("key", {"space"});

        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the start window is back");
        input("type", {id + "\tichiro\t"});
        input("key", {"Return"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path("ran")), 30000);
        startAgain();
        QCOMPARE(launcher.state(), QProcess::Running);
        write(path("quit"), {});
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
        input("type", {"\t\t\t\t\t\t "}); // from 作成者ID to 終了
        expectEnd(launcher, 0);
        const QString copy = path("home/.cache/hanaplan/作業シート.xls");
        QFile ran(path("ran"));
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(ran.readAll()), copy + " free\n");
        const auto user = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
        for (auto folder : {".local", ".local/share", ".local/share/hanaplan", ".cache", ".cache/hanaplan"})
            QVERIFY2((QFileInfo(path("home/") + folder).permissions() & ~user) ==
                         (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner),
                     folder);
    }

    // Excel refused, or a master row that cannot be read: the message is answered, the program ends.
    void startUpEnds_data() { addJsonCases("launcher.json", "endToEndStartUps", "startUp"); }
    void startUpEnds()
    {
        QFETCH(QJsonValue, startUp);
        lay(startUp["excelMajor"].toInt());
        if (startUp["change"].isString())
            DatabaseInspector(install->installedDatabase()).value(startUp["change"].toString());
        QProcess launcher;
        startProgram(launcher);
        QVERIFY2(!focusWindow("Hanaplan").isEmpty(), "the message is shown");
        input("key", {"Return"});
        expectEnd(launcher, startUp["status"].toInt());
    }
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
