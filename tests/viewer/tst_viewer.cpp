// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "viewer/ViewerWindow.h"
#include "viewer/WorkbookData.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

// The stand-in spreadsheet: what it reads from the database, on real database files, and its window.
class ViewerTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;

    // Every value read, by the name the viewer's window gives it; a period as "item|method", a list as
    // "list|filter|sort|order", with "|削除済み" when its row is deleted.
    static QMap<QString, QString> values(const WorkbookData& data)
    {
        QMap<QString, QString> out{
            {"ID", data.creatorId},     {"名前", data.creatorName},    {"ふりがな", data.creatorReading},
            {"注意", data.creatorNote}, {"敬称", data.honorific},      {"罫線", data.ruledLines},
            {"説明文表示", data.stamp}, {"説明文", data.stampSentence}};
        for (const PeriodSetting& p : data.periods)
            out.insert(QStringLiteral("期間 %1").arg(p.id), p.item + '|' + p.method);
        for (const ListSetting& l : data.lists)
            out.insert(QStringLiteral("一覧 %1").arg(l.id),
                       QStringList{l.list, l.filter, l.sort, l.order}.join('|') +
                           (l.deleted ? "|削除済み" : ""));
        return out;
    }
    static WorkbookData sample(int repeat)
    {
        WorkbookData data;
        data.creatorId = "12";
        data.creatorName = QStringLiteral("山田 一郎").repeated(repeat);
        data.creatorReading = "やまだ いちろう";
        data.honorific = "殿";
        data.ruledLines = "なし";
        data.stamp = "あり";
        data.stampSentence =
            QStringLiteral("説明を受け、同意し、交付を受けました。").repeated(repeat * 2).left(32767);
        data.periods = {{8, "長期目標の期間", "期間のみ"},
                        {9, "短期目標の期間", "範囲のみ"},
                        {12, "サービス種別の期間", "期間と範囲"}};
        for (int id = 1; id <= 16; ++id)
            data.lists.append({id, QStringLiteral("項目%1").arg(id), "全員", "名前", "昇順", id == 2});
        return data;
    }
    template <typename T> static T* find(QWidget& window, const char* name)
    {
        return window.findChild<T*>(QString::fromUtf8(name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qunsetenv("HANAPLAN_REGISTRY");
        qunsetenv("HANAPLAN_PROGRAM_FOLDER");
    }
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase("installed");
        program = install->makeMain();
        OpenDatabase(program->database, program->services.environment);
    }
    void cleanup()
    {
        program.reset();
        install.reset();
    }

    // Each case of tests/data/viewer/workbook-data.json: statements run on the installed database, then
    // the values read that the case names. The three periods and sixteen lists are always there, and every
    // result is released.
    void reads_data()
    {
        QTest::addColumn<QJsonObject>("read");
        QFile file(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/viewer/workbook-data.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (const QJsonValue& read : QJsonDocument::fromJson(file.readAll()).array())
            QTest::newRow(qPrintable(read["case"].toString())) << read.toObject();
    }
    void reads()
    {
        QFETCH(QJsonObject, read);
        for (const QJsonValue& statement : read["sql"].toArray())
            program->database.DbConnection->execute(statement.toString());
        const QMap<QString, QString> found = values(ReadWorkbookData(program->database));
        QCOMPARE(found.size(), 8 + 3 + 16);
        const QJsonObject expected = read["expect"].toObject();
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(it.key() + ": " + found.value(it.key(), "<none>"),
                     it.key() + ": " + it.value().toString());
        QVERIFY(!program->database.SharedRecordset->isOpen());
        QCOMPARE(program->database.SharedRecordset->filter(), QString());
    }

    // As the launcher finds it: on NT 10.0 (no store) the per-user copy below the virtualised folder. It is
    // closed before the window shows, also when reading fails part-way with a run-time error.
    void loadFindsAndClosesTheDatabase()
    {
        CloseDatabase(program->database);
        QVERIFY(QDir(install->localAppData()).mkpath("VirtualStore/Program Files/Hanaplan"));
        const QString copy =
            install->localAppData() + "/VirtualStore/Program Files/Hanaplan/HanacareService.mdb";
        TestInstallation::copyFixture("installed", copy);
        DatabaseInspector(copy).value(
            "INSERT INTO 作成者 (名前, ふりがな, password) VALUES ('個人用', 'こじんよう', 'a')");
        DatabaseInspector(copy).value("INSERT INTO temp (ID) VALUES (1)");

        auto fresh = install->makeMain(0);
        QCOMPARE(LoadWorkbookData(fresh->database, fresh->services.environment).creatorName, "個人用");
        QVERIFY(fresh->database.WindowsVersionCode > 2100);
        QCOMPARE(fresh->database.VirtualStorePath, "\\VirtualStore\\Program Files\\Hanaplan");
        QVERIFY(!fresh->database.DbConnection && !fresh->database.SharedRecordset);
        DatabaseInspector(copy).value("DROP TABLE temp");
        HANAPLAN_VERIFY_RUNTIME_ERROR(LoadWorkbookData(fresh->database, fresh->services.environment), 1);
        QVERIFY(!fresh->database.DbConnection && !fresh->database.SharedRecordset);
    }

    void programFolder()
    {
        qputenv("HANAPLAN_PROGRAM_FOLDER", "/opt/hanaplan");
        QCOMPARE(ViewerProgramFolder("/usr/lib/viewer"), "/opt/hanaplan");
        qunsetenv("HANAPLAN_PROGRAM_FOLDER");
        QCOMPARE(ViewerProgramFolder("/usr/lib/viewer"), install->programFiles() + "/Hanaplan");
        qunsetenv("ProgramFiles");
        QCOMPARE(ViewerProgramFolder("/usr/lib/viewer"), "/usr/lib/viewer");
    }

    // The window shows what was read. Texts as long as the database holds stay whole, wrap and scroll
    // within their boxes; the window fits the screen and its close button stays on it.
    void windowShowsWhatWasRead_data()
    {
        QTest::addColumn<int>("repeat");
        QTest::newRow("ordinary texts") << 1;
        QTest::newRow("longest texts") << 1000;
    }
    void windowShowsWhatWasRead()
    {
        QFETCH(int, repeat);
        const WorkbookData data = sample(repeat);
        const QString copy = "/nonexistent/作業シート.xls";
        ViewerWindow window(data, copy);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), "作業シート");
        const std::pair<const char*, QString> values[] = {{"作成者ID", "12"},
                                                          {"名前", data.creatorName},
                                                          {"ふりがな", "やまだ いちろう"},
                                                          {"敬称", "殿"},
                                                          {"罫線", "なし"},
                                                          {"説明文表示", "あり"},
                                                          {"長期目標の期間", "期間のみ"},
                                                          {"短期目標の期間", "範囲のみ"},
                                                          {"サービス種別の期間", "期間と範囲"}};
        for (const auto& [name, expected] : values)
            QCOMPARE(find<QLabel>(window, name)->text(), expected);
        QCOMPARE(find<QLineEdit>(window, "作業ファイル")->text(), copy);
        QCOMPARE(find<QPlainTextEdit>(window, "作業ファイル注意")->toPlainText(), "ファイルがありません");
        auto* sentence = find<QPlainTextEdit>(window, "説明文");
        QCOMPARE(sentence->toPlainText(), data.stampSentence);
        QCOMPARE(sentence->verticalScrollBar()->maximum() > 0, repeat > 1);
        QCOMPARE(sentence->horizontalScrollBar()->maximum(), 0);

        auto* table = find<QTableWidget>(window, "検索設定");
        QCOMPARE(table->rowCount(), 16);
        QCOMPARE(table->item(0, 0)->text(), "1");
        QCOMPARE(table->item(1, 1)->text(), "項目2（削除済み）");
        QCOMPARE(table->item(15, 4)->text(), "昇順");
        if (repeat == 1) // every row is on view without scrolling
            QVERIFY(table->rowViewportPosition(15) + table->rowHeight(15) <= table->viewport()->height());

        const QRect screen = window.screen()->availableGeometry();
        QVERIFY(window.frameGeometry().height() <= screen.height());
        QVERIFY(window.frameGeometry().width() <= screen.width());
        auto* close = find<QPushButton>(window, "閉じる");
        QVERIFY(window.rect().contains(QRect(close->mapTo(&window, QPoint(0, 0)), close->size())));
    }

    // 閉じる has the keyboard when the window opens; Esc closes the window too.
    void windowClosesWithTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void windowClosesWithTheKeyboard()
    {
        QFETCH(int, key);
        ViewerWindow window(sample(1), "/nonexistent/作業シート.xls");
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget()->objectName(), "閉じる");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
