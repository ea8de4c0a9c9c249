// SPDX-License-Identifier: MIT
#include "database/RecordFilter.h"

#include "RuntimeError.h"

namespace {

enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like };
enum class Match { Equal, Prefix, Suffix, Contains };

bool isNumericType(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

int sign(double d)
{
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

int compareText(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded : a.compare(b, Qt::CaseSensitive);
}

[[noreturn]] void badFilter(const QString& text, const QString& why)
{
    throw RuntimeError(ErrorNumber::InvalidArgument,
                       QStringLiteral("引数が間違った型、許容範囲外、または競合しています。(Filter: %1 — %2)")
                           .arg(text, why));
}

struct Token
{
    enum Kind { End, LParen, RParen, Comma, Operator, Text, Number, Word } kind = End;
    QString value;
};

class Tokenizer
{
public:
    explicit Tokenizer(const QString& text) : m_text(text) {}

    Token next()
    {
        skipBlanks();
        Token t;
        if (m_pos >= m_text.size())
            return t;
        const QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char(',')) {
            ++m_pos;
            t.kind = c == QLatin1Char('(')   ? Token::LParen
                     : c == QLatin1Char(')') ? Token::RParen
                                             : Token::Comma;
            return t;
        }
        if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
            t.kind = Token::Operator;
            t.value = c;
            ++m_pos;
            if (m_pos < m_text.size()) {
                const QChar d = m_text.at(m_pos);
                if ((c == QLatin1Char('<') && (d == QLatin1Char('>') || d == QLatin1Char('='))) ||
                    (c == QLatin1Char('>') && d == QLatin1Char('='))) {
                    t.value += d;
                    ++m_pos;
                }
            }
            return t;
        }
        if (c == QLatin1Char('\'')) {
            ++m_pos;
            while (true) {
                if (m_pos >= m_text.size())
                    badFilter(m_text, QStringLiteral("unterminated text"));
                const QChar d = m_text.at(m_pos++);
                if (d == QLatin1Char('\'')) {
                    if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('\'')) {
                        t.value += d;
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                t.value += d;
            }
            t.kind = Token::Text;
            return t;
        }
        if (c == QLatin1Char('[')) {
            const qsizetype close = m_text.indexOf(QLatin1Char(']'), m_pos + 1);
            if (close < 0)
                badFilter(m_text, QStringLiteral("unterminated name"));
            t.kind = Token::Word;
            t.value = m_text.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return t;
        }
        if ((c.isDigit() && c.unicode() < 0x80) || c == QLatin1Char('-') || c == QLatin1Char('+') ||
            c == QLatin1Char('.')) {
            const qsizetype start = m_pos++;
            while (m_pos < m_text.size() &&
                   ((m_text.at(m_pos).isDigit() && m_text.at(m_pos).unicode() < 0x80) ||
                    m_text.at(m_pos) == QLatin1Char('.')))
                ++m_pos;
            t.kind = Token::Number;
            t.value = m_text.mid(start, m_pos - start);
            return t;
        }
        if (isNameChar(c)) {
            const qsizetype start = m_pos;
            while (m_pos < m_text.size() && isNameChar(m_text.at(m_pos)))
                ++m_pos;
            t.kind = Token::Word;
            t.value = m_text.mid(start, m_pos - start);
            return t;
        }
        badFilter(m_text, QStringLiteral("unexpected character '%1'").arg(c));
    }

private:
    static bool isNameChar(QChar c)
    {
        return (c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() > 0x7f) && !c.isSpace();
    }
    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

} // namespace

struct RecordFilter::Node
{
    enum Kind { And, Or, Clause } kind = Clause;
    std::vector<std::shared_ptr<const Node>> children;
    int column = -1;
    Op op = Op::Eq;
    QVariant value; // QString or double
    Match match = Match::Equal;

    bool evaluate(const QVariant* row) const
    {
        switch (kind) {
        case And:
            for (const auto& c : children)
                if (!c->evaluate(row))
                    return false;
            return true;
        case Or:
            for (const auto& c : children)
                if (c->evaluate(row))
                    return true;
            return false;
        case Clause:
            return test(row[column]);
        }
        return false;
    }

    bool test(const QVariant& field) const
    {
        if (field.isNull())
            return false;
        if (op == Op::Like) {
            const QString text = field.toString();
            const QString pattern = value.toString();
            switch (match) {
            case Match::Equal:
                return text.compare(pattern, Qt::CaseInsensitive) == 0;
            case Match::Prefix:
                return text.startsWith(pattern, Qt::CaseInsensitive);
            case Match::Suffix:
                return text.endsWith(pattern, Qt::CaseInsensitive);
            case Match::Contains:
                return text.contains(pattern, Qt::CaseInsensitive);
            }
            return false;
        }
        int order = 0;
        if (value.typeId() == QMetaType::Double || isNumericType(field)) {
            bool fieldOk = false, valueOk = false;
            const double f = field.toString().trimmed().toDouble(&fieldOk);
            const double v = value.toString().trimmed().toDouble(&valueOk);
            if (fieldOk && valueOk)
                order = sign(f - v);
            else if (value.typeId() == QMetaType::Double)
                return false; // a number never meets a text that is not one
            else
                order = compareText(field.toString(), value.toString());
        } else {
            order = field.toString().compare(value.toString(), Qt::CaseInsensitive);
        }
        switch (op) {
        case Op::Eq:
            return order == 0;
        case Op::Ne:
            return order != 0;
        case Op::Lt:
            return order < 0;
        case Op::Gt:
            return order > 0;
        case Op::Le:
            return order <= 0;
        case Op::Ge:
            return order >= 0;
        case Op::Like:
            break;
        }
        return false;
    }
};

namespace {

class FilterParser
{
public:
    FilterParser(const QString& text, const ColumnLookup& lookup)
        : m_text(text), m_tokens(text), m_lookup(lookup)
    {
        advance();
    }

    std::shared_ptr<const RecordFilter::Node> parse()
    {
        auto root = orExpression();
        if (m_token.kind != Token::End)
            badFilter(m_text, QStringLiteral("unexpected '%1'").arg(m_token.value));
        return root;
    }

private:
    using Node = RecordFilter::Node;

    void advance() { m_token = m_tokens.next(); }
    bool atKeyword(const char* word) const
    {
        return m_token.kind == Token::Word &&
               m_token.value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    std::shared_ptr<const Node> orExpression()
    {
        auto first = andExpression();
        if (!atKeyword("OR"))
            return first;
        auto node = std::make_shared<Node>();
        node->kind = Node::Or;
        node->children.push_back(first);
        while (atKeyword("OR")) {
            advance();
            node->children.push_back(andExpression());
        }
        return node;
    }

    std::shared_ptr<const Node> andExpression()
    {
        auto first = factor();
        if (!atKeyword("AND"))
            return first;
        auto node = std::make_shared<Node>();
        node->kind = Node::And;
        node->children.push_back(first);
        while (atKeyword("AND")) {
            advance();
            node->children.push_back(factor());
        }
        return node;
    }

    std::shared_ptr<const Node> factor()
    {
        if (m_token.kind == Token::LParen) {
            advance();
            auto inner = orExpression();
            if (m_token.kind != Token::RParen)
                badFilter(m_text, QStringLiteral("missing ')'"));
            advance();
            return inner;
        }
        return clause();
    }

    std::shared_ptr<const Node> clause()
    {
        if (m_token.kind != Token::Word || atKeyword("AND") || atKeyword("OR") || atKeyword("LIKE"))
            badFilter(m_text, QStringLiteral("a column name is expected"));
        auto node = std::make_shared<Node>();
        node->column = m_lookup(m_token.value);
        if (node->column < 0)
            badFilter(m_text, QStringLiteral("unknown column %1").arg(m_token.value));
        advance();

        if (atKeyword("LIKE")) {
            node->op = Op::Like;
        } else if (m_token.kind == Token::Operator) {
            static const QHash<QString, Op> ops = {
                {QStringLiteral("="), Op::Eq}, {QStringLiteral("<>"), Op::Ne}, {QStringLiteral("<"), Op::Lt},
                {QStringLiteral(">"), Op::Gt}, {QStringLiteral("<="), Op::Le}, {QStringLiteral(">="), Op::Ge},
            };
            node->op = ops.value(m_token.value);
        } else {
            badFilter(m_text, QStringLiteral("an operator is expected"));
        }
        advance();

        if (m_token.kind == Token::Text) {
            node->value = m_token.value;
        } else if (m_token.kind == Token::Number && node->op != Op::Like) {
            bool ok = false;
            const double d = m_token.value.toDouble(&ok);
            if (!ok)
                badFilter(m_text, QStringLiteral("bad number %1").arg(m_token.value));
            node->value = d;
        } else {
            badFilter(m_text, QStringLiteral("a value is expected"));
        }
        advance();

        if (node->op == Op::Like)
            splitPattern(*node);
        return node;
    }

    // One wildcard at either end decides the kind of match; the characters between are literal.
    static void splitPattern(Node& node)
    {
        QString pattern = node.value.toString();
        const auto isWild = [](QChar c) { return c == QLatin1Char('*') || c == QLatin1Char('%'); };
        const bool leading = !pattern.isEmpty() && isWild(pattern.front());
        if (leading)
            pattern.remove(0, 1);
        const bool trailing = !pattern.isEmpty() && isWild(pattern.back());
        if (trailing)
            pattern.chop(1);
        node.match = leading && trailing ? Match::Contains
                     : leading           ? Match::Suffix
                     : trailing          ? Match::Prefix
                                         : Match::Equal;
        node.value = pattern;
    }

    const QString& m_text;
    Tokenizer m_tokens;
    const ColumnLookup& m_lookup;
    Token m_token;
};

} // namespace

RecordFilter RecordFilter::parse(const QString& text, const ColumnLookup& lookup)
{
    RecordFilter filter;
    if (text.trimmed().isEmpty())
        return filter;
    filter.m_root = FilterParser(text, lookup).parse();
    return filter;
}

bool RecordFilter::matches(const QVariant* row) const
{
    return !m_root || m_root->evaluate(row);
}

RecordSort RecordSort::parse(const QString& text, const ColumnLookup& lookup)
{
    RecordSort sort;
    if (text.trimmed().isEmpty())
        return sort;
    Tokenizer tokens(text);
    Token t = tokens.next();
    while (true) {
        if (t.kind != Token::Word)
            throw RuntimeError(
                ErrorNumber::InvalidArgument,
                QStringLiteral("引数が間違った型、許容範囲外、または競合しています。(Sort: %1)").arg(text));
        Key key{lookup(t.value), false};
        if (key.column < 0)
            throw RuntimeError(
                ErrorNumber::ItemNotFound,
                QStringLiteral(
                    "要求された名前、または序数に対応する項目がコレクションで見つかりません。(Sort: %1)")
                    .arg(t.value));
        t = tokens.next();
        if (t.kind == Token::Word && t.value.compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0) {
            key.descending = true;
            t = tokens.next();
        } else if (t.kind == Token::Word && t.value.compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0) {
            t = tokens.next();
        }
        sort.m_keys.push_back(key);
        if (t.kind == Token::End)
            break;
        if (t.kind != Token::Comma)
            throw RuntimeError(
                ErrorNumber::InvalidArgument,
                QStringLiteral("引数が間違った型、許容範囲外、または競合しています。(Sort: %1)").arg(text));
        t = tokens.next();
    }
    return sort;
}

int compareFieldValues(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (isNumericType(a) && isNumericType(b))
        return sign(a.toDouble() - b.toDouble());
    return compareText(a.toString(), b.toString());
}

namespace {

// The sort's order of two values. It is total, so that a column that holds numbers and texts side by side
// (the engine allows it) still sorts consistently: nulls first, then numbers by value, then texts.
int compareForSort(const QVariant& a, const QVariant& b)
{
    const auto rank = [](const QVariant& v) { return v.isNull() ? 0 : (isNumericType(v) ? 1 : 2); };
    if (rank(a) != rank(b))
        return rank(a) < rank(b) ? -1 : 1;
    return compareFieldValues(a, b);
}

} // namespace

bool RecordSort::less(const QVariant* a, const QVariant* b) const
{
    for (const Key& key : m_keys) {
        const int order = compareForSort(a[key.column], b[key.column]);
        if (order != 0)
            return key.descending ? order > 0 : order < 0;
    }
    return false;
}

namespace {

// Letter case ignored; katakana folded to hiragana, so that フリガナ and ふりがな are one name.
QString foldName(const QString& name)
{
    QString folded = name.toCaseFolded();
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= 0x30A1 && u <= 0x30F6)
            c = QChar(char16_t(u - 0x60));
    }
    return folded;
}

} // namespace

void ColumnNames::assign(const QStringList& columns)
{
    m_byName.clear();
    m_byName.reserve(columns.size() * 2);
    for (qsizetype i = columns.size() - 1; i >= 0; --i)
        m_byName.insert(foldName(columns.at(i)), int(i));
    for (qsizetype i = columns.size() - 1; i >= 0; --i)
        m_byName.insert(columns.at(i).toCaseFolded(), int(i)); // a name as it stands wins over a folded one
}

int ColumnNames::indexOf(const QString& name) const
{
    auto it = m_byName.constFind(name.toCaseFolded());
    if (it == m_byName.cend())
        it = m_byName.constFind(foldName(name));
    return it == m_byName.cend() ? -1 : it.value();
}
