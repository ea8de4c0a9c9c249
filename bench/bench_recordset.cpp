// SPDX-License-Identifier: MIT
// The record set on 10,000 live creators: open, filter and sort, in milliseconds.
#include "BenchSupport.h"

#include "database/Database.h"
#include "database/DatabaseState.h"
#include "platform/Environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCreators = 10000;
constexpr int kRounds = 7;

double ms(QElapsedTimer& t)
{
    const double v = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    return v;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/ProgramFiles/Hanaplan");
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/HanacareService.mdb");
    QFile::copy(QStringLiteral(HANAPLAN_TEST_DATA "/installed.mdb"), file);
    QFile(file).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    {
        bench::Filler fill(file);
        QSqlQuery q = fill.prepare(QStringLiteral(
            "INSERT INTO 作成者 (名前, ふりがな, 住所, password, 作成日, 更新日) VALUES (?, ?, ?, ?, ?, ?)"));
        const QStringList family = {QStringLiteral("ヤマダ"), QStringLiteral("タナカ"),
                                    QStringLiteral("スズキ"), QStringLiteral("コヤマ"),
                                    QStringLiteral("サトウ")};
        for (int i = 0; i < kCreators; ++i) {
            q.bindValue(0, QStringLiteral("作成者%1").arg(i));
            q.bindValue(1, QString(family.at(i % family.size()) + QString::number(kCreators - i)));
            q.bindValue(2, QStringLiteral("東京都千代田区%1").arg(i));
            q.bindValue(3, QStringLiteral("pw%1").arg(i));
            q.bindValue(4, QStringLiteral("2026-01-01 10:00:00"));
            q.bindValue(5, QStringLiteral("2026-02-01 10:00:00"));
            bench::Filler::exec(q);
        }
    }

    qputenv("ProgramFiles", (dir.path() + QStringLiteral("/ProgramFiles")).toUtf8());
    const platform::Environment environment(folder);
    DatabaseState database;
    database.WindowsVersionCode = 2100;
    OpenDatabase(database, environment);
    SharedRecordset& rs = *database.SharedRecordset;

    std::vector<double> open, filter, sort, read;
    int matched = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        rs.setCursorLocation(SharedRecordset::ClientSideCursor);
        rs.open(QStringLiteral("作成者 WHERE 削除日 IS NULL"), *database.DbConnection);
        open.push_back(ms(t));
        rs.setFilter(QStringLiteral("フリガナ Like '*ヤマ*'"));
        matched = rs.recordCount();
        filter.push_back(ms(t));
        rs.setSort(QStringLiteral("フリガナ ASC"));
        sort.push_back(ms(t));
        for (int i = 0; i < matched; ++i) {
            rs.field(QStringLiteral("名前"));
            rs.moveNext();
        }
        read.push_back(ms(t));
        rs.release();
    }
    std::printf("Record set on %d live creators (median of %d rounds)\n", kCreators, kRounds);
    std::printf("  open \"作成者 WHERE 削除日 IS NULL\":  %7.2f ms\n", bench::median(open));
    std::printf("  filter \"フリガナ Like '*ヤマ*'\":    %7.2f ms (%d rows)\n", bench::median(filter),
                matched);
    std::printf("  sort \"フリガナ ASC\":                %7.2f ms\n", bench::median(sort));
    std::printf("  read 名前 of every row:             %7.2f ms\n", bench::median(read));
    std::printf("  peak memory:                        %7.1f MB\n", bench::peakMegabytes());
    return 0;
}
