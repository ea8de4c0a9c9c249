// SPDX-License-Identifier: MIT
#include "common/RegistryStoreText.h"
#include "platform/Environment.h"
#include "platform/Shell.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using platform::Shell;

// The shell stand-in: associations from the registry store, results as the shell gives them, and the wait
// for the program it started.
class ShellTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    platform::Environment environment{QStringLiteral("/nonexistent")};

    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    void writeFile(const QString& name, const QByteArray& content, bool executable)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        if (executable)
            p |= QFileDevice::ExeOwner;
        f.setPermissions(p);
    }

    // Registers a program for .xls files; the command line is written as the registry export holds it.
    void registerProgram(const QString& program)
    {
        writeFile(QStringLiteral("system.reg"), RegistryStoreText().xlsProgram(program).toUtf8(), false);
    }

    QByteArray readFile(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        qputenv("HANAPLAN_REGISTRY", path(QStringLiteral("system.reg")).toUtf8());
        writeFile(QStringLiteral("作業シート.xls"), "workbook", false);
    }
    void cleanupTestCase() { qunsetenv("HANAPLAN_REGISTRY"); }

    void failures_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("result");
        QTest::newRow("file missing")
            << QStringLiteral("sheet.sh") << QStringLiteral("none.xls") << Shell::FileNotFound;
        QTest::newRow("folder missing")
            << QStringLiteral("sheet.sh") << QStringLiteral("no/none.xls") << Shell::PathNotFound;
        QTest::newRow("no association")
            << QString() << QStringLiteral("作業シート.xls") << Shell::NoAssociation;
        QTest::newRow("program missing")
            << QStringLiteral("gone.sh") << QStringLiteral("作業シート.xls") << Shell::FileNotFound;
        QTest::newRow("not permitted")
            << QStringLiteral("plain.sh") << QStringLiteral("作業シート.xls") << Shell::AccessDenied;
        QTest::newRow("not a program")
            << QStringLiteral("garbage.bin") << QStringLiteral("作業シート.xls") << Shell::BadFormat;
    }
    void failures()
    {
        QFETCH(QString, program);
        QFETCH(QString, file);
        QFETCH(int, result);
        writeFile(QStringLiteral("sheet.sh"), "#!/bin/sh\nexit 0\n", true);
        writeFile(QStringLiteral("plain.sh"), "#!/bin/sh\nexit 0\n", false);
        writeFile(QStringLiteral("garbage.bin"), QByteArray(64, '\x07'), true);
        if (program.isEmpty())
            writeFile(QStringLiteral("system.reg"), RegistryStoreText().toUtf8(), false);
        else
            registerProgram(path(program));
        platform::RegistryShell shell(environment);
        QCOMPARE(shell.open(path(file)), result);
        shell.waitForOpenedProgram(); // nothing was started: returns at once
    }

    // The wait lasts as long as the program, however it ends, and window messages keep flowing meanwhile.
    void waitFollowsTheProgram_data()
    {
        QTest::addColumn<QByteArray>("ending");
        QTest::newRow("normal end") << QByteArray("exit 0");
        QTest::newRow("non-zero status") << QByteArray("exit 3");
        QTest::newRow("killed") << QByteArray("kill -9 $$");
    }
    void waitFollowsTheProgram()
    {
        QFETCH(QByteArray, ending);
        QFile::remove(path(QStringLiteral("argument")));
        writeFile(QStringLiteral("sheet.sh"),
                  "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/argument\"\nsleep 0.4\n" + ending +
                      "\n",
                  true);
        registerProgram(path(QStringLiteral("sheet.sh")));

        platform::RegistryShell shell(environment);
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(50);
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(shell.open(path(QStringLiteral("作業シート.xls"))), Shell::Opened);
        shell.waitForOpenedProgram();
        QVERIFY(elapsed.elapsed() >= 350);
        QVERIFY2(ticks >= 3, "the event loop ran during the wait");
        QCOMPARE(QString::fromUtf8(readFile(QStringLiteral("argument"))),
                 path(QStringLiteral("作業シート.xls")));
    }
};

QTEST_GUILESS_MAIN(ShellTest)
#include "tst_shell.moc"
