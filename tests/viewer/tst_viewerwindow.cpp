// SPDX-License-Identifier: MIT
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

// The viewer's window shows what was read, whole, and closes from the keyboard.
class ViewerWindowTest : public QObject
{
    Q_OBJECT

private:
    static WorkbookData sample(int repeat)
    {
        WorkbookData data;
        data.creatorId = QStringLiteral("12");
        data.creatorName = QStringLiteral("山田 一郎").repeated(repeat);
        data.creatorReading = QStringLiteral("やまだ いちろう");
        data.honorific = QStringLiteral("殿");
        data.ruledLines = QStringLiteral("なし");
        data.stamp = QStringLiteral("あり");
        data.stampSentence =
            QStringLiteral("説明を受け、同意し、交付を受けました。").repeated(repeat * 2).left(32767);
        data.periods = {{8, QStringLiteral("長期目標の期間"), QStringLiteral("期間のみ")},
                        {9, QStringLiteral("短期目標の期間"), QStringLiteral("範囲のみ")},
                        {12, QStringLiteral("サービス種別の期間"), QStringLiteral("期間と範囲")}};
        for (int id = 1; id <= 16; ++id)
            data.lists.append({id, QStringLiteral("項目%1").arg(id), QStringLiteral("全員"),
                               QStringLiteral("名前"), QStringLiteral("昇順"), id == 2});
        return data;
    }
    template <typename T> static T* find(QWidget& window, const char* name)
    {
        return window.findChild<T*>(QString::fromUtf8(name));
    }

private Q_SLOTS:
    // Texts as long as the database holds stay whole, wrap and scroll within their boxes; the window fits
    // the screen and its close button stays on it.
    void showsWhatWasRead_data()
    {
        QTest::addColumn<int>("repeat");
        QTest::newRow("ordinary texts") << 1;
        QTest::newRow("longest texts") << 1000;
    }
    void showsWhatWasRead()
    {
        QFETCH(int, repeat);
        const WorkbookData data = sample(repeat);
        const QString copy = QStringLiteral("/nonexistent/作業シート.xls");
        ViewerWindow window(data, copy);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("作業シート"));
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
        QCOMPARE(find<QPlainTextEdit>(window, "作業ファイル注意")->toPlainText(),
                 QStringLiteral("ファイルがありません"));
        auto* sentence = find<QPlainTextEdit>(window, "説明文");
        QCOMPARE(sentence->toPlainText(), data.stampSentence);
        QCOMPARE(sentence->verticalScrollBar()->maximum() > 0, repeat > 1);
        QCOMPARE(sentence->horizontalScrollBar()->maximum(), 0);

        auto* table = find<QTableWidget>(window, "検索設定");
        QCOMPARE(table->rowCount(), 16);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("1"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("項目2（削除済み）"));
        QCOMPARE(table->item(15, 4)->text(), QStringLiteral("昇順"));
        if (repeat == 1) // every row is on view without scrolling
            QVERIFY(table->rowViewportPosition(15) + table->rowHeight(15) <= table->viewport()->height());

        const QRect screen = window.screen()->availableGeometry();
        QVERIFY(window.frameGeometry().height() <= screen.height());
        QVERIFY(window.frameGeometry().width() <= screen.width());
        auto* close = find<QPushButton>(window, "閉じる");
        QVERIFY(window.rect().contains(QRect(close->mapTo(&window, QPoint(0, 0)), close->size())));
    }

    // 閉じる has the keyboard when the window opens; Esc closes the window too.
    void closesWithTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void closesWithTheKeyboard()
    {
        QFETCH(int, key);
        ViewerWindow window(sample(1), QStringLiteral("/nonexistent/作業シート.xls"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("閉じる"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(ViewerWindowTest)
#include "tst_viewerwindow.moc"
