// SPDX-License-Identifier: MIT
#include "VersionPeWriter.h"
#include "platform/FileVersion.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>

using namespace platform;

namespace {

versionpe::Options options(versionpe::Version product, versionpe::Version file)
{
    versionpe::Options o;
    o.productVersion = product;
    o.fileVersion = file;
    return o;
}

const QByteArray kImage = versionpe::writeVersionPe(options({16, 0, 4266, 1001}, {15, 2, 3, 4}));

void put32(QByteArray& image, qsizetype at, quint32 value)
{
    qToLittleEndian(value, image.data() + at);
}

// What the reader makes of an image: "-" for none, else the product and file version of its fixed part.
QString readVersions(const QByteArray& image)
{
    const QByteArray block = versionInfoOfImage(image);
    if (block.isEmpty())
        return QStringLiteral("-");
    const std::optional<FixedFileInfo> info = queryFixedFileInfo(block);
    if (!info)
        return QStringLiteral("no fixed part");
    return QStringLiteral("%1.%2 %3.%4")
        .arg(info->productVersionMS >> 16)
        .arg(info->productVersionMS & 0xFFFF)
        .arg(info->fileVersionMS >> 16)
        .arg(info->fileVersionMS & 0xFFFF);
}

} // namespace

class FileVersionTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& content)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(content);
        return file.fileName();
    }

private Q_SLOTS:
    void readsWhatTheWriterWrites()
    {
        const QByteArray block = versionInfoOfImage(kImage);
        QVERIFY(!block.isEmpty());
        const std::optional<FixedFileInfo> info = queryFixedFileInfo(block);
        QVERIFY(info);
        QCOMPARE(info->productVersionMS, 16u << 16);
        QCOMPARE(info->productVersionLS, 4266u << 16 | 1001);
        QCOMPARE(info->fileVersionMS, 15u << 16 | 2);
        QCOMPARE(info->fileVersionLS, 3u << 16 | 4);
        // The block carries the string table as well, in UTF-16.
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(block.constData()), block.size() / 2);
        QVERIFY(text.contains(QStringLiteral("16.0.4266.1001")));
        // A 64-bit program file (PE32+) carries the same block.
        versionpe::Options sixtyFourBit = options({16, 0, 4266, 1001}, {15, 2, 3, 4});
        sixtyFourBit.sixtyFourBit = true;
        QCOMPARE(versionInfoOfImage(versionpe::writeVersionPe(sixtyFourBit)), block);

        // The file functions agree with the reader of images.
        const QString path = write(QStringLiteral("excel.exe"), kImage);
        QCOMPARE(fileVersionInfoSize(path), quint32(block.size()));
        QCOMPARE(fileVersionInfo(path, fileVersionInfoSize(path)), block);
        // A short buffer gets the beginning; the fixed part needs its 92 bytes.
        QCOMPARE(fileVersionInfo(path, 92), block.left(92));
        QVERIFY(queryFixedFileInfo(fileVersionInfo(path, 92)));
        QVERIFY(!queryFixedFileInfo(fileVersionInfo(path, 91)));
    }

    void withoutVersionInformation_data()
    {
        QTest::addColumn<QByteArray>("content");
        versionpe::Options manifestOnly;
        manifestOnly.versionResource = false;
        QTest::newRow("manifest resource only") << versionpe::writeVersionPe(manifestOnly);
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("text file") << QByteArray("MZ is not enough\r\n");
        QByteArray noResources = kImage;
        put32(noResources, versionpe::kOptionalHeaderOffset + 96 + 16, 0);
        QTest::newRow("no resource directory") << noResources;
        QByteArray fewDirectories = kImage;
        put32(fewDirectories, versionpe::kOptionalHeaderOffset + 92, 2);
        QTest::newRow("two data directories") << fewDirectories;
        QByteArray pe32plus = kImage;
        pe32plus[versionpe::kOptionalHeaderOffset + 1] = 0x02; // the header is still laid out as PE32
        QTest::newRow("PE32+ magic on PE32 layout") << pe32plus;
    }
    void withoutVersionInformation()
    {
        QFETCH(QByteArray, content);
        QCOMPARE(readVersions(content), QStringLiteral("-"));
        QCOMPARE(fileVersionInfoSize(write(QStringLiteral("file.exe"), content)), 0u);
    }

    void notRegularFiles()
    {
        QCOMPARE(fileVersionInfoSize(dir.path()), 0u);
        QCOMPARE(fileVersionInfoSize(dir.filePath(QStringLiteral("missing.exe"))), 0u);
        QCOMPARE(fileVersionInfo(dir.filePath(QStringLiteral("missing.exe")), 100), QByteArray());
        // Opening a pipe would wait for a writer for ever.
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pipe.exe")));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        QCOMPARE(fileVersionInfoSize(QFile::decodeName(fifo)), 0u);
    }

    // Every cut of the file either still holds the whole block or reads as none.
    void truncatedFiles()
    {
        const QByteArray block = versionInfoOfImage(kImage);
        const qsizetype blockEnd = versionpe::kResourceFileOffset + versionpe::kResourceData + block.size();
        for (qsizetype size = 0; size < kImage.size(); ++size) {
            const QByteArray read = versionInfoOfImage(kImage.left(size));
            QVERIFY2(read == (size >= blockEnd ? block : QByteArray()), qPrintable(QString::number(size)));
        }
    }

    void damagedStructures_data()
    {
        QTest::addColumn<qsizetype>("at");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* title, qsizetype at, quint32 value, const char* expected) {
            QTest::newRow(title) << at << value << QString::fromLatin1(expected);
        };
        const qsizetype rsrc = versionpe::kResourceFileOffset;
        const qsizetype section = versionpe::kSectionTableOffset;
        const qsizetype data = rsrc + versionpe::kResourceData;
        row("PE header beyond the file", qsizetype(0x3C), 0xFFFFFFF0u, "-");
        row("section claims 4 GB", section + 16, 0xFFFFFFFFu, "16.0 15.2");
        row("section data beyond the file", section + 20, 0x7FFFFFFFu, "-");
        row("resource address in no section", versionpe::kOptionalHeaderOffset + 96 + 16, 0x9000u, "-");
        row("type entry points to itself", rsrc + versionpe::kTypeDirectory + 20, 0x80000000u, "-");
        row("name entry points back", rsrc + versionpe::kNameDirectory + 20, 0x80000000u, "-");
        row("language entry is a directory", rsrc + versionpe::kLanguageDirectory + 20,
            quint32(0x80000000u | versionpe::kLanguageDirectory), "-");
        row("entry count 65535", rsrc + versionpe::kTypeDirectory + 12, 0xFFFF0000u, "-");
        row("name is not 1", rsrc + versionpe::kNameDirectory + 16, 2u, "-");
        row("other language is taken", rsrc + versionpe::kLanguageDirectory + 16, 0x0407u, "16.0 15.2");
        row("data beyond the file", rsrc + versionpe::kDataEntry, 0xFFFFFF00u, "-");
        row("data size 4 GB", rsrc + versionpe::kDataEntry + 4, 0xFFFFFFFFu, "16.0 15.2");
        row("data size smaller than the block", rsrc + versionpe::kDataEntry + 4, 64u, "-");
        row("block length 0", data, 0x00340000u, "-");
        row("other key", data + 6, 0x00530057u, "-");
        const quint32 length = qFromLittleEndian<quint16>(kImage.constData() + data);
        row("no fixed part", data, length, "no fixed part");
        row("fixed part too short", data, (51u << 16 | length), "no fixed part");
        row("fixed part unsigned", data + 40, 0u, "no fixed part");
    }
    void damagedStructures()
    {
        QFETCH(qsizetype, at);
        QFETCH(quint32, value);
        QFETCH(QString, expected);
        QByteArray image = kImage;
        put32(image, at, value);
        QCOMPARE(readVersions(image), expected);
    }

    // Whatever single field of the headers and the resource section is changed, and to whatever, the reader
    // ends and gives either nothing or a block inside the file.
    void anyDamagedWord()
    {
        const QByteArray block = versionInfoOfImage(kImage);
        const qsizetype end = versionpe::kResourceFileOffset + versionpe::kResourceData + 128;
        for (qsizetype at = 0; at + 4 <= end; at += 2) {
            for (quint32 value :
                 {0u, 1u, 0x10u, 0x7FFFu, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x80000018u, 0xFFFFFFFFu}) {
                QByteArray image = kImage;
                put32(image, at, value);
                const QByteArray read = versionInfoOfImage(image);
                QVERIFY(read.size() <= 0xFFFF);
                QVERIFY(read.isEmpty() || image.contains(read));
            }
        }
    }

    // Hostile inputs kept in the test data (from fuzzing the reader, and made by hand): each reads
    // without a crash, in memory and from the file alike.
    void savedInputs()
    {
        const QDir folder(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/versionresource"));
        const QStringList names = folder.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray read = versionInfoOfImage(file.readAll());
            QVERIFY(read.size() <= 0xFFFF);
            // Files named "none-..." have no version information that can be reached.
            QVERIFY(!name.startsWith(QLatin1String("none-")) || read.isEmpty());
            queryFixedFileInfo(read);
            QVERIFY(fileVersionInfoSize(file.fileName()) == quint32(read.size()));
        }
    }
};

QTEST_GUILESS_MAIN(FileVersionTest)
#include "tst_fileversion.moc"
