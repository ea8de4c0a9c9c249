// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/RegistryStoreText.h"
#include "platform/Environment.h"
#include "platform/Shell.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
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

    void writeFile(const QString& name, const QByteArray& content, bool executable = false)
    {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size());
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                         (executable ? QFileDevice::ExeOwner : QFileDevice::Permissions()));
    }
    // Registers a program of the folder for .xls files, as the registry export writes it; none for no name.
    void registerProgram(const QString& name)
    {
        RegistryStoreText store;
        if (!name.isEmpty())
            store.xlsProgram(dir.filePath(name));
        QVERIFY(store.writeTo(dir.filePath(QStringLiteral("system.reg"))));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HANAPLAN_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("system.reg"))));
        writeFile(QStringLiteral("作業シート.xls"), "workbook");
        writeFile(QStringLiteral("sheet.sh"), "#!/bin/sh\nexit 0\n", true);
        writeFile(QStringLiteral("plain.sh"), "#!/bin/sh\nexit 0\n");
        writeFile(QStringLiteral("garbage.bin"), QByteArray(64, '\x07'), true);
    }
    void cleanupTestCase() { qunsetenv("HANAPLAN_REGISTRY"); }

    // A program of the folder registered for .xls files, the file opened, and the shell's result.
    void failures_data() { addJsonCases("shell.json", "failures", "failure"); }
    void failures()
    {
        QFETCH(QJsonValue, failure);
        registerProgram(failure["program"].toString());
        platform::RegistryShell shell(environment);
        QCOMPARE(shell.open(dir.filePath(failure["file"].toString())), failure["result"].toInt());
        shell.waitForOpenedProgram(); // nothing was started: returns at once
    }

    // The wait lasts as long as the program, however it ends, and window messages keep flowing meanwhile. The
    // program is given the file as one argument, whatever its name holds.
    void waitFollowsTheProgram_data() { addJsonCases("shell.json", "endings", "ending"); }
    void waitFollowsTheProgram()
    {
        QFETCH(QJsonValue, ending);
        writeFile(QStringLiteral("argument"), QByteArray());
        writeFile(QStringLiteral("waiting.sh"),
                  "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/argument\"\nsleep 0.4\n" +
                      ending.toString().toUtf8() + "\n",
                  true);
        registerProgram(QStringLiteral("waiting.sh"));

        platform::RegistryShell shell(environment);
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(50);
        QElapsedTimer elapsed;
        elapsed.start();
        const QString file = dir.filePath(QStringLiteral("作業 \"シート\".xls"));
        writeFile(QFileInfo(file).fileName(), "workbook");
        QCOMPARE(shell.open(file), Shell::Opened);
        shell.waitForOpenedProgram();
        QVERIFY(elapsed.elapsed() >= 350);
        QVERIFY2(ticks >= 3, "the event loop ran during the wait");
        QFile argument(dir.filePath(QStringLiteral("argument")));
        QVERIFY(argument.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(argument.readAll()), file);
    }
};

QTEST_GUILESS_MAIN(ShellTest)
#include "tst_shell.moc"
