// SPDX-License-Identifier: MIT
#include "platform/RegistryStore.h"

#include "platform/Environment.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>

namespace platform {
namespace {

const QString kUnicodeHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kAnsiHeader = QStringLiteral("REGEDIT4");

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// A number of one to eight hexadecimal digits.
std::optional<quint32> parseHex32(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    quint32 value = 0;
    for (QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value << 4 | quint32(d);
    }
    return value;
}

// The bytes of "bb,bb,..." (one or two digits each, blanks around them, one trailing comma allowed).
std::optional<QByteArray> parseHexBytes(QStringView list)
{
    QByteArray bytes;
    list = trimmed(list);
    if (list.isEmpty())
        return bytes;
    if (list.endsWith(QLatin1Char(',')))
        list.chop(1);
    bytes.reserve(list.size() / 3 + 1);
    qsizetype start = 0;
    while (start <= list.size()) {
        qsizetype comma = list.indexOf(QLatin1Char(','), start);
        if (comma < 0)
            comma = list.size();
        const QStringView token = trimmed(list.mid(start, comma - start));
        if (token.isEmpty() || token.size() > 2)
            return std::nullopt;
        const std::optional<quint32> byte = parseHex32(token);
        if (!byte)
            return std::nullopt;
        bytes.append(char(*byte));
        start = comma + 1;
    }
    return bytes;
}

// A quoted text at the start of `text` with the escapes \\ and \"; a backslash before any other character
// stays as it is. Sets `rest` to what follows the closing quote.
std::optional<QString> parseQuoted(QStringView text, QStringView& rest)
{
    if (!text.startsWith(QLatin1Char('"')))
        return std::nullopt;
    QString result;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"')) {
            rest = text.mid(i + 1);
            return result;
        }
        if (c == QLatin1Char('\\') && i + 1 < text.size() &&
            (text[i + 1] == QLatin1Char('\\') || text[i + 1] == QLatin1Char('"'))) {
            result.append(text[++i]);
            continue;
        }
        result.append(c);
    }
    return std::nullopt;
}

// The texts of a hex(1), hex(2) or hex(7) value in the program's code page. A Unicode export holds them as
// UTF-16LE (an odd last byte is dropped); an ANSI export in its code page already.
QByteArray textData(const QByteArray& stored, bool unicodeExport)
{
    if (!unicodeExport)
        return stored;
    QString text;
    text.reserve(stored.size() / 2);
    for (qsizetype i = 0; i + 1 < stored.size(); i += 2)
        text.append(QChar(qFromLittleEndian<quint16>(stored.constData() + i)));
    return text.toUtf8();
}

bool isTextType(quint32 type)
{
    return type == RegistryType::String || type == RegistryType::ExpandString ||
           type == RegistryType::MultiString;
}

// The value data after "=", or nothing when the line cannot be read. An empty optional inside marks the
// deletion "-".
std::optional<std::optional<RegistryValue>> parseData(QStringView data, bool unicodeExport)
{
    data = trimmed(data);
    if (data == QLatin1String("-"))
        return std::optional<RegistryValue>();
    if (data.startsWith(QLatin1Char('"'))) {
        QStringView rest;
        const std::optional<QString> text = parseQuoted(data, rest);
        if (!text || !trimmed(rest).isEmpty())
            return std::nullopt;
        QByteArray bytes = text->toUtf8();
        bytes.append('\0');
        return std::optional<RegistryValue>(RegistryValue{RegistryType::String, bytes});
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const std::optional<quint32> number = parseHex32(trimmed(data.mid(6)));
        if (!number)
            return std::nullopt;
        QByteArray bytes(4, '\0');
        qToLittleEndian(*number, bytes.data());
        return std::optional<RegistryValue>(RegistryValue{RegistryType::Dword, bytes});
    }
    if (!data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive))
        return std::nullopt;
    QStringView rest = data.mid(3);
    quint32 type = RegistryType::Binary;
    if (rest.startsWith(QLatin1Char('('))) {
        const qsizetype close = rest.indexOf(QLatin1Char(')'));
        if (close < 0)
            return std::nullopt;
        const std::optional<quint32> number = parseHex32(rest.mid(1, close - 1));
        if (!number)
            return std::nullopt;
        type = *number;
        rest = rest.mid(close + 1);
    }
    if (!rest.startsWith(QLatin1Char(':')))
        return std::nullopt;
    std::optional<QByteArray> bytes = parseHexBytes(rest.mid(1));
    if (!bytes)
        return std::nullopt;
    if (isTextType(type))
        *bytes = textData(*bytes, unicodeExport);
    return std::optional<RegistryValue>(RegistryValue{type, *bytes});
}

// "HKLM" or "HKCR" followed by the case-folded path below the root, or empty when the section names another
// root or an empty key name.
QString keyId(QStringView fullPath)
{
    const qsizetype slash = fullPath.indexOf(QLatin1Char('\\'));
    const QStringView rootName = slash < 0 ? fullPath : fullPath.left(slash);
    QString id;
    if (rootName.compare(QLatin1String("HKEY_LOCAL_MACHINE"), Qt::CaseInsensitive) == 0)
        id = QStringLiteral("HKLM");
    else if (rootName.compare(QLatin1String("HKEY_CLASSES_ROOT"), Qt::CaseInsensitive) == 0)
        id = QStringLiteral("HKCR");
    else
        return QString();
    if (slash < 0)
        return id;
    QStringView below = fullPath.mid(slash + 1);
    if (below.endsWith(QLatin1Char('\\')))
        below.chop(1);
    if (below.isEmpty())
        return id;
    if (below.startsWith(QLatin1Char('\\')) || below.endsWith(QLatin1Char('\\')) ||
        below.contains(QLatin1String("\\\\")))
        return QString();
    return id + QLatin1Char('\\') + below.toString().toCaseFolded();
}

QString keyId(RegistryRoot root, const QString& keyPath)
{
    return keyId(QString((root == RegistryRoot::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                                             : QStringLiteral("HKEY_CLASSES_ROOT")) +
                         QLatin1Char('\\') + keyPath));
}

// The file's text: UTF-16LE after its byte-order mark, otherwise UTF-8 (with or without a mark).
QString decode(QByteArrayView bytes)
{
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE) {
        QStringDecoder decoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
        return decoder.decode(bytes.sliced(2, (bytes.size() - 2) & ~qsizetype(1)));
    }
    if (bytes.size() >= 3 && uchar(bytes[0]) == 0xEF && uchar(bytes[1]) == 0xBB && uchar(bytes[2]) == 0xBF)
        bytes = bytes.sliced(3);
    return QString::fromUtf8(bytes);
}

} // namespace

QString RegistryStore::path(const Environment& environment)
{
    if (qEnvironmentVariableIsSet("HANAPLAN_REGISTRY"))
        return qEnvironmentVariable("HANAPLAN_REGISTRY");
    return environment.programFolder() + QStringLiteral("/system.reg");
}

RegistryStore RegistryStore::open(const Environment& environment)
{
    return fromFile(path(environment));
}

RegistryStore RegistryStore::fromFile(const QString& path)
{
    // Only a regular file: opening a pipe would wait for a writer for ever.
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return RegistryStore();
    // One byte more than allowed is asked for, so that a file that grows while it is read still counts as too
    // large.
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (bytes.size() > maxFileSize || file.error() != QFileDevice::NoError)
        return RegistryStore();
    return fromBytes(bytes);
}

RegistryStore RegistryStore::fromBytes(QByteArrayView bytes)
{
    RegistryStore store;
    if (bytes.size() > maxFileSize)
        return store;
    store.parseText(decode(bytes));
    return store;
}

void RegistryStore::parseText(QStringView text)
{
    qsizetype position = 0;
    // The next physical line without its end (\r\n, \n or \r); false at the end of the text.
    auto nextLine = [&](QStringView& line) {
        if (position >= text.size())
            return false;
        qsizetype end = position;
        while (end < text.size() && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        line = text.mid(position, end - position);
        position = end;
        if (position < text.size() && text[position] == QLatin1Char('\r'))
            ++position;
        if (position < text.size() && text[position] == QLatin1Char('\n'))
            ++position;
        return true;
    };

    QStringView line;
    if (!nextLine(line))
        return;
    const QStringView header = trimmed(line);
    const bool unicodeExport = header == kUnicodeHeader;
    if (!unicodeExport && header != kAnsiHeader)
        return;

    Values* current = nullptr;
    while (nextLine(line)) {
        const QStringView trimmedLine = trimmed(line);
        if (trimmedLine.isEmpty() || trimmedLine.startsWith(QLatin1Char(';')))
            continue;

        if (trimmedLine.startsWith(QLatin1Char('['))) {
            current = nullptr;
            if (!trimmedLine.endsWith(QLatin1Char(']')))
                continue;
            QStringView path = trimmedLine.mid(1, trimmedLine.size() - 2);
            const bool deletion = path.startsWith(QLatin1Char('-'));
            const QString id = keyId(deletion ? path.mid(1) : path);
            if (id.isEmpty())
                continue;
            if (deletion)
                deleteKey(id);
            else
                current = &m_keys[id];
            continue;
        }

        QString name;
        QStringView rest;
        if (trimmedLine.startsWith(QLatin1Char('@'))) {
            rest = trimmedLine.mid(1);
        } else {
            const std::optional<QString> quoted = parseQuoted(trimmedLine, rest);
            if (!quoted)
                continue;
            name = *quoted;
        }
        rest = trimmed(rest);
        if (!rest.startsWith(QLatin1Char('=')))
            continue;
        QStringView data = trimmed(rest.mid(1));

        // Binary data goes on in the next line after a final backslash.
        QString joined;
        if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive) && data.endsWith(QLatin1Char('\\'))) {
            joined = data.chopped(1).toString();
            QStringView continuation;
            while (nextLine(continuation)) {
                continuation = trimmed(continuation);
                if (!continuation.endsWith(QLatin1Char('\\'))) {
                    joined += continuation;
                    break;
                }
                joined += continuation.chopped(1);
            }
            data = joined;
        }

        if (!current)
            continue;
        const std::optional<std::optional<RegistryValue>> value = parseData(data, unicodeExport);
        if (!value)
            continue;
        if (*value)
            current->insert(name.toCaseFolded(), **value);
        else
            current->remove(name.toCaseFolded());
    }
}

std::optional<RegistryValue> RegistryStore::value(RegistryRoot root, const QString& keyPath,
                                                  const QString& name) const
{
    const QString id = keyId(root, keyPath);
    const auto key = id.isEmpty() ? m_keys.end() : m_keys.find(id);
    if (key == m_keys.end())
        return std::nullopt;
    const auto value = key->second.constFind(name.toCaseFolded());
    if (value == key->second.constEnd())
        return std::nullopt;
    return *value;
}

void RegistryStore::deleteKey(const QString& id)
{
    const QString below = id + QLatin1Char('\\');
    bool existed = m_keys.erase(id) > 0;
    auto first = m_keys.lower_bound(below);
    auto last = first;
    while (last != m_keys.end() && last->first.startsWith(below))
        ++last;
    existed = existed || first != last;
    m_keys.erase(first, last);
    // The key's parent was there as long as the key was, and stays.
    const qsizetype slash = id.lastIndexOf(QLatin1Char('\\'));
    if (existed && slash > 0)
        m_keys.try_emplace(id.left(slash));
}

} // namespace platform
