// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/SchemaUpgrade.h"

constexpr char kCases[] = "schemaupgrade.json";

// The upgrade of each older schema form to 1050, with the cases of schemaupgrade.json: the statements and
// their order, the values afterwards, the number conversions, and a failure part way that leaves the file as
// it was.
class SchemaUpgradeTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramFixture> f;

    // Opens the installed file and upgrades it, recording the statements sent.
    void runUpgrade()
    {
        f->statements.clear();
        f->open();
        UpgradeSchema(f->program->database);
    }

private Q_SLOTS:
    void cleanup() { f.reset(); }

    // The statements sent, where {"installed": query} stands for those the query makes of the installed
    // schema (their type words may differ in letter case); the rows given queries return afterwards; the rows
    // of the tables no statement names, unchanged. A file left as it is ("after" null) is unchanged as a
    // whole.
    void upgrade_data() { addJsonCases(kCases, "upgrade", {"fixture", "setup", "sent", "after"}); }
    void upgrade()
    {
        QFETCH(QJsonValue, fixture);
        QFETCH(QJsonValue, setup);
        QFETCH(QJsonValue, sent);
        QFETCH(QJsonValue, after);
        f = std::make_unique<ProgramFixture>(fixture.toString(), setup.toVariant().toStringList());
        const QString before = f->dump();
        const QStringList tables = {"作成者", "Setting", "temp", "利用者", "事業者", "計画書"};
        QList<QList<QVariantList>> rowsBefore;
        for (const QString& table : tables)
            rowsBefore.append(f->rows("SELECT * FROM " + table));

        runUpgrade();
        QVERIFY(!f->program->database.SharedRecordset->isOpen());
        CloseDatabase(f->program->database);

        const QString schema = f->install.root() + "/installed.mdb";
        TestInstallation::copyFixture("installed", schema);
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
        QStringList seen = f->statements;
        for (qsizetype i : std::as_const(caseless))
            if (i < seen.size())
                seen[i] = seen[i].toUpper();
        QCOMPARE(seen, expected);

        if (after.isNull()) {
            QCOMPARE(f->dump(), before);
            return;
        }
        const QJsonObject queries = after.toObject();
        for (auto query = queries.begin(); query != queries.end(); ++query) {
            QJsonArray rows;
            for (const QVariantList& row : f->rows(query.key()))
                rows.append(QJsonArray::fromVariantList(row));
            QCOMPARE(jsonText(rows), jsonText(query.value()));
        }
        for (qsizetype i = 0; i < tables.size(); ++i)
            if (!f->statements.join(QLatin1Char('\n')).contains(tables[i]))
                QCOMPARE(f->rows("SELECT * FROM " + tables[i]), rowsBefore[i]);
    }

    // Each value as a provider number, and padded to the ten digits of an insured number and the six of an
    // insurer number.
    void conversions_data()
    {
        addJsonCases(kCases, "conversions", {"value", "provider", "insured", "insurer"});
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
        addJsonCases(kCases, "failure", {"fixture", "obstacle", "remedy", "number"});
    }
    void failurePartWay()
    {
        QFETCH(QJsonValue, fixture);
        QFETCH(QJsonValue, obstacle);
        QFETCH(QJsonValue, remedy);
        QFETCH(QJsonValue, number);
        f = std::make_unique<ProgramFixture>(fixture.toString(), QStringList{obstacle.toString()});
        const QString before = f->dump();
        HANAPLAN_VERIFY_RUNTIME_ERROR(runUpgrade(), number.toInt());
        QVERIFY(!f->program->database.SharedRecordset->isOpen());
        CloseDatabase(f->program->database);
        QCOMPARE(f->dump(), before);

        f->sql(remedy.toString());
        runUpgrade();
        CloseDatabase(f->program->database);
        QCOMPARE(f->sql("SELECT dbver FROM MST").toInt(), 1050);
    }

    // The probe takes only a missing version column for the oldest form: a damaged page of MST is reported
    // as the damaged file it is, and nothing of the oldest form's upgrade runs on it.
    void damagedMasterTable()
    {
        f = std::make_unique<ProgramFixture>();
        const int pageSize = f->sql("PRAGMA page_size").toInt();
        const int page = f->sql("SELECT rootpage FROM sqlite_master WHERE name = 'MST'").toInt();
        QFile file(f->install.installedDatabase());
        QVERIFY(page > 1 && file.open(QIODevice::ReadWrite) && file.seek(qint64(page - 1) * pageSize) &&
                file.write(QByteArray(64, '\xff')) == 64);
        file.close();
        HANAPLAN_VERIFY_RUNTIME_ERROR(runUpgrade(), 11);
        QCOMPARE(f->statements, QStringList{"SELECT dbver from MST"});
    }
};

QTEST_GUILESS_MAIN(SchemaUpgradeTest)
#include "tst_schemaupgrade.moc"
