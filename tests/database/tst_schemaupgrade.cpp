// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/SchemaUpgrade.h"

// The upgrade of each older schema form to 1050, with the cases of schemaupgrade.json: the statements and
// their order, the values afterwards, the number conversions, and a failure part way that leaves the file as
// it was.
class SchemaUpgradeTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    QStringList statements;

    DatabaseInspector inspect() const { return DatabaseInspector(install->installedDatabase()); }
    void prepare(const QJsonValue& fixture, const QJsonArray& setup)
    {
        install->installDatabase(fixture.toString());
        for (const QJsonValue& statement : setup)
            inspect().value(statement.toString());
    }
    // Opens the installed file and upgrades it, recording the statements sent.
    void runUpgrade()
    {
        program = install->makeMain();
        OpenDatabase(program->database, program->services.environment);
        statements.clear();
        program->database.DbConnection->setStatementObserver(
            [this](const QString& s) { statements.append(s); });
        UpgradeSchema(program->database);
    }

private Q_SLOTS:
    void init() { install = std::make_unique<TestInstallation>(); }
    void cleanup()
    {
        program.reset();
        install.reset();
    }

    // The statements sent, where {"installed": query} stands for those the query makes of the installed
    // schema (their type words may differ in letter case); the rows given queries return afterwards; the rows
    // of the tables no statement names, unchanged. A file left as it is ("after" null) is unchanged as a
    // whole.
    void upgrade_data()
    {
        addJsonCases("schemaupgrade.json", "upgrade", {"fixture", "setup", "sent", "after"});
    }
    void upgrade()
    {
        QFETCH(QJsonValue, fixture);
        QFETCH(QJsonValue, setup);
        QFETCH(QJsonValue, sent);
        QFETCH(QJsonValue, after);
        prepare(fixture, setup.toArray());
        const QString before = inspect().dump();
        const QStringList tables = {QStringLiteral("作成者"), QStringLiteral("Setting"),
                                    QStringLiteral("temp"),   QStringLiteral("利用者"),
                                    QStringLiteral("事業者"), QStringLiteral("計画書")};
        QList<QList<QVariantList>> rowsBefore;
        for (const QString& table : tables)
            rowsBefore.append(inspect().rows(QStringLiteral("SELECT * FROM ") + table));

        runUpgrade();
        QVERIFY(!program->database.SharedRecordset->isOpen());
        CloseDatabase(program->database);

        const QString schema = install->root() + QStringLiteral("/installed.mdb");
        TestInstallation::copyFixture(QStringLiteral("installed"), schema);
        const DatabaseInspector installed(schema);
        QStringList expected;
        QList<qsizetype> caseless;
        for (const QJsonValue& entry : sent.toArray()) {
            if (entry.isString()) {
                expected.append(entry.toString());
                continue;
            }
            for (const QVariantList& row : installed.rows(entry[QLatin1String("installed")].toString())) {
                caseless.append(expected.size());
                expected.append(row.at(0).toString().toUpper());
            }
        }
        QStringList seen = statements;
        for (qsizetype i : std::as_const(caseless))
            if (i < seen.size())
                seen[i] = seen[i].toUpper();
        QCOMPARE(seen, expected);

        if (after.isNull()) {
            QCOMPARE(inspect().dump(), before);
            return;
        }
        const QJsonObject queries = after.toObject();
        for (auto query = queries.begin(); query != queries.end(); ++query) {
            QJsonArray rows;
            for (const QVariantList& row : inspect().rows(query.key()))
                rows.append(QJsonArray::fromVariantList(row));
            QCOMPARE(jsonText(rows), jsonText(query.value()));
        }
        for (qsizetype i = 0; i < tables.size(); ++i)
            if (!statements.join(QLatin1Char('\n')).contains(tables[i]))
                QCOMPARE(inspect().rows(QStringLiteral("SELECT * FROM ") + tables[i]), rowsBefore[i]);
    }

    // Each value as a provider number, and padded to the ten digits of an insured number and the six of an
    // insurer number.
    void conversions_data()
    {
        addJsonCases("schemaupgrade.json", "conversions", {"value", "provider", "insured", "insurer"});
    }
    void conversions()
    {
        QFETCH(QJsonValue, value);
        QFETCH(QJsonValue, provider);
        QFETCH(QJsonValue, insured);
        QFETCH(QJsonValue, insurer);
        const QVariant v = value.isNull() ? QVariant() : value.toVariant();
        QCOMPARE(upgrade::providerNumberText(v), provider.toString());
        QCOMPARE(upgrade::paddedNumberText(v, 10), insured.toString());
        QCOMPARE(upgrade::paddedNumberText(v, 6), insurer.toString());
    }

    // A failure part way through any path leaves the whole file as it was, and a later start, with the
    // obstacle gone, completes the upgrade.
    void failurePartWay_data()
    {
        addJsonCases("schemaupgrade.json", "failure", {"fixture", "obstacle", "remedy", "number"});
    }
    void failurePartWay()
    {
        QFETCH(QJsonValue, fixture);
        QFETCH(QJsonValue, obstacle);
        QFETCH(QJsonValue, remedy);
        QFETCH(QJsonValue, number);
        prepare(fixture, {obstacle});
        const QString before = inspect().dump();
        HANAPLAN_VERIFY_RUNTIME_ERROR(runUpgrade(), number.toInt());
        QVERIFY(!program->database.SharedRecordset->isOpen());
        CloseDatabase(program->database);
        QCOMPARE(inspect().dump(), before);

        inspect().value(remedy.toString());
        runUpgrade();
        CloseDatabase(program->database);
        QCOMPARE(inspect().value(QStringLiteral("SELECT dbver FROM MST")).toInt(), 1050);
    }

    // The probe takes only a missing version column for the oldest form: a damaged page of MST is reported
    // as the damaged file it is, and nothing of the oldest form's upgrade runs on it.
    void damagedMasterTable()
    {
        install->installDatabase(QStringLiteral("installed"));
        const int pageSize = inspect().value(QStringLiteral("PRAGMA page_size")).toInt();
        const int page =
            inspect().value(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'MST'")).toInt();
        QFile file(install->installedDatabase());
        QVERIFY(page > 1 && file.open(QIODevice::ReadWrite) && file.seek(qint64(page - 1) * pageSize) &&
                file.write(QByteArray(64, '\xff')) == 64);
        file.close();
        HANAPLAN_VERIFY_RUNTIME_ERROR(runUpgrade(), 11);
        QCOMPARE(statements, QStringList{QStringLiteral("SELECT dbver from MST")});
    }
};

QTEST_GUILESS_MAIN(SchemaUpgradeTest)
#include "tst_schemaupgrade.moc"
