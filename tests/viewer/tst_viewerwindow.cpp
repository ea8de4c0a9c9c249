// SPDX-License-Identifier: MIT
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

// The viewer's window shows what was read.
class ViewerWindowTest : public QObject
{
    Q_OBJECT

private:
    static WorkbookData sample()
    {
        WorkbookData data;
        data.creatorId = QStringLiteral("12");
        data.creatorName = QStringLiteral("山田 一郎");
        data.creatorReading = QStringLiteral("やまだ いちろう");
        data.honorific = QStringLiteral("殿");
        data.ruledLines = QStringLiteral("なし");
        data.stamp = QStringLiteral("あり");
        data.stampSentence = QStringLiteral(
            "説明を受け、同意し、交付を受けました。内容についての質問は担当の介護支援専門員が受け付けます。");
        data.periods = {{8, QStringLiteral("長期目標の期間"), QStringLiteral("期間のみ")},
                        {9, QStringLiteral("短期目標の期間"), QStringLiteral("範囲のみ")},
                        {12, QStringLiteral("サービス種別の期間"), QStringLiteral("期間と範囲")}};
        for (int id = 1; id <= 16; ++id)
            data.lists.append({id, QStringLiteral("項目%1").arg(id), QStringLiteral("全員"),
                               QStringLiteral("名前"), QStringLiteral("昇順"), id == 2});
        return data;
    }

    static QString text(QWidget& window, const QString& name)
    {
        if (auto* label = window.findChild<QLabel*>(name))
            return label->text();
        if (auto* edit = window.findChild<QLineEdit*>(name))
            return edit->text();
        if (auto* edit = window.findChild<QPlainTextEdit*>(name))
            return edit->toPlainText();
        return QStringLiteral("<no %1>").arg(name);
    }

private Q_SLOTS:
    void showsWhatWasRead()
    {
        const QString copy = QStringLiteral("/nonexistent/作業シート.xls");
        ViewerWindow window(sample(), copy);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("作業シート"));

        const QList<std::pair<QString, QString>> values = {{"作成者ID", "12"},
                                                           {"名前", "山田 一郎"},
                                                           {"ふりがな", "やまだ いちろう"},
                                                           {"敬称", "殿"},
                                                           {"罫線", "なし"},
                                                           {"説明文表示", "あり"},
                                                           {"長期目標の期間", "期間のみ"},
                                                           {"短期目標の期間", "範囲のみ"},
                                                           {"サービス種別の期間", "期間と範囲"},
                                                           {"作業ファイル", copy},
                                                           {"作業ファイル注意", "ファイルがありません"}};
        for (const auto& [name, expected] : values)
            QCOMPARE(text(window, name), expected);
        QCOMPARE(text(window, QStringLiteral("説明文")), sample().stampSentence);

        // Nothing cut off: the sentence's wrapped lines fit its box.
        auto* sentence = window.findChild<QPlainTextEdit*>(QStringLiteral("説明文"));
        QVERIFY(sentence);
        QCOMPARE(sentence->verticalScrollBar()->maximum(), 0);

        auto* table = window.findChild<QTableWidget*>(QStringLiteral("検索設定"));
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 16);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("1"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("項目1"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("項目2（削除済み）"));
        QCOMPARE(table->item(15, 4)->text(), QStringLiteral("昇順"));
        // Every row is on view without scrolling.
        QVERIFY(table->rowViewportPosition(15) + table->rowHeight(15) <= table->viewport()->height());
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
        ViewerWindow window(sample(), QStringLiteral("/nonexistent/作業シート.xls"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("閉じる"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!window.isVisible());
    }

    // Texts as long as the database holds stay whole, wrap and scroll; the window fits the screen and its
    // close button stays on it.
    void longTextsKeepTheCloseButtonOnScreen()
    {
        WorkbookData data = sample();
        data.stampSentence =
            QStringLiteral("説明を受け、同意し、交付を受けました。").repeated(1725).left(32767);
        data.creatorName = QStringLiteral("山田").repeated(500);
        ViewerWindow window(data, QStringLiteral("/nonexistent/作業シート.xls"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QRect screen = window.screen()->availableGeometry();
        QVERIFY2(window.frameGeometry().height() <= screen.height(),
                 qPrintable(QString::number(window.height())));
        QVERIFY2(window.frameGeometry().width() <= screen.width(),
                 qPrintable(QString::number(window.width())));
        auto* close = window.findChild<QPushButton*>(QStringLiteral("閉じる"));
        QVERIFY(window.rect().contains(QRect(close->mapTo(&window, QPoint(0, 0)), close->size())));
        QCOMPARE(text(window, QStringLiteral("説明文")), data.stampSentence);
        QCOMPARE(text(window, QStringLiteral("名前")), data.creatorName);
        auto* sentence = window.findChild<QPlainTextEdit*>(QStringLiteral("説明文"));
        QVERIFY(sentence->verticalScrollBar()->maximum() > 0);
        QVERIFY(sentence->horizontalScrollBar()->maximum() == 0);
    }
};

QTEST_MAIN(ViewerWindowTest)
#include "tst_viewerwindow.moc"
