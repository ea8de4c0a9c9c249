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
    // The statements sent compared with a case's: {"installed": query} stands for those the query makes of
    // the installed schema, whose type words may differ in letter case.
    void compareSent(const QJsonArray& sent)
    {
        const QString schema = f->install.root() + "/installed.mdb";
        TestInstallation::copyFixture("installed", schema);
        const DatabaseInspector installed(schema);
        QStringList expected;
        QStringList seen = f->statements;
        for (const QJsonValue& entry : sent) {
            if (entry.isString())
                expected.append(entry.toString());
            else
                for (const QVariantList& row : installed.rows(entry[QLatin1String("installed")].toString())) {
                    if (expected.size() < seen.size())
                        seen[expected.size()] = seen[expected.size()].toUpper();
                    expected.append(row.at(0).toString().toUpper());
                }
        }
        QCOMPARE(seen, expected);
    }

private Q_SLOTS:
    void cleanup() { f.reset(); }

    // Each case: the fixture changed by statements ("setup") or with the first page of a table damaged
    // ("damage"), and the statements sent. An upgrade that fails ("error") or has nothing to do ("after"
    // missing) leaves the whole file as it was; a later start with the obstacle gone ("remedy") completes it.
    // Then the rows given queries return, and the rows of the tables no statement names, unchanged.
    void upgrade_data() { addJsonCases(kCases, "upgrade", {"upgrade"}); }
    void upgrade()
    {
        QFETCH(QJsonValue, upgrade);
        const QJsonValue error = upgrade["error"];
        f = std::make_unique<ProgramFixture>(upgrade["fixture"].toString(),
                                             upgrade["setup"].toVariant().toStringList());
        if (upgrade["damage"].isString()) {
            const int pageSize = f->sql("PRAGMA page_size").toInt();
            const int page = f->sql("SELECT rootpage FROM sqlite_master WHERE name = '" +
                                    upgrade["damage"].toString() + "'")
                                 .toInt();
            QFile file(f->install.installedDatabase());
            QVERIFY(page > 1 && file.open(QIODevice::ReadWrite) && file.seek(qint64(page - 1) * pageSize) &&
                    file.write(QByteArray(64, '\xff')) == 64);
        }
        const QString before = f->dump();
        const QStringList tables = {"作成者", "Setting", "temp", "利用者", "事業者", "計画書"};
        QList<QList<QVariantList>> rowsBefore;
        for (const QString& table : tables)
            rowsBefore.append(f->rows("SELECT * FROM " + table));

        if (error.isDouble())
            HANAPLAN_VERIFY_RUNTIME_ERROR(runUpgrade(), error.toInt());
        else
            runUpgrade();
        QVERIFY(!f->program->database.SharedRecordset->isOpen());
        CloseDatabase(f->program->database);
        if (upgrade["sent"].isArray())
            compareSent(upgrade["sent"].toArray());
        if (error.isDouble() || upgrade["after"].isUndefined())
            QCOMPARE(f->dump(), before);
        if (upgrade["remedy"].isString()) {
            f->sql(upgrade["remedy"].toString());
            runUpgrade();
            CloseDatabase(f->program->database);
        }

        const QJsonObject queries = upgrade["after"].toObject();
        for (auto query = queries.begin(); query != queries.end(); ++query) {
            QJsonArray rows;
            for (const QVariantList& row : f->rows(query.key()))
                rows.append(QJsonArray::fromVariantList(row));
            QCOMPARE(jsonText(rows), jsonText(query.value()));
        }
        for (qsizetype i = 0; i < tables.size() && !error.isDouble(); ++i)
            if (!f->statements.join(QLatin1Char('\n')).contains(tables[i]))
                QCOMPARE(f->rows("SELECT * FROM " + tables[i]), rowsBefore[i]);
    }

    // Each value as a provider number, and padded to the ten digits of an insured number and the six of an
    // insurer number.
    void conversions_data() { addJsonCases(kCases, "conversions", {"conversion"}); }
    void conversions()
    {
        QFETCH(QJsonValue, conversion);
        const QJsonValue value = conversion["value"];
        const QVariant v = value.isNull() ? QVariant() : value.toVariant();
        QCOMPARE(upgrade::providerNumberText(v), conversion["provider"].toString());
        QCOMPARE(upgrade::paddedNumberText(v, 10), conversion["insured"].toString());
        QCOMPARE(upgrade::paddedNumberText(v, 6), conversion["insurer"].toString());
    }
};

QTEST_GUILESS_MAIN(SchemaUpgradeTest)
#include "tst_schemaupgrade.moc"
