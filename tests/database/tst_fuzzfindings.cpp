// SPDX-License-Identifier: MIT
#include "../../fuzz/FuzzProperties.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Inputs kept from fuzzing the filter, sort and statement texts, and the fuzzers' seeds, checked by the rules
// the fuzz targets check.
class FuzzFindingsTest : public QObject
{
    Q_OBJECT

private:
    static void replay(const QString& target, QString (*check)(QByteArrayView))
    {
        QStringList paths;
        for (const char* folder : {"/tests/data/fuzz/", "/fuzz/seeds/"}) {
            const QDir dir(QStringLiteral(HANAPLAN_SOURCE_DIR) + QLatin1String(folder) + target);
            for (const QString& name : dir.entryList(QDir::Files))
                paths.append(dir.filePath(name));
        }
        QVERIFY(!paths.isEmpty());
        for (const QString& path : std::as_const(paths)) {
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            const QString failure = check(file.readAll());
            QVERIFY2(failure.isEmpty(), qPrintable(path + QStringLiteral(": ") + failure));
        }
    }

private Q_SLOTS:
    void recordFilterInputs() { replay(QStringLiteral("recordfilter"), fuzzchecks::checkRecordFilter); }
    void sqlBinderInputs() { replay(QStringLiteral("sqlbinder"), fuzzchecks::checkSqlBinder); }
};

QTEST_GUILESS_MAIN(FuzzFindingsTest)
#include "tst_fuzzfindings.moc"
