// SPDX-License-Identifier: MIT
#include "platform/FileVersion.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <array>
#include <vector>

namespace platform {
namespace {

constexpr quint32 kVersionResourceType = 16; // RT_VERSION
constexpr quint32 kVersionResourceName = 1;  // VS_VERSION_INFO
constexpr quint32 kSubdirectoryFlag = 0x80000000;
constexpr quint32 kNameIsStringFlag = 0x80000000;
// Languages tried for the version resource, in order, before the first one there is: neutral, Japanese,
// US English.
constexpr std::array<quint32, 3> kPreferredLanguages = {0x0000, 0x0411, 0x0409};

constexpr qsizetype kBlockHeaderSize = 6; // wLength, wValueLength, wType
const QString kVersionInfoKey = QStringLiteral("VS_VERSION_INFO");
constexpr qsizetype kFixedInfoOffset = 40; // header and key with its NUL, rounded up to 4 bytes
constexpr qsizetype kFixedInfoSize = 52;

quint16 u16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Whether a block of at least kFixedInfoOffset bytes is keyed "VS_VERSION_INFO", NUL-terminated, in UTF-16.
bool hasVersionInfoKey(const QByteArray& block)
{
    for (qsizetype i = 0; i <= kVersionInfoKey.size(); ++i) {
        const char16_t expected = i < kVersionInfoKey.size() ? kVersionInfoKey[i].unicode() : u'\0';
        if (u16(block, kBlockHeaderSize + 2 * i) != expected)
            return false;
    }
    return true;
}

// Bytes of an image held in memory.
class MemorySource
{
public:
    explicit MemorySource(QByteArrayView image) : m_image(image) {}

    // `size` bytes from `offset`, or false when they are not all there.
    bool read(quint64 offset, quint64 size, QByteArray& out)
    {
        const quint64 total = quint64(m_image.size());
        if (offset > total || size > total - offset)
            return false;
        out = m_image.sliced(qsizetype(offset), qsizetype(size)).toByteArray();
        return true;
    }

private:
    QByteArrayView m_image;
};

// Bytes of an image in a file, read piece by piece as the reader asks for them.
class FileSource
{
public:
    explicit FileSource(const QString& path) : m_file(path)
    {
        // Only a regular file: opening a pipe or a device could block or never end.
        if (QFileInfo(path).isFile() && m_file.open(QIODevice::ReadOnly))
            m_size = quint64(m_file.size());
    }

    bool read(quint64 offset, quint64 size, QByteArray& out)
    {
        if (!m_file.isOpen() || offset > m_size || size > m_size - offset || !m_file.seek(qint64(offset)))
            return false;
        out = m_file.read(qint64(size));
        return quint64(out.size()) == size;
    }

private:
    QFile m_file;
    quint64 m_size = 0;
};

struct DirectoryEntry
{
    quint32 name = 0;
    quint32 offset = 0;
};

template <class Source> class VersionResourceReader
{
public:
    explicit VersionResourceReader(Source& source) : m_source(source) {}

    QByteArray versionBlock()
    {
        if (!readHeaders())
            return QByteArray();
        quint32 offset = 0;
        std::optional<DirectoryEntry> entry = findEntry(offset, {kVersionResourceType});
        if (!entry || !(entry->offset & kSubdirectoryFlag))
            return QByteArray();
        entry = findEntry(entry->offset & ~kSubdirectoryFlag, {kVersionResourceName});
        if (!entry || !(entry->offset & kSubdirectoryFlag))
            return QByteArray();
        entry = findEntry(entry->offset & ~kSubdirectoryFlag,
                          std::vector<quint32>(kPreferredLanguages.begin(), kPreferredLanguages.end()), true);
        if (!entry || (entry->offset & kSubdirectoryFlag))
            return QByteArray();
        return readData(entry->offset);
    }

private:
    // The DOS header, the PE headers, the resource directory's place and the section table.
    bool readHeaders()
    {
        QByteArray dos;
        if (!m_source.read(0, 64, dos) || dos[0] != 'M' || dos[1] != 'Z')
            return false;
        const quint64 peOffset = u32(dos, 0x3C);
        QByteArray pe;
        if (!m_source.read(peOffset, 24, pe) || !pe.startsWith(QByteArrayView("PE\0\0", 4)))
            return false;
        const quint16 sectionCount = u16(pe, 6);
        const quint16 optionalSize = u16(pe, 20);
        QByteArray optional;
        if (!m_source.read(peOffset + 24, optionalSize, optional) || optionalSize < 2)
            return false;
        qsizetype countAt = 0;
        switch (u16(optional, 0)) {
        case 0x10B: // PE32
            countAt = 92;
            break;
        case 0x20B: // PE32+
            countAt = 108;
            break;
        default:
            return false;
        }
        const qsizetype directoriesAt = countAt + 4;
        const qsizetype resourceAt = directoriesAt + 2 * 8;
        if (resourceAt + 8 > optional.size() || u32(optional, countAt) < 3)
            return false;
        m_resourceRva = u32(optional, resourceAt);
        if (m_resourceRva == 0)
            return false;
        return m_source.read(peOffset + 24 + optionalSize, quint64(sectionCount) * 40, m_sections);
    }

    // Reads `size` bytes at a relative virtual address from the section that holds them on file.
    bool readRva(quint64 rva, quint64 size, QByteArray& out)
    {
        for (qsizetype at = 0; at + 40 <= m_sections.size(); at += 40) {
            const quint64 address = u32(m_sections, at + 12);
            const quint64 rawSize = u32(m_sections, at + 16);
            const quint64 rawOffset = u32(m_sections, at + 20);
            if (rva >= address && rva - address < rawSize)
                return size <= rawSize - (rva - address) &&
                       m_source.read(rawOffset + (rva - address), size, out);
        }
        return false;
    }

    // The first entry of the directory at `offset` (from the start of the resource directory) whose numeric
    // name is one of `names`, tried in order; with `orFirst`, the directory's first entry when none is.
    std::optional<DirectoryEntry> findEntry(quint32 offset, const std::vector<quint32>& names,
                                            bool orFirst = false)
    {
        const quint64 at = quint64(m_resourceRva) + offset;
        QByteArray header;
        if (!readRva(at, 16, header))
            return std::nullopt;
        const quint64 count = quint64(u16(header, 12)) + u16(header, 14);
        QByteArray table;
        if (count == 0 || !readRva(at + 16, count * 8, table))
            return std::nullopt;
        std::vector<DirectoryEntry> entries;
        entries.reserve(count);
        for (qsizetype i = 0; i + 8 <= table.size(); i += 8)
            entries.push_back({u32(table, i), u32(table, i + 4)});
        for (quint32 name : names) {
            for (const DirectoryEntry& entry : entries) {
                if (!(entry.name & kNameIsStringFlag) && entry.name == name)
                    return entry;
            }
        }
        if (orFirst)
            return entries.front();
        return std::nullopt;
    }

    // The VS_VERSIONINFO block that the data entry at `offset` points to, when it is one.
    QByteArray readData(quint32 offset)
    {
        QByteArray dataEntry;
        if (!readRva(quint64(m_resourceRva) + offset, 16, dataEntry))
            return QByteArray();
        const quint32 dataRva = u32(dataEntry, 0);
        const quint32 dataSize = u32(dataEntry, 4);
        QByteArray header;
        if (dataSize < kBlockHeaderSize || !readRva(dataRva, kBlockHeaderSize, header))
            return QByteArray();
        const quint16 length = u16(header, 0);
        QByteArray block;
        if (length > dataSize || length < kFixedInfoOffset || !readRva(dataRva, length, block))
            return QByteArray();
        return hasVersionInfoKey(block) ? block : QByteArray();
    }

    Source& m_source;
    quint32 m_resourceRva = 0;
    QByteArray m_sections;
};

} // namespace

QByteArray versionInfoOfImage(QByteArrayView image)
{
    MemorySource source(image);
    return VersionResourceReader<MemorySource>(source).versionBlock();
}

QByteArray versionInfoOfFile(const QString& path)
{
    FileSource source(path);
    return VersionResourceReader<FileSource>(source).versionBlock();
}

std::optional<FixedFileInfo> fixedFileInfoOfBlock(QByteArrayView versionInfo)
{
    if (versionInfo.size() < kFixedInfoOffset + kFixedInfoSize)
        return std::nullopt;
    const QByteArray block = versionInfo.toByteArray();
    const quint16 length = u16(block, 0);
    const quint16 valueLength = u16(block, 2);
    if (length < kFixedInfoOffset + kFixedInfoSize || valueLength < kFixedInfoSize)
        return std::nullopt;
    if (!hasVersionInfoKey(block))
        return std::nullopt;
    std::array<quint32, 13> fields;
    for (qsizetype i = 0; i < 13; ++i)
        fields[i] = u32(block, kFixedInfoOffset + 4 * i);
    if (fields[0] != FixedFileInfo::expectedSignature)
        return std::nullopt;
    return FixedFileInfo{fields[0], fields[1], fields[2], fields[3],  fields[4],  fields[5], fields[6],
                         fields[7], fields[8], fields[9], fields[10], fields[11], fields[12]};
}

} // namespace platform
