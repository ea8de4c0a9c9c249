// SPDX-License-Identifier: MIT
// The upgrade of the oldest schema form with 20,000 利用者 and 5,000 事業者 rows: the program's upgrade
// (seconds, peak memory of a process that does nothing else) beside the sqlite3 program running the same
// table changes and conversions written as plain SQL in one transaction.
#include "BenchSupport.h"

#include "database/Database.h"
#include "database/DatabaseState.h"
#include "database/SchemaUpgrade.h"
#include "platform/Environment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRecipients = 20000;
constexpr int kProviders = 5000;
constexpr int kRounds = 5;

const char* const kRecipientColumns[] = {
    "郵便番号保険証 VARCHAR(8)",
    "住所保険証 VARCHAR(255)",
    "名前請求先 VARCHAR(100)",
    "フリガナ請求先 VARCHAR(100)",
    "郵便番号請求先 VARCHAR(8)",
    "住所請求先 VARCHAR(255)",
    "電話請求先 VARCHAR(20)",
    "携帯電話請求先 VARCHAR(20)",
    "fax請求先 VARCHAR(20)",
    "保険者名 VARCHAR(50)",
    "届出日 Datetime",
    "開始日 Datetime",
    "中止日 Datetime",
    "中止理由 Text",
    "給付率 Double",
    "利用上限額 Integer",
    "自己負担上限額 Integer",
    "email VARCHAR(255)",
    "健康保険保険者番号 VARCHAR(20)",
    "健康保険保険証記号 VARCHAR(20)",
    "健康保険保険証番号 VARCHAR(20)",
    "健康保険負担割合 Double",
    "健康保険本人支払額 VARCHAR(20)",
    "老人保険市町村番号 VARCHAR(20)",
    "老人保険受給者番号 VARCHAR(20)",
    "生活保護負担者番号 VARCHAR(20)",
    "生活保護受給者番号 VARCHAR(20)",
    "生活保護本人支払額 VARCHAR(20)",
    "公費負担名称1 VARCHAR(20)",
    "負担者番号1 VARCHAR(20)",
    "受給者番号1 VARCHAR(20)",
    "本人支払額1 VARCHAR(20)",
    "公費負担名称2 VARCHAR(20)",
    "負担者番号2 VARCHAR(20)",
    "受給者番号2 VARCHAR(20)",
    "本人支払額2 VARCHAR(20)",
    "公費負担名称3 VARCHAR(20)",
    "負担者番号3 VARCHAR(20)",
    "受給者番号3 VARCHAR(20)",
    "本人支払額3 VARCHAR(20)",
    "公費負担名称4 VARCHAR(20)",
    "負担者番号4 VARCHAR(20)",
    "受給者番号4 VARCHAR(20)",
    "本人支払額4 VARCHAR(20)",
    "備考 Text",
};

// The same changes as the program's upgrade, as plain SQL.
QString plainSqlUpgrade()
{
    QString sql = QStringLiteral("BEGIN;\n");
    for (const char* column :
         {"dbver Integer", "stamp Integer", "stampcont Text", "compellation Integer", "ruling Integer"})
        sql += QStringLiteral("ALTER TABLE MST ADD %1;\n").arg(QString::fromUtf8(column));
    sql += QStringLiteral(
        "UPDATE MST SET stamp = 0, stampcont = '説明を受け、同意し、交付を受けました。', compellation = 0, "
        "ruling = 0, dbver = 1050 WHERE rowid = (SELECT min(rowid) FROM MST);\n");
    for (const char* column : kRecipientColumns)
        sql += QStringLiteral("ALTER TABLE 利用者 ADD %1;\n").arg(QString::fromUtf8(column));
    sql += QStringLiteral(
        "ALTER TABLE 計画書 ADD 名前印 VARCHAR(100);\n"
        "CREATE TEMP TABLE provider_numbers (r INTEGER PRIMARY KEY, v TEXT);\n"
        "INSERT INTO provider_numbers SELECT rowid, CASE WHEN 事業者番号 IS NULL THEN '0000000000' "
        "WHEN 事業者番号 = 0 THEN NULL ELSE substr('0000000000' || printf('%010d', 事業者番号), -10) END "
        "FROM 事業者;\n"
        "ALTER TABLE 事業者 DROP 事業者番号;\n"
        "ALTER TABLE 事業者 ADD 事業者番号 VARCHAR(10);\n"
        "UPDATE 事業者 SET 事業者番号 = (SELECT v FROM provider_numbers WHERE r = 事業者.rowid);\n"
        "UPDATE 利用者 SET "
        "被保険者番号 = CASE WHEN 被保険者番号 IS NULL OR 被保険者番号 = '' THEN NULL "
        "ELSE substr('0000000000' || trim(被保険者番号, ' '), -10) END, "
        "保険者番号 = CASE WHEN 保険者番号 IS NULL OR 保険者番号 = '' THEN NULL "
        "ELSE substr('000000' || trim(保険者番号, ' '), -6) END;\n"
        "COMMIT;\n");
    return sql;
}

// The oldest form with the benchmark's rows.
void makeDatabase(const QString& file)
{
    QFile::remove(file);
    if (!QFile::copy(QStringLiteral(HANAPLAN_TEST_DATA "/unversioned.mdb"), file))
        bench::die(QStringLiteral("no fixture"));
    QFile(file).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QRandomGenerator random(20261206);
    bench::Filler fill(file);
    QSqlQuery recipient = fill.prepare(QStringLiteral(
        "INSERT INTO 利用者 (作成者ID, 名前, フリガナ, 被保険者番号, 保険者番号) VALUES (?, ?, ?, ?, ?)"));
    for (int i = 0; i < kRecipients; ++i) {
        recipient.bindValue(0, 1 + i % 20);
        recipient.bindValue(1, QStringLiteral("利用者%1").arg(i));
        recipient.bindValue(2, QStringLiteral("リヨウシャ%1").arg(i));
        const int kind = i % 10;
        recipient.bindValue(3, kind == 0   ? QVariant()
                               : kind == 1 ? QVariant(QString(QLatin1String("")))
                                           : QVariant(QString::number(random.bounded(1, 99999999))));
        recipient.bindValue(4, kind == 2 ? QVariant() : QVariant(QString::number(random.bounded(1, 999999))));
        bench::Filler::exec(recipient);
    }
    QSqlQuery provider =
        fill.prepare(QStringLiteral("INSERT INTO 事業者 (作成者ID, 名前, 事業者番号) VALUES (?, ?, ?)"));
    for (int i = 0; i < kProviders; ++i) {
        provider.bindValue(0, 1 + i % 20);
        provider.bindValue(1, QStringLiteral("事業者%1").arg(i));
        provider.bindValue(2, i % 50 == 0   ? QVariant()
                              : i % 50 == 1 ? QVariant(0)
                                            : QVariant(random.bounded(1, 2000000000)));
        bench::Filler::exec(provider);
    }
}

// Child process: upgrade one file and print "seconds peak-megabytes".
int upgradeChild(const QString& file)
{
    const platform::Environment environment(QCoreApplication::applicationDirPath());
    DatabaseState database;
    database.WindowsVersionCode = 2100;
    qputenv("ProgramFiles", file.section(QLatin1Char('/'), 0, -3).toUtf8());
    OpenDatabase(database, environment);
    QElapsedTimer timer;
    timer.start();
    UpgradeSchema(database);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    CloseDatabase(database);
    std::printf("%.4f %.1f\n", seconds, bench::peakMegabytes());
    return 0;
}

QString converted(const QString& file)
{
    QProcess p;
    p.start(
        QStringLiteral(SQLITE3_EXECUTABLE),
        {file, QStringLiteral(
                   "SELECT group_concat(ifnull(被保険者番号,'-') || ifnull(保険者番号,'-'), ',') FROM 利用者;"
                   "SELECT group_concat(ifnull(事業者番号,'-'), ',') FROM 事業者;"
                   "SELECT dbver, stamp, stampcont FROM MST;")});
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--upgrade")
        return upgradeChild(QString::fromLocal8Bit(argv[2]));
    // For profiling: only print the plain SQL, or only make the database of the benchmark.
    if (argc == 2 && QByteArray(argv[1]) == "--plain-sql") {
        std::printf("%s", plainSqlUpgrade().toUtf8().constData());
        return 0;
    }
    if (argc == 3 && QByteArray(argv[1]) == "--make") {
        makeDatabase(QString::fromLocal8Bit(argv[2]));
        return 0;
    }

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/ProgramFiles/Hanaplan");
    QDir().mkpath(folder);
    const QString ours = folder + QStringLiteral("/HanacareService.mdb");
    const QString plain = dir.path() + QStringLiteral("/plain.mdb");
    const QString script = dir.path() + QStringLiteral("/upgrade.sql");
    {
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write(plainSqlUpgrade().toUtf8());
    }

    std::vector<double> oursSeconds, plainSeconds, peaks;
    for (int round = 0; round < kRounds; ++round) {
        makeDatabase(ours);
        QFile::remove(plain);
        QFile::copy(ours, plain);
        // Both runs start from files already on disk, so neither pays for writing back the other's copy.
        ::sync();

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--upgrade"), ours});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || figures.size() != 2)
            bench::die(QStringLiteral("upgrade failed: ") + QString::fromUtf8(child.readAllStandardError()));
        oursSeconds.push_back(figures[0].toDouble());
        peaks.push_back(figures[1].toDouble());

        ::sync();
        QElapsedTimer timer;
        timer.start();
        QProcess sqlite;
        sqlite.setStandardInputFile(script);
        sqlite.start(QStringLiteral(SQLITE3_EXECUTABLE), {QStringLiteral("-bail"), plain});
        sqlite.waitForFinished(-1);
        plainSeconds.push_back(double(timer.nsecsElapsed()) / 1e9);
        if (sqlite.exitCode() != 0)
            bench::die(QStringLiteral("sqlite3 failed: ") + QString::fromUtf8(sqlite.readAllStandardError()));
        if (converted(ours) != converted(plain))
            bench::die(QStringLiteral("the two upgrades disagree"));
    }

    const double a = bench::median(oursSeconds);
    const double b = bench::median(plainSeconds);
    std::printf("Unversioned upgrade, %d 利用者 and %d 事業者 rows (median of %d rounds)\n", kRecipients,
                kProviders, kRounds);
    std::printf("  program's UpgradeSchema:   %.3f s, peak memory of its process %.1f MB\n", a,
                *std::max_element(peaks.begin(), peaks.end()));
    std::printf("  sqlite3, plain SQL:        %.3f s (whole process)\n", b);
    std::printf("  ratio:                     %.2f (aim: at most 3; memory aim: at most 150 MB)\n", a / b);
    std::printf("  results of both:           identical\n");
    return 0;
}
