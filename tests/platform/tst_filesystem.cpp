// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <QStandardPaths>

using namespace platform;

// File operations with the runtime's error numbers, attributes, and the folders the environment gives. (A
// missing source file and a missing parent folder are met by the database location suite.)
class FileSystemTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file(const QString& name, const QByteArray& content = "data")
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return f.fileName();
    }

private Q_SLOTS:
    // Normal, hidden + system, read-only + hidden + system, read-only.
    void attributes_data()
    {
        QTest::addColumn<int>("attributes");
        for (int attributes : {0, 6, 7, 1})
            QTest::addRow("%d", attributes) << attributes;
    }
    void attributes()
    {
        QFETCH(int, attributes);
        const QString path = file(QStringLiteral("a.xls"));
        setFileAttributes(path, attributes);
        // Hidden and system are advisory: a file system without extended attributes keeps only read-only.
        const int read = fileAttributes(path);
        QVERIFY2(read == attributes || read == (attributes & FileAttribute::ReadOnly),
                 qPrintable(QString::number(read)));
        QCOMPARE(bool(QFile(path).permissions() & QFileDevice::WriteOwner),
                 !(attributes & FileAttribute::ReadOnly));
        setFileAttributes(path, FileAttribute::Normal);
        QCOMPARE(fileAttributes(path), 0);
        deleteFile(path);
        QVERIFY(!fileExists(path));
        QCOMPARE(fileAttributes(path), -1);
        HANAPLAN_VERIFY_RUNTIME_ERROR(setFileAttributes(path, 0), ErrorNumber::FileNotFound);
        QVERIFY(!trySetFileAttributes(path, 0));
    }

    void copyAndFolders()
    {
        const QString source = file(QStringLiteral("source.xls"), "workbook");
        const QString target = dir.filePath(QStringLiteral("作業シート.xls"));
        copyFile(source, target);
        QCOMPARE(QFile(target).size(), 8);
        HANAPLAN_VERIFY_RUNTIME_ERROR(copyFile(source, dir.filePath(QStringLiteral("no/such/folder/x.xls"))),
                                      ErrorNumber::PathNotFound);
        // A read-only target is refused and stays as it was.
        const QString locked = file(QStringLiteral("locked.xls"), "keep");
        setFileAttributes(locked, 7);
        HANAPLAN_VERIFY_RUNTIME_ERROR(copyFile(source, locked), ErrorNumber::PermissionDenied);
        QFile kept(locked);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep"));
        QVERIFY(!fileExists(locked + QStringLiteral(".partial")));

        const QString folder = dir.filePath(QStringLiteral("VirtualStore"));
        createFolder(folder);
        QVERIFY(folderExists(folder));
        createFolder(folder); // an existing folder is no failure
    }

    void environmentVariables()
    {
        QStandardPaths::setTestModeEnabled(true); // the user's own folders stay untouched
        const Environment env(QStringLiteral("/opt/ProgramFiles/Hanaplan"));
        qunsetenv("ProgramFiles");
        qunsetenv("LOCALAPPDATA");
        qunsetenv("ALLUSERSPROFILE");
        QCOMPARE(env.programFiles(), QStringLiteral("/opt/ProgramFiles"));
        QVERIFY(env.localAppData().endsWith(QStringLiteral("/hanaplan")));
        QVERIFY(env.allUsersProfile().endsWith(QStringLiteral("/hanaplan")));
        QVERIFY(env.localAppData() != env.allUsersProfile());

        qputenv("LOCALAPPDATA", "");
        QCOMPARE(env.localAppData(), QString()); // set, though empty: used as it is
        qunsetenv("LOCALAPPDATA");
    }
};

QTEST_GUILESS_MAIN(FileSystemTest)
#include "tst_filesystem.moc"
