// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "viewer/WorkbookData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// What the stand-in spreadsheet reads from the database, on real database files.
class WorkbookDataTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;

    // Every value read, by the name the viewer's window gives it; a period as "item|method", a list as
    // "list|filter|sort|order", with "|削除済み" when its row is deleted.
    static QMap<QString, QString> values(const WorkbookData& data)
    {
        QMap<QString, QString> out{
            {"ID", data.creatorId},     {"名前", data.creatorName},    {"ふりがな", data.creatorReading},
            {"注意", data.creatorNote}, {"敬称", data.honorific},      {"罫線", data.ruledLines},
            {"説明文表示", data.stamp}, {"説明文", data.stampSentence}};
        for (const PeriodSetting& p : data.periods)
            out.insert(QStringLiteral("期間 %1").arg(p.id), p.item + QLatin1Char('|') + p.method);
        for (const ListSetting& l : data.lists)
            out.insert(QStringLiteral("一覧 %1").arg(l.id),
                       QStringList{l.list, l.filter, l.sort, l.order}.join(QLatin1Char('|')) +
                           (l.deleted ? QStringLiteral("|削除済み") : QString()));
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qunsetenv("HANAPLAN_REGISTRY");
        qunsetenv("HANAPLAN_PROGRAM_FOLDER");
    }
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

    // Each case of tests/data/viewer/workbook-data.json: statements run on the installed database, then
    // the values read that the case names. The three periods and sixteen lists are always there, and every
    // result is released.
    void reads_data()
    {
        QTest::addColumn<QJsonObject>("read");
        QFile file(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/viewer/workbook-data.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (const QJsonValue& read : QJsonDocument::fromJson(file.readAll()).array())
            QTest::newRow(qPrintable(read[QStringLiteral("case")].toString())) << read.toObject();
    }
    void reads()
    {
        QFETCH(QJsonObject, read);
        for (const QJsonValue& statement : read[QStringLiteral("sql")].toArray())
            program->DbConnection->execute(statement.toString());
        const QMap<QString, QString> found = values(ReadWorkbookData(*program));
        QCOMPARE(found.size(), 8 + 3 + 16);
        const QJsonObject expected = read[QStringLiteral("expect")].toObject();
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(it.key() + QLatin1String(": ") + found.value(it.key(), QStringLiteral("<none>")),
                     it.key() + QLatin1String(": ") + it.value().toString());
        QVERIFY(!program->SharedRecordset->isOpen());
        QCOMPARE(program->SharedRecordset->filter(), QString());
    }

    void missingTableIsARuntimeErrorAndTheDatabaseIsClosed()
    {
        // The installed file loses a table; the per-user copy is made from it on the first load.
        program->DbConnection->execute(QStringLiteral("DROP TABLE temp"));
        CloseDatabase(*program);
        HANAPLAN_VERIFY_RUNTIME_ERROR(LoadWorkbookData(*program), 1);
        QVERIFY(QFileInfo::exists(install->localAppData() + QStringLiteral("/HanacareService.mdb")));
        QVERIFY(!program->DbConnection);
        QVERIFY(!program->SharedRecordset);
    }

    void loadFindsTheDatabaseAsTheLauncherDoes()
    {
        CloseDatabase(*program);
        // NT 10.0 (no store): the per-user copy below the virtualised folder, made from the installed file.
        QVERIFY(QDir(install->localAppData()).mkpath(QStringLiteral("VirtualStore/Program Files/Hanaplan")));
        const QString copy = install->localAppData() +
                             QStringLiteral("/VirtualStore/Program Files/Hanaplan/HanacareService.mdb");
        TestInstallation::copyFixture(QStringLiteral("installed"), copy);
        DatabaseInspector(copy).value(QStringLiteral(
            "INSERT INTO 作成者 (名前, ふりがな, password) VALUES ('個人用', 'こじんよう', 'a')"));
        DatabaseInspector(copy).value(QStringLiteral("INSERT INTO temp (ID) VALUES (1)"));

        auto fresh = install->makeMain(0);
        const WorkbookData data = LoadWorkbookData(*fresh);
        QVERIFY(fresh->WindowsVersionCode > 2100);
        QCOMPARE(fresh->VirtualStorePath, QStringLiteral("\\VirtualStore\\Program Files\\Hanaplan"));
        QCOMPARE(data.creatorName, QStringLiteral("個人用"));
        // Closed before the window shows: no connection is left, and another process may write at once.
        QVERIFY(!fresh->DbConnection);
        QVERIFY(!fresh->SharedRecordset);
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(copy);
            other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            QVERIFY(other.open());
            QSqlQuery query(other);
            QVERIFY2(query.exec(QStringLiteral("BEGIN EXCLUSIVE")), qPrintable(query.lastError().text()));
            QVERIFY(query.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    void programFolder()
    {
        qputenv("HANAPLAN_PROGRAM_FOLDER", "/opt/hanaplan");
        QCOMPARE(ViewerProgramFolder(QStringLiteral("/usr/lib/viewer")), QStringLiteral("/opt/hanaplan"));
        qunsetenv("HANAPLAN_PROGRAM_FOLDER");
        QCOMPARE(ViewerProgramFolder(QStringLiteral("/usr/lib/viewer")),
                 install->programFiles() + QStringLiteral("/Hanaplan"));
        qunsetenv("ProgramFiles");
        QCOMPARE(ViewerProgramFolder(QStringLiteral("/usr/lib/viewer")), QStringLiteral("/usr/lib/viewer"));
    }
};

QTEST_GUILESS_MAIN(WorkbookDataTest)
#include "tst_workbookdata.moc"
