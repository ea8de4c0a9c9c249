// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/SchemaUpgrade.h"

constexpr char kCases[] = "schemaupgrade.json";

// The upgrade of each older schema form to 1050: the statements and their order, the values afterwards,
// the number conversions, and a failure part way that leaves the file as it was.
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

    // Each case: the fixture changed by statements ("setup") or with a table's first page damaged ("damage"),
    // and the statements sent ({"installed": query} stands for those the query makes of the installed schema,
    // type words in any letter case). An upgrade that fails ("error") or has nothing to do ("after" missing)
    // leaves the whole file as it was; a later start with the obstacle gone ("remedy") completes it. Then the
    // rows given queries return, and the rows of the tables no statement names, unchanged.
    void upgrade_data() { addJsonCases(kCases, "upgrade", "upgrade"); }
    void upgrade()
    {
        QFETCH(QJsonValue, upgrade);
        const QJsonValue error = upgrade["error"];
        f = std::make_unique<ProgramFixture>(upgrade["fixture"].toString(),
                                             upgrade["setup"].toVariant().toStringList());
        if (upgrade["damage"].isString()) {
            const QString firstPage =
                "SELECT (rootpage - 1) * page_size FROM sqlite_master, pragma_page_size WHERE name = '%1'";
            const qint64 offset = f->sql(firstPage.arg(upgrade["damage"].toString())).toLongLong();
            QFile file(f->install.installedDatabase());
            QVERIFY(offset > 0 && file.open(QIODevice::ReadWrite) && file.seek(offset) &&
                    file.write(QByteArray(64, '\xff')) == 64);
        }
        const QString before = f->dump();
        QMap<QString, QList<QVariantList>> rowsBefore;
        for (const QString table : {"作成者", "Setting", "temp", "利用者", "事業者", "計画書"})
            rowsBefore[table] = f->rows("SELECT * FROM " + table);

        if (error.isDouble())
            HANAPLAN_VERIFY_RUNTIME_ERROR(runUpgrade(), error.toInt());
        else
            runUpgrade();
        QVERIFY(!f->program->database.SharedRecordset->isOpen());
        CloseDatabase(f->program->database);
        if (upgrade["sent"].isArray()) {
            const QString schema = f->install.root() + "/installed.mdb";
            TestInstallation::copyFixture("installed", schema);
            const DatabaseInspector installed(schema);
            QStringList expected;
            QStringList seen = f->statements;
            for (const QJsonValue& entry : upgrade["sent"].toArray()) {
                if (entry.isString())
                    expected.append(entry.toString());
                else
                    for (const QVariantList& row : installed.rows(entry["installed"].toString())) {
                        if (expected.size() < seen.size())
                            seen[expected.size()] = seen[expected.size()].toUpper();
                        expected.append(row.at(0).toString().toUpper());
                    }
            }
            QCOMPARE(seen, expected);
        }
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
        for (auto table = rowsBefore.begin(); table != rowsBefore.end() && !error.isDouble(); ++table)
            if (!f->statements.join(QLatin1Char('\n')).contains(table.key()))
                QCOMPARE(f->rows("SELECT * FROM " + table.key()), table.value());
    }

    // Each value as a provider number, and padded to the ten digits of an insured number and the six of an
    // insurer number.
    void conversions_data() { addJsonCases(kCases, "conversions", "conversion"); }
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
