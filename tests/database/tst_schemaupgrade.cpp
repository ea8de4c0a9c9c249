// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/Database.h"
#include "database/SchemaUpgrade.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString kProbe = QStringLiteral("SELECT dbver from MST");
const QString kSentence = QStringLiteral("説明を受け、同意し、交付を受けました。");

// The columns the upgrade adds to 利用者: the installed schema's run from 郵便番号保険証 to 備考, 45 columns.
QStringList addedRecipientColumns()
{
    TestInstallation fresh;
    fresh.installDatabase(QStringLiteral("installed"));
    const QStringList all = DatabaseInspector(fresh.installedDatabase()).columns(QStringLiteral("利用者"));
    const qsizetype first = all.indexOf(QStringLiteral("郵便番号保険証 VARCHAR(8)"));
    const QStringList run = all.mid(first, all.indexOf(QStringLiteral("備考 TEXT")) - first + 1);
    return run.size() == 45 ? run : QStringList();
}

bool isRecent(const QVariant& stamp)
{
    const QDateTime t = QDateTime::fromString(stamp.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return t.isValid() && qAbs(t.secsTo(QDateTime::currentDateTime())) < 120;
}

} // namespace

// The upgrade of each older schema form to 1050: statements and their order, values, conversions, and a
// failure part way that leaves the file as it was.
class SchemaUpgradeTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    QStringList statements;

    // Opens the given database and runs the upgrade, recording the statements sent.
    void upgrade(const QString& fixture)
    {
        install->installDatabase(fixture);
        openProgram();
        UpgradeSchema(*program);
    }
    void openProgram()
    {
        program = install->makeMain();
        OpenDatabase(*program);
        statements.clear();
        program->DbConnection->setStatementObserver([this](const QString& s) { statements.append(s); });
    }
    DatabaseInspector inspect() const { return DatabaseInspector(install->installedDatabase()); }
    QString dumpOf(const QString& table) const
    {
        QString out;
        for (const QVariantList& row :
             inspect().rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table))) {
            QStringList cells;
            for (const QVariant& v : row)
                cells.append(v.isNull() ? QStringLiteral("NULL") : v.toString());
            out += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
        return inspect().columns(table).join(QLatin1Char(',')) + QLatin1Char('\n') + out;
    }

    // Each column an "ALTER TABLE ... ADD" statement added has the type the installed schema gives it.
    void verifyAddedColumnsAsInstalled() const
    {
        TestInstallation fresh;
        fresh.installDatabase(QStringLiteral("installed"));
        const DatabaseInspector installed(fresh.installedDatabase());
        const QRegularExpression add(QStringLiteral("^ALTER TABLE (\\S+) ADD (\\S+) "));
        for (const QString& statement : statements) {
            const QRegularExpressionMatch m = add.match(statement);
            if (!m.hasMatch())
                continue;
            auto typeIn = [&](const DatabaseInspector& db) {
                for (const QString& column : db.columns(m.captured(1)))
                    if (column.section(QLatin1Char(' '), 0, 0) == m.captured(2))
                        return column.section(QLatin1Char(' '), 1).toUpper();
                return QString();
            };
            QVERIFY2(!typeIn(installed).isEmpty(), qPrintable(statement));
            QCOMPARE(typeIn(inspect()), typeIn(installed));
        }
    }

private Q_SLOTS:
    void init() { install = std::make_unique<TestInstallation>(); }
    void cleanup()
    {
        program.reset();
        install.reset();
    }

    void versionsLeftAsTheyAre_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("1050") << QString();
        QTest::newRow("1010") << QStringLiteral("UPDATE MST SET dbver = 1010");
        QTest::newRow("2000") << QStringLiteral("UPDATE MST SET dbver = 2000");
    }
    void versionsLeftAsTheyAre()
    {
        QFETCH(QString, setup);
        install->installDatabase(QStringLiteral("installed"));
        if (!setup.isEmpty())
            inspect().value(setup);
        const QString before = inspect().dump();
        openProgram();
        UpgradeSchema(*program);
        QCOMPARE(statements, (QStringList{kProbe, QStringLiteral("MST")}));
        QVERIFY(!program->SharedRecordset->isOpen());
        CloseDatabase(*program);
        QCOMPARE(inspect().dump(), before);
    }

    // The versioned forms: the statements after the version probe, MST's values afterwards (dbver, stamp,
    // stampcont, compellation, ruling, masterID), a fresh 更新日, and the other tables left as they were.
    void fromVersion_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QVariantList>("mst");
        const QString own = QStringLiteral("独自の説明文");
        const QString master = QStringLiteral("master");
        QTest::newRow("1040") << QStringLiteral("v1040") << QStringList{}
                              << QVariantList{1050, 1, own, 1, 1, master};
        QTest::newRow("1030") << QStringLiteral("v1030")
                              << QStringList{QStringLiteral("ALTER TABLE MST ADD compellation Integer"),
                                             QStringLiteral("ALTER TABLE MST ADD ruling Integer")}
                              << QVariantList{1050, 1, own, 0, 0, master};
        QTest::newRow("1020") << QStringLiteral("v1020")
                              << QStringList{QStringLiteral("ALTER TABLE 計画書 ADD 名前印 VARCHAR(100)"),
                                             QStringLiteral("ALTER TABLE MST ADD stamp Integer"),
                                             QStringLiteral("ALTER TABLE MST ADD stampcont Memo"),
                                             QStringLiteral("ALTER TABLE MST ADD compellation Integer"),
                                             QStringLiteral("ALTER TABLE MST ADD ruling Integer")}
                              << QVariantList{1050, 0, kSentence, 0, 0, master};
    }
    void fromVersion()
    {
        QFETCH(QString, fixture);
        QFETCH(QStringList, changes);
        QFETCH(QVariantList, mst);
        install->installDatabase(fixture);
        const QString untouched = dumpOf(QStringLiteral("利用者")) + dumpOf(QStringLiteral("事業者"));
        const QString plans = dumpOf(QStringLiteral("計画書"));
        openProgram();
        UpgradeSchema(*program);
        QCOMPARE(statements,
                 (QStringList{kProbe, QStringLiteral("MST")} + changes + QStringList{QStringLiteral("MST")}));
        CloseDatabase(*program);
        verifyAddedColumnsAsInstalled();
        const auto row = inspect().rows(QStringLiteral(
            "SELECT dbver, stamp, stampcont, compellation, ruling, masterID, 更新日 FROM MST"));
        QCOMPARE(row.size(), 1);
        QCOMPARE(row[0].mid(0, 6), mst);
        QVERIFY(isRecent(row[0][6]));
        QCOMPARE(dumpOf(QStringLiteral("利用者")) + dumpOf(QStringLiteral("事業者")), untouched);
        if (changes.isEmpty() || !changes.first().contains(QStringLiteral("計画書")))
            QCOMPARE(dumpOf(QStringLiteral("計画書")), plans);
    }

    void unversioned()
    {
        upgrade(QStringLiteral("unversioned"));
        QStringList expected = {kProbe,
                                QStringLiteral("ALTER TABLE MST ADD dbver Integer"),
                                QStringLiteral("ALTER TABLE MST ADD stamp Integer"),
                                QStringLiteral("ALTER TABLE MST ADD stampcont Memo"),
                                QStringLiteral("ALTER TABLE MST ADD compellation Integer"),
                                QStringLiteral("ALTER TABLE MST ADD ruling Integer"),
                                QStringLiteral("MST")};
        const QStringList added = addedRecipientColumns();
        QCOMPARE(added.size(), 45);
        for (const QString& column : added)
            expected.append(QStringLiteral("ALTER TABLE 利用者 ADD ") + column);
        expected << QStringLiteral("ALTER TABLE 計画書 ADD 名前印 VARCHAR(100)") << QStringLiteral("事業者")
                 << QStringLiteral("ALTER TABLE 事業者 DROP 事業者番号")
                 << QStringLiteral("ALTER TABLE 事業者 ADD 事業者番号 VARCHAR(10)")
                 << QStringLiteral("事業者") << QStringLiteral("利用者") << QStringLiteral("利用者");
        // The engine writes the type words it knows in capitals; the added columns' words may differ in case.
        QCOMPARE(statements.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            if (expected[i].startsWith(QStringLiteral("ALTER TABLE 利用者 ADD ")))
                QCOMPARE(statements[i].toUpper(), expected[i].toUpper());
            else
                QCOMPARE(statements[i], expected[i]);
        }
        QVERIFY(!program->SharedRecordset->isOpen());
        CloseDatabase(*program);

        const auto mst = inspect().rows(
            QStringLiteral("SELECT dbver, stamp, stampcont, compellation, ruling, 更新日 FROM MST"));
        QCOMPARE(mst[0], (QVariantList{1050, 0, kSentence, 0, 0, QStringLiteral("2003-02-03 04:05:06")}));
        verifyAddedColumnsAsInstalled();
        // Values converted in the table's natural order: 0, 12345, null, a long number, 987.
        QCOMPARE(inspect().rows(QStringLiteral("SELECT 名前, 事業者番号 FROM 事業者 ORDER BY rowid")),
                 (QList<QVariantList>{{QStringLiteral("ゼロ介護"), QVariant()},
                                      {QStringLiteral("さくら訪問介護"), QStringLiteral("0000012345")},
                                      {QStringLiteral("番号なし"), QStringLiteral("0000000000")},
                                      {QStringLiteral("長番号ケア"), QStringLiteral("5678901234")},
                                      {QStringLiteral("ひまわり"), QStringLiteral("0000000987")}}));
        QCOMPARE(inspect().rows(QStringLiteral("SELECT 被保険者番号, 保険者番号 FROM 利用者 ORDER BY rowid")),
                 (QList<QVariantList>{{QStringLiteral("0000000123"), QStringLiteral("001234")},
                                      {QStringLiteral("0000000045"), QStringLiteral("345678")},
                                      {QVariant(), QVariant()},
                                      {QVariant(), QVariant()},
                                      {QStringLiteral("3456789012"), QStringLiteral("000007")},
                                      {QStringLiteral("0000098765"), QStringLiteral("000042")}}));
    }

    void unversionedWithEmptyTables()
    {
        install->installDatabase(QStringLiteral("unversioned"));
        inspect().value(QStringLiteral("DELETE FROM 事業者"));
        inspect().value(QStringLiteral("DELETE FROM 利用者"));
        openProgram();
        UpgradeSchema(*program);
        CloseDatabase(*program);
        QVERIFY(
            inspect().columns(QStringLiteral("事業者")).endsWith(QStringLiteral("事業者番号 VARCHAR(10)")));
        QCOMPARE(inspect().columns(QStringLiteral("利用者")).size(), 9 + addedRecipientColumns().size());
        QCOMPARE(inspect().value(QStringLiteral("SELECT count(*) FROM 利用者")).toInt(), 0);
    }

    // Each value as a provider number, and padded to the ten digits of an insured number and the six of an
    // insurer number; nullptr stands for no text.
    void conversions_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("insured");
        QTest::addColumn<QString>("insurer");
        auto row = [](const char* title, const QVariant& value, const char* provider, const char* insured,
                      const char* insurer) {
            QTest::newRow(title) << value << QString::fromUtf8(provider) << QString::fromUtf8(insured)
                                 << QString::fromUtf8(insurer);
        };
        row("null", QVariant(), "0000000000", nullptr, nullptr);
        row("zero", QVariant(0), "0", "0000000000", "000000");
        row("zero as text", QVariant(QStringLiteral("0")), "0", "0000000000", "000000");
        row("12345", QVariant(12345), "0000012345", "0000012345", "012345");
        row("long number", QVariant(12345678901234LL), "5678901234", "5678901234", "901234");
        row("blanks around", QVariant(QStringLiteral(" 45 ")), "0000000045", "0000000045", "000045");
        row("empty text", QVariant(QString(QLatin1String(""))), "0000000000", nullptr, nullptr);
        row("blanks only", QVariant(QStringLiteral("   ")), "0000000000", "0000000000", "000000");
        row("rounded", QVariant(12.5), "0000000013", "00000012.5", "0012.5");
        row("negative", QVariant(-5), "0000000005", "00000000-5", "0000-5");
        row("text that is no number", QVariant(QStringLiteral("A-12")), "000000A-12", "000000A-12", "00A-12");
    }
    void conversions()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, provider);
        QFETCH(QString, insured);
        QFETCH(QString, insurer);
        QCOMPARE(upgrade::providerNumberText(value), provider);
        QCOMPARE(upgrade::paddedNumberText(value, 10), insured);
        QCOMPARE(upgrade::paddedNumberText(value, 6), insurer);
    }

    // A failure part way through any path leaves the whole file as it was, and a later start, with the
    // obstacle gone, completes the upgrade.
    void failurePartWayLeavesFileUnchanged_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("remedy");
        QTest::addColumn<int>("number");
        auto row = [](const char* title, const char* fixture, const char* obstacle, const char* remedy,
                      int number) {
            QTest::newRow(title) << QString::fromUtf8(fixture) << QString::fromUtf8(obstacle)
                                 << QString::fromUtf8(remedy) << number;
        };
        row("unversioned: duplicate 利用者 column", "unversioned",
            "ALTER TABLE 利用者 ADD 健康保険負担割合 Double", "ALTER TABLE 利用者 DROP 健康保険負担割合", 1);
        row("unversioned: no 事業者 table for the conversion", "unversioned",
            "ALTER TABLE 事業者 RENAME TO 事業者_old", "ALTER TABLE 事業者_old RENAME TO 事業者", 1);
        row("1020: compellation exists", "v1020", "ALTER TABLE MST ADD compellation Integer",
            "ALTER TABLE MST DROP compellation", 1);
        row("1030: ruling exists", "v1030", "ALTER TABLE MST ADD ruling Integer",
            "ALTER TABLE MST DROP ruling", 1);
        row("1040: MST without 更新日", "v1040", "ALTER TABLE MST DROP 更新日",
            "ALTER TABLE MST ADD 更新日 DATETIME", ErrorNumber::ItemNotFound);
        row("null dbver", "v1040", "UPDATE MST SET dbver = NULL", "UPDATE MST SET dbver = 1040",
            ErrorNumber::InvalidUseOfNull);
    }
    void failurePartWayLeavesFileUnchanged()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, obstacle);
        QFETCH(QString, remedy);
        QFETCH(int, number);
        install->installDatabase(fixture);
        inspect().value(obstacle);
        const QString before = inspect().dump();

        openProgram();
        HANAPLAN_VERIFY_RUNTIME_ERROR(UpgradeSchema(*program), number);
        QVERIFY(!program->SharedRecordset->isOpen());
        CloseDatabase(*program);
        QCOMPARE(inspect().dump(), before);

        inspect().value(remedy);
        openProgram();
        UpgradeSchema(*program);
        CloseDatabase(*program);
        QCOMPARE(inspect().value(QStringLiteral("SELECT dbver FROM MST")).toInt(), 1050);
    }
};

QTEST_GUILESS_MAIN(SchemaUpgradeTest)
#include "tst_schemaupgrade.moc"
