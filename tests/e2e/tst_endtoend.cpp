// SPDX-License-Identifier: MIT
// The built program in a real X server (Xvfb), driven by key presses as a user drives it, with an
// installation, registry store and scripted spreadsheet of the test's own.
#include "common/RegistryStoreText.h"
#include "common/TestDatabase.h"

#include "VersionPeWriter.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kProgram = QStringLiteral(HANAPLAN_BINARY_DIR "/src/hanaplan");

// An X server of the test's own.
class XServer
{
public:
    XServer()
    {
        // -noreset: a server that resets when its last client leaves refuses the next program for a moment.
        m_process.start(QStringLiteral("Xvfb"),
                        {QStringLiteral("-noreset"), QStringLiteral("-displayfd"), QStringLiteral("1"),
                         QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24"),
                         QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray said;
        QElapsedTimer t;
        t.start();
        while (!said.contains('\n') && t.elapsed() < 10000 && m_process.waitForReadyRead(10000))
            said += m_process.readAllStandardOutput();
        if (said.trimmed().isEmpty())
            return;
        m_display = QStringLiteral(":") + QString::fromLatin1(said.trimmed());
    }
    ~XServer()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    const QString& display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XServer> x;
    std::unique_ptr<TestInstallation> install;

    QString programFolder() const { return install->programFolder(); }
    QString marker(const QString& name) const { return install->root() + QLatin1Char('/') + name; }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), x->display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), install->root() + QStringLiteral("/run"));
        env.insert(QStringLiteral("ProgramFiles"), install->programFiles());
        env.insert(QStringLiteral("LOCALAPPDATA"), install->localAppData());
        env.insert(QStringLiteral("ALLUSERSPROFILE"), install->allUsersProfile());
        env.remove(QStringLiteral("HANAPLAN_REGISTRY")); // the store beside the program is used
        return env;
    }

    // xdotool on the test's display; its output, trimmed.
    QString xdotool(const QStringList& arguments, int timeout = 15000)
    {
        QProcess p;
        QProcessEnvironment env;
        env.insert(QStringLiteral("DISPLAY"), x->display());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("xdotool"), arguments);
        if (!p.waitForFinished(timeout)) {
            p.kill();
            p.waitForFinished();
            return QString();
        }
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    // Waits for a visible top-level window of this title and gives it the keyboard.
    QString focusWindow(const QString& title)
    {
        const QString id =
            xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--name"), QStringLiteral("^%1$").arg(title)})
                .section(QLatin1Char('\n'), 0, 0);
        if (!id.isEmpty())
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
        return id;
    }
    // Whether the first window lies above the second in the stacking order (ids as xdotool gives them).
    bool above(const QString& upper, const QString& lower)
    {
        QProcess p;
        QProcessEnvironment env;
        env.insert(QStringLiteral("DISPLAY"), x->display());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
        p.waitForFinished(10000);
        const QString tree = QString::fromUtf8(p.readAllStandardOutput()); // topmost first
        const auto position = [&tree](const QString& id) {
            return tree.indexOf(QStringLiteral("0x%1 ").arg(id.toULongLong(), 0, 16));
        };
        return position(upper) >= 0 && position(lower) >= 0 && position(upper) < position(lower);
    }
    // Key presses and typing, each followed by a pause in which the program handles them.
    void keys(const QStringList& sequence)
    {
        xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} +
                sequence);
        QTest::qWait(200);
    }
    void type(const QString& text)
    {
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
        QTest::qWait(200);
    }

    // The installation: program, database, workbook and registry store with Excel of the given major
    // version (0: no Excel; -1: an Excel program file without version information), and the scripted
    // spreadsheet registered for .xls files unless told otherwise.
    void lay(int excelMajor, bool xlsAssociation = true)
    {
        install = std::make_unique<TestInstallation>();
        QDir().mkpath(install->root() + QStringLiteral("/run"));
        QFile::copy(kProgram, programFolder() + QStringLiteral("/hanaplan"));
        QFile(programFolder() + QStringLiteral("/hanaplan"))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        install->installDatabase(QStringLiteral("installed"));
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("INSERT INTO 作成者 (ID, 名前, ふりがな, password) VALUES (7, '山田花子', "
                                  "'ヤマダハナコ', 'pw')"));
        QFile book(programFolder() + QStringLiteral("/Hanaplan.xls"));
        QVERIFY(book.open(QIODevice::WriteOnly));
        book.write("<?xml version=\"1.0\"?><Workbook/>");
        book.close();

        // The spreadsheet: records its argument and whether the launcher holds the database open, then runs
        // until the test lets it end.
        const QString sheet = install->root() + QStringLiteral("/sheet.sh");
        QFile script(sheet);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            QStringLiteral("#!/bin/sh\n"
                           "cd \"%1\"\n"
                           "printf '%s' \"$1\" > argument\n"
                           "if ls -l /proc/$PPID/fd 2>/dev/null | grep -q HanacareService.mdb; then echo "
                           "held; else echo free; fi > database\n"
                           "n=0; while [ ! -e quit ] && [ $n -lt 300 ]; do sleep 0.1; n=$((n+1)); done\n"
                           "exit 0\n")
                .arg(install->root())
                .toUtf8());
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        RegistryStoreText store;
        store.displayVersion(QStringLiteral("1.1.4.0"));
        if (xlsAssociation)
            store.xlsProgram(sheet);
        if (excelMajor != 0) {
            const QString folder = install->root() + QStringLiteral("/Excel");
            QDir().mkpath(folder);
            versionpe::Options options;
            options.productVersion = {quint16(qMax(excelMajor, 1)), 0, 0, 0};
            options.versionResource = excelMajor > 0;
            QFile exe(folder + QStringLiteral("/excel.exe"));
            QVERIFY(exe.open(QIODevice::WriteOnly));
            exe.write(versionpe::writeVersionPe(options));
            store.excelFolder(folder);
        }
        QVERIFY(store.writeTo(programFolder() + QStringLiteral("/system.reg")));
    }

    // Whether the program has ended or ends within 15 s (waitForFinished() alone is false for a process
    // that ended while the test's event loop ran).
    static bool ended(QProcess& p) { return p.state() == QProcess::NotRunning || p.waitForFinished(15000); }

    void startProgram(QProcess& p)
    {
        p.setProcessEnvironment(environment());
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(programFolder() + QStringLiteral("/hanaplan"));
        QVERIFY(p.waitForStarted());
    }

private Q_SLOTS:
    void initTestCase()
    {
        x = std::make_unique<XServer>();
        if (x->display().isEmpty())
            QSKIP("no X server (Xvfb) could be started");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
    }
    void cleanup() { install.reset(); }
    void cleanupTestCase() { x.reset(); }

    void creatorSignInRunsTheSpreadsheet()
    {
        lay(16);
        QProcess launcher;
        startProgram(launcher);
        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the start window is shown");
        // A wrong password first: its message, and the program goes on with the ID kept.
        type(QStringLiteral("7"));
        keys({QStringLiteral("Tab")});
        type(QStringLiteral("PW"));
        keys({QStringLiteral("Tab"), QStringLiteral("space")});
        QVERIFY2(!focusWindow(QStringLiteral("計画書作成")).isEmpty(), "the wrong-password message is shown");
        keys({QStringLiteral("Return")});
        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the start window is back");
        QCOMPARE(launcher.state(), QProcess::Running);
        keys({QStringLiteral("shift+Tab")});
        type(QStringLiteral("pw"));
        keys({QStringLiteral("Tab"), QStringLiteral("space")});

        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker(QStringLiteral("database"))), 15000);
        // While the spreadsheet runs: the start window is hidden, and a second copy ends at once.
        QCOMPARE(xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                          QStringLiteral("^Hanaplan$")}),
                 QString());
        QProcess second;
        startProgram(second);
        QVERIFY(ended(second));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(launcher.state(), QProcess::Running);

        QFile(marker(QStringLiteral("quit"))).open(QIODevice::WriteOnly);
        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the start window is back");
        // The focus is in 作成者ID; 終了 is six steps on.
        keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
              QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("space")});
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitCode(), 0);

        QFile argument(marker(QStringLiteral("argument")));
        QVERIFY(argument.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(argument.readAll()),
                 install->allUsersProfile() + QStringLiteral("/作業シート.xls"));
        QFile database(marker(QStringLiteral("database")));
        QVERIFY(database.open(QIODevice::ReadOnly));
        QCOMPARE(database.readAll().trimmed(), QByteArray("free"));
        QVERIFY(!QFile::exists(install->allUsersProfile() + QStringLiteral("/作業シート.xls")));
        // Newer Windows (the store names none): the per-user copy holds the hand-off row.
        const QString perUser = install->localAppData() + QStringLiteral("/HanacareService.mdb");
        QCOMPARE(DatabaseInspector(perUser).rows(QStringLiteral("SELECT ID FROM temp")),
                 (QList<QVariantList>{{7}}));
    }

    // Installed as a care office installs it: none of the program's variables set, and a new user whose
    // home holds nothing yet. The per-user folders are made, owner-only, and a creator signs in.
    void defaultsWithNoVariables()
    {
        lay(16);
        QTemporaryDir home;
        QProcessEnvironment env = environment();
        for (const char* name : {"ProgramFiles", "LOCALAPPDATA", "ALLUSERSPROFILE", "XDG_DATA_HOME",
                                 "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), home.path());
        QProcess launcher;
        launcher.setProcessEnvironment(env);
        launcher.setProcessChannelMode(QProcess::ForwardedChannels);
        launcher.start(programFolder() + QStringLiteral("/hanaplan"));
        QVERIFY(launcher.waitForStarted());

        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the start window is shown");
        type(QStringLiteral("7"));
        keys({QStringLiteral("Tab")});
        type(QStringLiteral("pw"));
        keys({QStringLiteral("Tab"), QStringLiteral("Return")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker(QStringLiteral("database"))), 15000);
        QFile(marker(QStringLiteral("quit"))).open(QIODevice::WriteOnly);
        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the start window is back");
        keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
              QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Return")});
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitCode(), 0);

        QFile argument(marker(QStringLiteral("argument")));
        QVERIFY(argument.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(argument.readAll()),
                 home.path() + QStringLiteral("/.cache/hanaplan/作業シート.xls"));
        const QString perUser = home.path() + QStringLiteral("/.local/share/hanaplan/HanacareService.mdb");
        QCOMPARE(DatabaseInspector(perUser).rows(QStringLiteral("SELECT ID FROM temp")),
                 (QList<QVariantList>{{7}}));
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
    // back and the program runs on. Buttons pressed with Enter. A second start brings the start window
    // to the front.
    void shellFailureKeepsTheProgram()
    {
        lay(16, false);
        QProcess launcher;
        startProgram(launcher);
        const QString start = focusWindow(QStringLiteral("Hanaplan"));
        QVERIFY2(!start.isEmpty(), "the start window is shown");
        type(QStringLiteral("7"));
        keys({QStringLiteral("Tab")});
        type(QStringLiteral("pw"));
        keys({QStringLiteral("Tab"), QStringLiteral("Return")});
        QVERIFY2(!focusWindow(QStringLiteral("EXCELチェック")).isEmpty(), "the shell's message is shown");
        keys({QStringLiteral("Return")});
        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the start window is back");
        QTest::qWait(500);
        QCOMPARE(launcher.state(), QProcess::Running);
        QVERIFY(!QFile::exists(install->allUsersProfile() + QStringLiteral("/作業シート.xls")));

        // Another window lies above it; starting the program again brings the start window to the front.
        QProcess other;
        QProcessEnvironment env;
        env.insert(QStringLiteral("DISPLAY"), x->display());
        other.setProcessEnvironment(env);
        other.start(QStringLiteral("xmessage"),
                    {QStringLiteral("-name"), QStringLiteral("other"), QStringLiteral("-geometry"),
                     QStringLiteral("1000x700+0+0"), QStringLiteral("other")});
        const QString otherId = focusWindow(QStringLiteral("other"));
        QVERIFY(!otherId.isEmpty());
        QVERIFY(above(otherId, start));
        QProcess second;
        startProgram(second);
        QVERIFY(ended(second));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(above(start, otherId), 10000);
        other.kill();
        other.waitForFinished();
        QVERIFY(!focusWindow(QStringLiteral("Hanaplan")).isEmpty());

        // The focus is in 作成者ID; 終了 is six steps on.
        keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
              QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Return")});
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitStatus(), QProcess::NormalExit);
        QCOMPARE(launcher.exitCode(), 0);
    }

    // The master account opens the maintenance window; a creator registered there signs in at once.
    void registeredCreatorSignsIn()
    {
        lay(16);
        QProcess launcher;
        startProgram(launcher);
        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the start window is shown");
        keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab")});
        type(QStringLiteral("master"));
        keys({QStringLiteral("Tab")});
        type(QStringLiteral("hanacare"));
        keys({QStringLiteral("Tab"), QStringLiteral("space")});

        QVERIFY2(!focusWindow(QStringLiteral("メンテナンス")).isEmpty(), "the maintenance window is shown");
        // Into the page (作成者検索), back to the tab bar, then backwards through 終了, 新規登録, the
        // password and the optional fields to 氏名.
        keys({QStringLiteral("Tab")});
        QStringList back;
        for (int i = 0; i < 11; ++i)
            back << QStringLiteral("shift+Tab");
        keys(back);
        type(QStringLiteral("Sato Ichiro"));
        keys({QStringLiteral("Tab")});
        type(QStringLiteral("SATO"));
        keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
              QStringLiteral("Tab"), QStringLiteral("Tab")});
        type(QStringLiteral("ichiro"));
        keys({QStringLiteral("Tab"), QStringLiteral("space")});

        const QString perUser = install->localAppData() + QStringLiteral("/HanacareService.mdb");
        QTRY_COMPARE_WITH_TIMEOUT(
            DatabaseInspector(perUser).value(QStringLiteral("SELECT count(*) FROM 作成者")).toInt(), 2,
            10000);
        const auto added = DatabaseInspector(perUser).rows(
            QStringLiteral("SELECT ID, 名前, ふりがな, password FROM 作成者 WHERE ID <> 7"));
        QCOMPARE(added.size(), 1);
        QCOMPARE(added[0].mid(1), (QVariantList{QStringLiteral("Sato Ichiro"), QStringLiteral("SATO"),
                                                QStringLiteral("ichiro")}));
        const int id = added[0][0].toInt();
        QCOMPARE(id, 8);
        // The registration leaves the focus on 終了, which returns to the start window.
        keys({QStringLiteral("space")});

        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the start window is back");
        type(QString::number(id));
        keys({QStringLiteral("Tab")});
        type(QStringLiteral("ichiro"));
        keys({QStringLiteral("Tab"), QStringLiteral("space")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker(QStringLiteral("database"))), 15000);
        QFile(marker(QStringLiteral("quit"))).open(QIODevice::WriteOnly);
        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(),
                 "the start window is back after the run");
        keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
              QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("space")});
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitCode(), 0);
        QCOMPARE(DatabaseInspector(perUser).rows(QStringLiteral("SELECT ID FROM temp")),
                 (QList<QVariantList>{{id}}));
    }

    // Each unusable Excel ends the start-up with its message; the database is never opened.
    void excelRefused_data()
    {
        QTest::addColumn<int>("major");
        QTest::newRow("no Excel") << 0;
        QTest::newRow("no version information") << -1;
        QTest::newRow("Excel 5") << 5;
        QTest::newRow("Excel 95") << 7;
        QTest::newRow("Excel 97") << 8;
    }
    void excelRefused()
    {
        QFETCH(int, major);
        lay(major);
        QProcess launcher;
        startProgram(launcher);
        QVERIFY2(!focusWindow(QStringLiteral("Hanaplan")).isEmpty(), "the check's message is shown");
        keys({QStringLiteral("Return")});
        QVERIFY(ended(launcher));
        QCOMPARE(launcher.exitCode(), 0);
        QVERIFY(QDir(install->localAppData()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
