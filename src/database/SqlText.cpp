// SPDX-License-Identifier: MIT
#include "database/SqlText.h"

#include <QRegularExpression>

namespace sqltext {
namespace {

QString firstWord(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("^\\s*(\\w+)"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    const auto m = word.match(text);
    return m.hasMatch() ? m.captured(1).toUpper() : QString();
}

bool isIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() > 0x7f;
}

// Replaces string and number literals with placeholders; quoted identifiers stay as they are.
EngineStatement bindLiterals(const QString& text)
{
    EngineStatement out;
    out.text.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'')) {
            QString value;
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (text.at(j) == QLatin1Char('\'')) {
                    if (j + 1 < n && text.at(j + 1) == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                value += text.at(j++);
            }
            if (!closed) { // leave it to the engine to refuse
                out.text += text.mid(i);
                break;
            }
            out.text += QLatin1Char('?');
            out.values.append(value);
            i = j + 1;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            qsizetype j = text.indexOf(close, i + 1);
            j = j < 0 ? n : j + 1;
            out.text += text.mid(i, j - i);
            i = j;
        } else if (c.isDigit() && c.unicode() < 0x80 &&
                   (i == 0 || (!isIdentifierChar(text.at(i - 1)) && text.at(i - 1) != QLatin1Char('.')))) {
            qsizetype j = i;
            while (j < n && text.at(j).isDigit() && text.at(j).unicode() < 0x80)
                ++j;
            bool fraction = false;
            if (j + 1 < n && text.at(j) == QLatin1Char('.') && text.at(j + 1).isDigit()) {
                fraction = true;
                ++j;
                while (j < n && text.at(j).isDigit() && text.at(j).unicode() < 0x80)
                    ++j;
            }
            if (j < n && isIdentifierChar(text.at(j))) { // not a literal, e.g. part of a name
                while (j < n && isIdentifierChar(text.at(j)))
                    ++j;
                out.text += text.mid(i, j - i);
                i = j;
                continue;
            }
            const QString literal = text.mid(i, j - i);
            bool ok = false;
            const qlonglong whole = fraction ? 0 : literal.toLongLong(&ok);
            if (ok)
                out.values.append(whole);
            else
                out.values.append(literal.toDouble());
            out.text += QLatin1Char('?');
            i = j;
        } else if (isIdentifierChar(c)) {
            qsizetype j = i;
            while (j < n && isIdentifierChar(text.at(j)))
                ++j;
            out.text += text.mid(i, j - i);
            i = j;
        } else {
            out.text += c;
            ++i;
        }
    }
    return out;
}

} // namespace

SourceKind classify(const QString& source)
{
    const QString word = firstWord(source);
    if (word == QLatin1String("SELECT") || word == QLatin1String("WITH"))
        return SourceKind::Query;
    static const QStringList statements = {
        QStringLiteral("DELETE"), QStringLiteral("INSERT"),  QStringLiteral("UPDATE"),
        QStringLiteral("ALTER"),  QStringLiteral("CREATE"),  QStringLiteral("DROP"),
        QStringLiteral("PRAGMA"), QStringLiteral("REPLACE"),
    };
    return statements.contains(word) ? SourceKind::Statement : SourceKind::Table;
}

EngineStatement forEngine(const QString& statement)
{
    QString text = statement;
    const QString word = firstWord(text);
    if (word == QLatin1String("DELETE")) {
        static const QRegularExpression deleteAll(QStringLiteral("^(\\s*DELETE)\\s+\\*\\s+(FROM\\b)"),
                                                  QRegularExpression::CaseInsensitiveOption);
        text.replace(deleteAll, QStringLiteral("\\1 \\2"));
    }
    if (word == QLatin1String("ALTER") || word == QLatin1String("CREATE") || word == QLatin1String("DROP")) {
        // Access's Memo is long text. The engine would give a column typed Memo numeric affinity and turn a
        // text such as "007" into the number 7, so it is created as Text.
        static const QRegularExpression memo(QStringLiteral("\\bMemo\\b(?=\\s*(,|\\)|;|$))"),
                                             QRegularExpression::CaseInsensitiveOption);
        text.replace(memo, QStringLiteral("Text"));
        return {text, {}};
    }
    if (word == QLatin1String("PRAGMA"))
        return {text, {}};
    return bindLiterals(text);
}

TableQuery parseTableQuery(const QString& query)
{
    static const QRegularExpression plain(
        QStringLiteral("^\\s*SELECT\\s+(.+?)\\s+FROM\\s+([^\\s,;()]+|\"[^\"]+\"|\\[[^\\]]+\\])"
                       "(\\s+(?:WHERE|ORDER\\s+BY)\\b.*)?\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption |
            QRegularExpression::UseUnicodePropertiesOption);
    const auto m = plain.match(query);
    TableQuery out;
    if (!m.hasMatch())
        return out;
    const QString columns = m.captured(1);
    // A query with DISTINCT or an aggregate does not give rows of the table itself.
    static const QRegularExpression derived(QStringLiteral("^\\s*DISTINCT\\b|\\("),
                                            QRegularExpression::CaseInsensitiveOption);
    if (derived.match(columns).hasMatch())
        return out;
    static const QRegularExpression joined(QStringLiteral("\\b(JOIN|GROUP\\s+BY|UNION|HAVING)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (joined.match(m.captured(3)).hasMatch())
        return out;
    out.columns = columns;
    out.table = m.captured(2);
    if ((out.table.startsWith(QLatin1Char('"')) && out.table.endsWith(QLatin1Char('"'))) ||
        (out.table.startsWith(QLatin1Char('[')) && out.table.endsWith(QLatin1Char(']'))))
        out.table = out.table.mid(1, out.table.size() - 2);
    out.rest = m.captured(3);
    out.valid = true;
    return out;
}

} // namespace sqltext
