// SPDX-License-Identifier: MIT
// The creator list with 10,000 live creators: FillCreatorList filling the maintenance window's list
// (milliseconds, on the offscreen platform, window not shown as at the maintenance sign-in) beside the
// sqlite3 program reading the same rows in the same order (whole process).
#include "BenchSupport.h"

#include "database/Database.h"
#include "database/DatabaseState.h"
#include "maintenance/CreatorList.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/MaintenanceWindow.h"
#include "platform/Environment.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCreators = 10000;
constexpr int kDeleted = 500;
constexpr int kRounds = 7;

// Stops the benchmark on any message: none is expected.
class NoMessages : public platform::MessageBoxes
{
public:
    Answer show(const Message& message) override
    {
        bench::die(QStringLiteral("unexpected message: ") + message.text);
    }
};

QString randomText(QRandomGenerator& random, char16_t first, int range, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(QChar(char16_t(first + random.bounded(range))));
    return text;
}

void makeDatabase(const QString& file)
{
    if (!QFile::copy(QStringLiteral(HANAPLAN_TEST_DATA "/installed.mdb"), file))
        bench::die(QStringLiteral("no fixture"));
    QFile(file).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QRandomGenerator random(20261207);
    bench::Filler fill(file);
    QSqlQuery insert = fill.prepare(
        QStringLiteral("INSERT INTO 作成者 (名前, ふりがな, 郵便番号, 住所, 電話, 携帯電話, fax, password, "
                       "作成日, 更新日, 削除日) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, '2026-12-01 09:00:00', '2026-12-01 09:00:00', ?)"));
    for (int i = 0; i < kCreators + kDeleted; ++i) {
        insert.bindValue(0, QString(randomText(random, u'一', 2000, 2) + QLatin1Char(' ') +
                                    randomText(random, u'一', 2000, 2)));
        insert.bindValue(1, randomText(random, u'ア', 80, 6));
        insert.bindValue(
            2, QStringLiteral("%1-%2").arg(random.bounded(100, 999)).arg(random.bounded(1000, 9999)));
        insert.bindValue(3, i % 7 == 0 ? QVariant() : QVariant(randomText(random, u'一', 2000, 16)));
        insert.bindValue(4, QStringLiteral("03-%1").arg(random.bounded(10000000, 99999999)));
        insert.bindValue(5, i % 3 == 0
                                ? QVariant()
                                : QVariant(QStringLiteral("090-%1").arg(random.bounded(10000000, 99999999))));
        insert.bindValue(6, i % 2 == 0
                                ? QVariant()
                                : QVariant(QStringLiteral("03-%1").arg(random.bounded(10000000, 99999999))));
        insert.bindValue(7, randomText(random, u'a', 26, 10));
        insert.bindValue(8, i % ((kCreators + kDeleted) / kDeleted) == 5
                                ? QVariant(QStringLiteral("2026-12-02 09:00:00"))
                                : QVariant());
        bench::Filler::exec(insert);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/ProgramFiles/Hanaplan");
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/HanacareService.mdb");
    makeDatabase(file);
    qputenv("ProgramFiles", (dir.path() + QStringLiteral("/ProgramFiles")).toUtf8());

    NoMessages messages;
    const platform::Environment environment(folder);
    DatabaseState database;
    database.WindowsVersionCode = 2100;
    MaintenanceState state;
    OpenDatabase(database, environment);
    MaintenanceWindow window;

    // Setting row 1 of the installed database sorts by reading, ascending. The record set's sort is
    // stable, so rows of equal reading keep the table's order: ID.
    const QString query =
        QStringLiteral("SELECT ID, password, 名前, ふりがな, 郵便番号, 住所, 電話, 携帯電話, fax FROM 作成者 "
                       "WHERE 削除日 IS NULL ORDER BY ふりがな, ID;");

    std::vector<double> ours, plain;
    QByteArray sqliteOutput;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        FillCreatorList(database, state, messages, window);
        ours.push_back(double(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        QProcess sqlite;
        sqlite.start(QStringLiteral(SQLITE3_EXECUTABLE), {QStringLiteral("-readonly"), file, query});
        sqlite.waitForFinished(-1);
        plain.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (sqlite.exitCode() != 0)
            bench::die(QStringLiteral("sqlite3 failed: ") + QString::fromUtf8(sqlite.readAllStandardError()));
        sqliteOutput = sqlite.readAllStandardOutput();
    }

    // Both read the same creators in the same order.
    const QList<QByteArray> lines = sqliteOutput.trimmed().split('\n');
    const auto& entries = state.CreatorEntries;
    if (window.findChild<QComboBox*>(QStringLiteral("作成者検索"))->count() != kCreators + 1 ||
        lines.size() != kCreators || int(entries.size()) != kCreators + 1)
        bench::die(QStringLiteral("the two lists differ in length"));
    for (int k = 1; k <= kCreators; ++k)
        if (lines.at(k - 1).split('|').value(0).toInt() != entries[size_t(k)].ID)
            bench::die(QStringLiteral("the two lists differ at %1").arg(k));

    const double a = bench::median(ours);
    const double b = bench::median(plain);
    std::printf("Creator list, %d live and %d deleted creators, sorted by reading (median of %d rounds)\n",
                kCreators, kDeleted, kRounds);
    std::printf("  FillCreatorList:           %.1f ms (query, sort, entries and %d list items)\n", a,
                kCreators + 1);
    std::printf("  sqlite3, same rows/order:  %.1f ms (whole process)\n", b);
    std::printf("  ratio:                     %.2f (aim: at most 5)\n", a / b);
    std::printf("  order of both:             identical\n");
    CloseDatabase(database);
    return 0;
}
