// SPDX-License-Identifier: MIT
#include "database/EngineFailure.h"

#include <QRegularExpression>

namespace {

// The engine's primary result codes that a user can meet.
enum EngineCode {
    Permission = 3,
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoError = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    NotADatabase = kNotADatabaseCode,
};

// A table or column the statement names and the file lacks, from the engine's text; empty otherwise.
QString missingSchemaSentence(const QString& engineText)
{
    static const QRegularExpression table(QStringLiteral("no such table: ([^\\s(]+)"));
    static const QRegularExpression column(QStringLiteral("no such column: ([^\\s(]+)"));
    static const QRegularExpression namedColumn(QStringLiteral("table (\\S+) has no column named (\\S+)"));
    QRegularExpressionMatch m = table.match(engineText);
    if (m.hasMatch())
        return QStringLiteral("データベースにテーブル「%1」がありません。").arg(m.captured(1));
    m = column.match(engineText);
    if (m.hasMatch())
        return QStringLiteral("データベースに列「%1」がありません。").arg(m.captured(1));
    m = namedColumn.match(engineText);
    if (m.hasMatch())
        return QStringLiteral("データベースのテーブル「%1」に列「%2」がありません。")
            .arg(m.captured(1), m.captured(2));
    return QString();
}

} // namespace

QString DescribeEngineFailure(int code, const QString& engineText, const QString& file)
{
    QString sentence;
    switch (code & 0xff) {
    case Busy:
    case Locked:
        sentence = QStringLiteral("データベースファイルは他のプログラムが使用中です。"
                                  "そのプログラムを終了してから、もう一度起動して下さい。");
        break;
    case ReadOnly:
        sentence = QStringLiteral("データベースファイルが読み取り専用のため、書き込めません。"
                                  "ファイルに書き込めるようにしてから、もう一度起動して下さい。");
        break;
    case Corrupt:
    case NotADatabase:
        sentence = QStringLiteral("データベースファイルが壊れているか、データベースファイルではありません。"
                                  "サポート窓口にお問い合わせ下さい。");
        break;
    case Full:
        sentence = QStringLiteral("ディスクの空き容量が足りないため、データベースに書き込めません。"
                                  "空き容量を増やしてから、もう一度起動して下さい。");
        break;
    case Permission:
    case IoError:
    case CantOpen:
        sentence = QStringLiteral("データベースファイルを読み書きできません。"
                                  "ファイルとその保存先を確かめてから、もう一度起動して下さい。");
        break;
    default:
        sentence = missingSchemaSentence(engineText);
        if (sentence.isEmpty())
            sentence = QStringLiteral("データベースの操作に失敗しました。サポート窓口にお問い合わせ下さい。");
        else
            sentence += QStringLiteral("データベースファイルが古いか壊れている可能性があります。"
                                       "サポート窓口にお問い合わせ下さい。");
        break;
    }
    QString description = sentence;
    if (!file.isEmpty())
        description += QStringLiteral("\nファイル: ") + file;
    if (!engineText.isEmpty())
        description += QLatin1Char('\n') + engineText;
    return description;
}

QString DescribeAccessFileRefusal(const QString& file)
{
    return QStringLiteral("データベースファイルは Access のデータベースです。"
                          "このプログラムは Windows 以外では Access のデータベースを開けません。"
                          "\nファイル: ") +
           file;
}
