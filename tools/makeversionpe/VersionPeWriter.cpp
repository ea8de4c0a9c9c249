// SPDX-License-Identifier: MIT
#include "VersionPeWriter.h"

#include <QStringList>
#include <QtEndian>

#include <vector>

namespace versionpe {
namespace {

constexpr quint32 kFileAlignment = 0x200;
constexpr quint32 kSectionAlignment = 0x1000;
constexpr quint16 kJapanese = 0x0411;
constexpr quint16 kUnicodeCodePage = 0x04B0;

quint32 alignUp(quint32 value, quint32 alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

void put16(QByteArray& bytes, qsizetype at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void put32(QByteArray& bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void append16(QByteArray& bytes, quint16 value)
{
    bytes.resize(bytes.size() + 2);
    put16(bytes, bytes.size() - 2, value);
}

void append32(QByteArray& bytes, quint32 value)
{
    bytes.resize(bytes.size() + 4);
    put32(bytes, bytes.size() - 4, value);
}

void appendText(QByteArray& bytes, const QString& text)
{
    for (QChar c : text)
        append16(bytes, c.unicode());
    append16(bytes, 0);
}

void padTo4(QByteArray& bytes)
{
    while (bytes.size() % 4)
        bytes.append('\0');
}

// One block of version information: length, value length, type (1 text, 0 binary), key, value, children.
// Every block starts on a 4-byte boundary of the resource; its length leaves out the padding after it.
QByteArray versionBlock(const QString& key, const QByteArray& value, quint16 valueLength, bool text,
                        const std::vector<QByteArray>& children = {})
{
    QByteArray block;
    append16(block, 0);
    append16(block, valueLength);
    append16(block, text ? 1 : 0);
    appendText(block, key);
    padTo4(block);
    block.append(value);
    for (const QByteArray& child : children) {
        padTo4(block);
        block.append(child);
    }
    put16(block, 0, quint16(block.size()));
    return block;
}

QByteArray textBlock(const QString& key, const QString& text)
{
    QByteArray value;
    appendText(value, text);
    return versionBlock(key, value, quint16(text.size() + 1), true);
}

quint32 high(const Version& version)
{
    return quint32(version[0]) << 16 | version[1];
}

quint32 low(const Version& version)
{
    return quint32(version[2]) << 16 | version[3];
}

QByteArray versionInfo(const Options& options)
{
    QByteArray fixed;
    for (quint32 field : {0xFEEF04BDu, 0x00010000u, high(options.fileVersion), low(options.fileVersion),
                          high(options.productVersion), low(options.productVersion),
                          0x3Fu,         // flags mask
                          0u,            // flags
                          0x00040004u,   // Windows NT, 32-bit
                          1u,            // application
                          0u, 0u, 0u}) { // subtype, date
        append32(fixed, field);
    }
    const QByteArray strings = versionBlock(
        QStringLiteral("StringFileInfo"), QByteArray(), 0, true,
        {versionBlock(QStringLiteral("041104B0"), QByteArray(), 0, true,
                      {textBlock(QStringLiteral("FileDescription"), options.fileDescription),
                       textBlock(QStringLiteral("FileVersion"), versionText(options.fileVersion)),
                       textBlock(QStringLiteral("ProductName"), options.productName),
                       textBlock(QStringLiteral("ProductVersion"), versionText(options.productVersion))})});
    QByteArray translation;
    append16(translation, kJapanese);
    append16(translation, kUnicodeCodePage);
    const QByteArray variables =
        versionBlock(QStringLiteral("VarFileInfo"), QByteArray(), 0, true,
                     {versionBlock(QStringLiteral("Translation"), translation, 4, false)});
    return versionBlock(QStringLiteral("VS_VERSION_INFO"), fixed, quint16(fixed.size()), false,
                        {strings, variables});
}

// One resource directory with one entry.
void appendDirectory(QByteArray& section, quint32 name, quint32 target)
{
    for (int i = 0; i < 3; ++i)
        append32(section, 0); // characteristics, time stamp, version
    append16(section, 0);     // named entries
    append16(section, 1);     // numbered entries
    append32(section, name);
    append32(section, target);
}

QByteArray resourceSection(const Options& options)
{
    QByteArray data;
    quint32 type = 16; // version
    if (options.versionResource) {
        data = versionInfo(options);
    } else {
        type = 24; // manifest
        data = QByteArrayLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>\r\n");
    }
    QByteArray section;
    appendDirectory(section, type, 0x80000000u | kNameDirectory);
    appendDirectory(section, 1, 0x80000000u | kLanguageDirectory);
    appendDirectory(section, kJapanese, kDataEntry);
    append32(section, kResourceRva + kResourceData);
    append32(section, quint32(data.size()));
    append32(section, 0); // code page
    append32(section, 0);
    Q_ASSERT(section.size() == kResourceData);
    section.append(data);
    return section;
}

} // namespace

std::optional<Version> parseVersion(QStringView text)
{
    const QList<QStringView> parts = text.split(QLatin1Char('.'));
    if (parts.size() > 4)
        return std::nullopt;
    Version version{0, 0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const uint value = parts[i].toUInt(&ok);
        if (!ok || value > 0xFFFF || parts[i].startsWith(QLatin1Char('+')))
            return std::nullopt;
        version[i] = quint16(value);
    }
    return version;
}

QString versionText(const Version& version)
{
    return QStringLiteral("%1.%2.%3.%4").arg(version[0]).arg(version[1]).arg(version[2]).arg(version[3]);
}

QByteArray writeVersionPe(const Options& options)
{
    const QByteArray resources = resourceSection(options);
    const quint32 rawSize = alignUp(quint32(resources.size()), kFileAlignment);

    QByteArray image(kResourceFileOffset, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    put32(image, 0x3C, kPeHeaderOffset);

    // PE32 and PE32+ differ in the fields from the image base on, which take 8 bytes in PE32+.
    const bool plus = options.sixtyFourBit;
    const quint16 optionalSize = plus ? 240 : 224;
    image.replace(kPeHeaderOffset, 4, QByteArrayView("PE\0\0", 4));
    const qsizetype coff = kPeHeaderOffset + 4;
    put16(image, coff + 0, plus ? 0x8664 : 0x014C); // x64 or i386
    put16(image, coff + 2, 1);                      // sections
    put16(image, coff + 16, optionalSize);
    put16(image, coff + 18, plus ? 0x0022 : 0x0102); // executable, large addresses or 32-bit

    const qsizetype opt = kOptionalHeaderOffset;
    put16(image, opt + 0, plus ? 0x20B : 0x10B);
    put32(image, opt + 8, rawSize);       // initialised data
    put32(image, opt + 20, kResourceRva); // base of code
    if (plus) {
        put32(image, opt + 24, 0x40000000); // image base 0x140000000
        put32(image, opt + 28, 0x1);
    } else {
        put32(image, opt + 24, kResourceRva); // base of data
        put32(image, opt + 28, 0x00400000);   // image base
    }
    put32(image, opt + 32, kSectionAlignment);
    put32(image, opt + 36, kFileAlignment);
    put16(image, opt + 40, plus ? 6 : 4); // operating system version
    put16(image, opt + 48, plus ? 6 : 4); // subsystem version
    put32(image, opt + 56,
          kResourceRva + alignUp(quint32(resources.size()), kSectionAlignment)); // image size
    put32(image, opt + 60, kResourceFileOffset);                                 // headers size
    put16(image, opt + 68, 2);                                                   // Windows GUI
    // Stack reserve and commit, heap reserve and commit: 4 bytes each in PE32, 8 in PE32+.
    const qsizetype sizeField = plus ? 8 : 4;
    const quint32 sizes[] = {0x100000, 0x1000, 0x100000, 0x1000};
    for (qsizetype i = 0; i < 4; ++i)
        put32(image, opt + 72 + i * sizeField, sizes[i]);
    const qsizetype directories = plus ? 112 : 96;
    put32(image, opt + directories - 4, 16); // data directories
    put32(image, opt + directories + 2 * 8, kResourceRva);
    put32(image, opt + directories + 2 * 8 + 4, quint32(resources.size()));

    const qsizetype section = kOptionalHeaderOffset + optionalSize;
    image.replace(section, 8, QByteArrayView(".rsrc\0\0\0", 8));
    put32(image, section + 8, quint32(resources.size())); // virtual size
    put32(image, section + 12, kResourceRva);
    put32(image, section + 16, rawSize);
    put32(image, section + 20, kResourceFileOffset);
    put32(image, section + 36, 0x40000040); // initialised data, readable

    image.append(resources);
    image.resize(kResourceFileOffset + rawSize, '\0');
    return image;
}

} // namespace versionpe
