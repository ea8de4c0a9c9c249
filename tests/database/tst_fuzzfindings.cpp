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
        QFileInfoList inputs;
        for (const char* folder : {"/tests/data/fuzz/", "/fuzz/seeds/"})
            inputs += QDir(QStringLiteral(HANAPLAN_SOURCE_DIR) + QLatin1String(folder) + target)
                          .entryInfoList(QDir::Files);
        QVERIFY(!inputs.isEmpty());
        for (const QFileInfo& input : std::as_const(inputs)) {
            QFile file(input.filePath());
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            const QString failure = check(file.readAll());
            QVERIFY2(failure.isEmpty(), qPrintable(file.fileName() + ": " + failure));
        }
    }

private Q_SLOTS:
    void recordFilterInputs() { replay(QStringLiteral("recordfilter"), fuzzchecks::checkRecordFilter); }
    void sqlBinderInputs() { replay(QStringLiteral("sqlbinder"), fuzzchecks::checkSqlBinder); }
};

QTEST_GUILESS_MAIN(FuzzFindingsTest)
#include "tst_fuzzfindings.moc"
