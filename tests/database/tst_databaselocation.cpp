// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/EngineFailure.h"
#include "database/Transaction.h"
#include "platform/FileSystem.h"

constexpr char kCases[] = "databaselocation.json";

// Where the database file is found, the per-user copy, the connection string and failures to open it.
class DatabaseLocationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramFixture> f;

    // A new program on the given Windows and virtualised folder, which opens its database.
    DatabaseState& openFresh(double code, const QString& store)
    {
        f->program = f->install.makeMain(code);
        f->program->database.VirtualStorePath = store;
        openDatabase();
        return f->program->database;
    }
    void openDatabase() { OpenDatabase(f->program->database, f->program->services.environment); }
    QString masterId() const
    {
        f->rs().open("MST WHERE 削除日 IS NULL AND ID = 1", f->db());
        const QString id = f->rs().field("masterID").toString();
        f->rs().release();
        return id;
    }
    // Runs what must fail with an engine error, and checks the report a user reads: the number, a Japanese
    // sentence first, the database file's full path, and (unless the program refused the file itself) the
    // engine's own text on the last line.
    static void verifyEngineFailure(const std::function<void()>& run, int number, const QString& sentence,
                                    const QString& file, bool engineText = true)
    {
        RuntimeError error(0, "no run-time error");
        try {
            run();
        } catch (const RuntimeError& thrown) {
            error = thrown;
        }
        const QStringList lines = error.description().split(QLatin1Char('\n'));
        QCOMPARE(error.number(), number);
        QVERIFY2(lines.size() == (engineText ? 3 : 2), qPrintable(error.description()));
        QVERIFY2(engineText ? lines[0].startsWith(sentence) : lines[0] == sentence, qPrintable(lines[0]));
        QCOMPARE(lines[1], "ファイル: " + QDir::toNativeSeparators(file));
        QVERIFY2(!engineText || (!lines[2].isEmpty() && lines[2].at(0).unicode() < 0x80),
                 qPrintable(lines.last()));
    }

private Q_SLOTS:
    void init() { f = std::make_unique<ProgramFixture>(); }
    void cleanup() { f.reset(); }

    // Older Windows use the installed file in place; newer ones a per-user copy made once from it, in the
    // virtualised folder or else in the local application data (where a file of no bytes is made anew). A
    // missing installed file or folder fails the open, leaving no half file and no file the engine made.
    void whereTheFileLies_data() { addJsonCases(kCases, "whereTheFileLies", "place"); }
    void whereTheFileLies()
    {
        QFETCH(QJsonValue, place); // {"code", "store", "failure"}
        const double code = place["code"].toDouble();
        const QString virtualStore = place["store"].toString();
        if (place["failure"].isDouble()) {
            if (virtualStore.isEmpty())
                QFile::remove(f->install.installedDatabase());
            HANAPLAN_VERIFY_RUNTIME_ERROR(openFresh(code, virtualStore), place["failure"].toInt());
            QVERIFY(QDir(f->install.localAppData()).isEmpty());
            QCOMPARE(QFileInfo::exists(f->install.installedDatabase()), !virtualStore.isEmpty());
            return;
        }
        const bool perUser = code > 2100;
        const QString folder = perUser ? f->install.localAppData() + virtualStore
                                       : f->install.programFiles() + QStringLiteral("\\Hanaplan");
        const QString file = platform::nativePath(folder) + "/HanacareService.mdb";
        if (perUser && virtualStore.isEmpty())
            QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        else if (perUser) // the program makes the last level
            QVERIFY(QDir().mkpath(QFileInfo(platform::nativePath(folder)).path()));
        // The installed file may be readable by all; a copy, which holds passwords, by its owner only.
        const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        const QFileDevice::Permissions readable = QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QFile(f->install.installedDatabase()).setPermissions(owner | readable);
        DatabaseState& database = openFresh(code, virtualStore);
        QCOMPARE(database.ConnectionString, "Driver=Microsoft Access Driver (*.mdb);DBQ=" + folder +
                                                "\\HanacareService.mdb;Password=tovelo37&pirake;");
        QCOMPARE(f->db().databaseFile(), QDir::toNativeSeparators(file));
        QCOMPARE(f->db().engine(), DbConnection::Engine::Embedded);
        // The copy is hidden and system on Windows, so the look counts such files too.
        QCOMPARE(QDir(f->install.localAppData())
                     .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 !perUser);
        // Not on Windows, where the user's own folder keeps others out and permission bits tell nothing.
        if (QSysInfo::productType() != "windows")
            QCOMPARE(QFile(file).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                     owner | (perUser ? QFileDevice::Permissions() : readable));
        // Hidden and system (6) as far as the file system keeps such attributes, which a probe shows.
        const QString probe = f->install.root() + "/probe";
        QFile(probe).open(QIODevice::WriteOnly);
        platform::setFileAttributes(probe, perUser ? 6 : 0);
        QCOMPARE(platform::fileAttributes(file), platform::fileAttributes(probe));

        // The program works on its file: a copy leaves the installed file as it was, and a newer installed
        // file never replaces it. A second open replaces both objects even without a close between.
        f->rs().open("MST", f->db());
        f->rs().setField("masterID", "changed");
        f->rs().release();
        QCOMPARE(f->sql("SELECT masterID FROM MST").toString(), perUser ? "master" : "changed");
        if (perUser)
            f->sql("UPDATE MST SET masterID = 'newer seed'");
        f->rs().setCursorLocation(SharedRecordset::ClientSideCursor);
        openDatabase();
        QCOMPARE(f->rs().cursorLocation(), SharedRecordset::ServerSideCursor);
        QCOMPARE(masterId(), "changed");
        CloseDatabase(database);
        QVERIFY(!database.DbConnection && !database.SharedRecordset);
    }

    // The engine follows the file's first bytes ("write" without "at": the text so many times is the whole
    // file): Jet's or ACE's is an Access database, opened through ODBC on Windows and refused by name
    // elsewhere; anything else but SQLite's (no bytes too) is a damaged file. A missing table or column, or a
    // text written over the file at an offset: the open or a statement after it fails with the engine's code.
    void engineFailures_data() { addJsonCases(kCases, "engineFailures", "failure"); }
    void engineFailures()
    {
        QFETCH(QJsonValue, failure);
        f = std::make_unique<ProgramFixture>("installed", failure["sql"].toVariant().toStringList());
        const QString file = f->install.installedDatabase();
        if (const QJsonValue write = failure["write"]; write.isObject()) {
            QFile data(file);
            const QByteArray bytes = write["text"].toString().toUtf8().repeated(write["times"].toInt());
            QVERIFY(data.open(write["at"].isDouble() ? QIODevice::ReadWrite
                                                     : QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(data.seek(write["at"].toInt()) && data.write(bytes) == bytes.size());
        }
#ifdef Q_OS_WIN
        if (failure["access"].toBool()) { // no Access driver is registered here: ODBC fails the open
            HANAPLAN_VERIFY_RUNTIME_ERROR(f->open(), ErrorNumber::ProviderError);
            QCOMPARE(f->db().engine(), DbConnection::Engine::AccessOdbc);
            return;
        }
#endif
        verifyEngineFailure(
            [&] {
                f->open();
                if (failure["statement"].isString())
                    f->rs().open(failure["statement"].toString(), f->db());
            },
            failure["number"].toInt(), failure["sentence"].toString(), file, !failure["access"].toBool());
    }

    // Another connection's lock fails the open, and a commit (as a full disk at the commit would), which
    // takes the save back; once released, the file opens. A read-only per-user copy is read, but a write to
    // it fails and writes nothing.
    void fileInUseOrReadOnly()
    {
        const QString file = f->install.installedDatabase();
        const QString busy = "データベースファイルは他のプログラムが使用中です。";
        const DatabaseInspector other(file);
        other.value("BEGIN EXCLUSIVE");
        verifyEngineFailure([&] { f->open(); }, 5, busy, file);
        other.value("ROLLBACK");
        f->open();
        {
            Transaction save(f->db(), f->rs());
            f->rs().open("MST", f->db());
            f->rs().setField("ruling", 1);
            f->rs().release();
            other.value("BEGIN");
            other.value("SELECT ruling FROM MST");
            verifyEngineFailure([&] { save.commit(); }, 5, busy, file);
        }
        other.value("ROLLBACK");
        QCOMPARE(other.value("SELECT ruling FROM MST").toInt(), 0);

        f->open(3000);
        CloseDatabase(f->program->database);
        const QString copy = f->install.localAppData() + "/HanacareService.mdb";
        platform::setFileAttributes(copy, platform::FileAttribute::ReadOnly);
        f->open(3000);
        QCOMPARE(masterId(), "master");
        f->rs().open("MST", f->db());
        f->rs().setField("ruling", 1);
        verifyEngineFailure([&] { f->rs().update(); }, 8, "データベースファイルが読み取り専用のため", copy);
        f->rs().discard();
        CloseDatabase(f->program->database);
        QCOMPARE(DatabaseInspector(copy).value("SELECT ruling FROM MST").toInt(), 0);
        // A full disk cannot be made here; its code reads as such.
        QVERIFY(DescribeEngineFailure(13, "database or disk is full", QString())
                    .startsWith("ディスクの空き容量が足りない"));
    }
};

QTEST_GUILESS_MAIN(DatabaseLocationTest)
#include "tst_databaselocation.moc"
