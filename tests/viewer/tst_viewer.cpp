// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "viewer/ViewerWindow.h"
#include "viewer/WorkbookData.h"

#include <QApplication>
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

    // Each case: statements run on the installed database, then the values read that the case names. The
    // three periods and sixteen lists are always there, and every result is released.
    void reads_data() { addJsonCases("viewer.json", "reads", "read"); }
    void reads()
    {
        QFETCH(QJsonValue, read); // {"sql", "expect"}
        ProgramFixture f("installed", read["sql"].toVariant().toStringList());
        f.open();
        const QMap<QString, QString> found = values(ReadWorkbookData(f.program->database));
        QCOMPARE(found.size(), 8 + 3 + 16);
        const QJsonObject expected = read["expect"].toObject();
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(it.key() + ": " + found.value(it.key(), "<none>"),
                     it.key() + ": " + it.value().toString());
        QVERIFY(!f.rs().isOpen() && f.rs().filter().isEmpty());
    }

    // As the launcher finds it: on NT 10.0 (no store) the per-user copy below the virtualised folder. It is
    // closed before the window shows, also when reading fails part-way with a run-time error. The program
    // folder is the one named to the viewer, else the installed one, else the viewer's own.
    void loadFindsAndClosesTheDatabase()
    {
        TestInstallation install;
        install.installDatabase("installed");
        QVERIFY(QDir(install.localAppData()).mkpath("VirtualStore/Program Files/Hanaplan"));
        const QString copy =
            install.localAppData() + "/VirtualStore/Program Files/Hanaplan/HanacareService.mdb";
        TestInstallation::copyFixture("installed", copy);
        DatabaseInspector(copy).value(
            "INSERT INTO 作成者 (名前, ふりがな, password) VALUES ('個人用', 'こじんよう', 'a')");
        DatabaseInspector(copy).value("INSERT INTO temp (ID) VALUES (1)");

        auto program = install.makeMain(0);
        DatabaseState& database = program->database;
        QCOMPARE(LoadWorkbookData(database, program->services.environment).creatorName, "個人用");
        QVERIFY(!database.DbConnection && !database.SharedRecordset);
        DatabaseInspector(copy).value("DROP TABLE temp");
        HANAPLAN_VERIFY_RUNTIME_ERROR(LoadWorkbookData(database, program->services.environment), 1);
        QVERIFY(!database.DbConnection && !database.SharedRecordset);

        qputenv("HANAPLAN_PROGRAM_FOLDER", "/opt/hanaplan");
        QCOMPARE(ViewerProgramFolder("/usr/lib/viewer"), "/opt/hanaplan");
        qunsetenv("HANAPLAN_PROGRAM_FOLDER");
        QCOMPARE(ViewerProgramFolder("/usr/lib/viewer"), install.programFiles() + "/Hanaplan");
        qunsetenv("ProgramFiles");
        QCOMPARE(ViewerProgramFolder("/usr/lib/viewer"), "/usr/lib/viewer");
    }

    // The window shows what was read from the database the case's statements leave. Texts as long as the
    // database holds stay whole, wrap and scroll within their boxes; the window fits the screen and its close
    // button stays on it. 閉じる has the keyboard when the window opens, and Esc closes the window too.
    void windowShowsWhatWasRead_data() { addJsonCases("viewer.json", "window", "shown"); }
    void windowShowsWhatWasRead()
    {
        QFETCH(QJsonValue, shown); // {"sql", "key"}
        ProgramFixture f("installed", shown["sql"].toVariant().toStringList());
        f.open();
        const WorkbookData data = ReadWorkbookData(f.program->database);
        const bool longest = data.creatorName.size() > 1000;
        const QString copy = "/nonexistent/作業シート.xls";
        ViewerWindow window(data, copy);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), "作業シート");
        for (const char* name : {"名前", "ふりがな", "敬称", "罫線", "説明文表示"})
            QCOMPARE(find<QLabel>(window, name)->text(), values(data)[name]);
        QCOMPARE(find<QLabel>(window, "作成者ID")->text(), data.creatorId);
        for (const PeriodSetting& period : data.periods)
            QCOMPARE(window.findChild<QLabel*>(period.item)->text(), period.method);
        QCOMPARE(find<QLineEdit>(window, "作業ファイル")->text(), copy);
        QCOMPARE(find<QPlainTextEdit>(window, "作業ファイル注意")->toPlainText(), "ファイルがありません");
        auto* sentence = find<QPlainTextEdit>(window, "説明文");
        QCOMPARE(sentence->toPlainText(), data.stampSentence);
        QCOMPARE(sentence->verticalScrollBar()->maximum() > 0, longest);
        QCOMPARE(sentence->horizontalScrollBar()->maximum(), 0);

        auto* table = find<QTableWidget>(window, "検索設定");
        QCOMPARE(table->rowCount(), 16);
        QCOMPARE(
            (QStringList{table->item(0, 0)->text(), table->item(1, 1)->text(), table->item(15, 4)->text()}),
            (QStringList{"1", "利用者（削除済み）", "昇順"}));
        if (!longest) // every row is on view without scrolling
            QVERIFY(table->rowViewportPosition(15) + table->rowHeight(15) <= table->viewport()->height());

        const QRect screen = window.screen()->availableGeometry();
        QCOMPARE(window.frameGeometry().size().boundedTo(screen.size()), window.frameGeometry().size());
        auto* close = find<QPushButton>(window, "閉じる");
        QVERIFY(window.rect().contains(QRect(close->mapTo(&window, QPoint(0, 0)), close->size())));

        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), close);
        QTest::keyClick(close, shown["key"] == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
