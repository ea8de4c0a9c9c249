// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"

#include "VersionPeWriter.h"
#include "platform/FileVersion.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <sys/stat.h>

using namespace platform;
using namespace Qt::StringLiterals;

namespace {

versionpe::Options options(bool sixtyFourBit)
{
    versionpe::Options o;
    o.productVersion = {16, 0, 4266, 1001};
    o.fileVersion = {15, 2, 3, 4};
    o.sixtyFourBit = sixtyFourBit;
    return o;
}

const QByteArray kImage = versionpe::writeVersionPe(options(false));

QByteArray damaged(qsizetype at, quint32 value)
{
    QByteArray image = kImage;
    qToLittleEndian(value, image.data() + at);
    return image;
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
    const auto version = [](quint32 ms, quint32 ls) {
        return QStringLiteral("%1.%2.%3.%4").arg(ms >> 16).arg(ms & 0xFFFF).arg(ls >> 16).arg(ls & 0xFFFF);
    };
    return version(info->productVersionMS, info->productVersionLS) + QLatin1Char(' ') +
           version(info->fileVersionMS, info->fileVersionLS);
}

} // namespace

// The reader of version resources, on images the project's writer makes, damaged ones and saved inputs.
class FileVersionTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& content)
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? file.fileName()
                                                                                        : QString();
    }

private Q_SLOTS:
    void readsWhatTheWriterWrites()
    {
        QCOMPARE(readVersions(kImage), QStringLiteral("16.0.4266.1001 15.2.3.4"));
        const QByteArray block = versionInfoOfImage(kImage);
        // The block carries the string table as well, in UTF-16.
        QVERIFY(QString::fromUtf16(reinterpret_cast<const char16_t*>(block.constData()), block.size() / 2)
                    .contains(QStringLiteral("16.0.4266.1001")));
        // A 64-bit program file (PE32+) carries the same block.
        QCOMPARE(versionInfoOfImage(versionpe::writeVersionPe(options(true))), block);

        // The file functions agree with the reader of images; a short buffer gets the beginning, and the
        // fixed part needs its 92 bytes.
        const QString path = write(QStringLiteral("excel.exe"), kImage);
        QCOMPARE(fileVersionInfoSize(path), quint32(block.size()));
        QCOMPARE(fileVersionInfo(path, fileVersionInfoSize(path)), block);
        QCOMPARE(fileVersionInfo(path, 92), block.left(92));
        QVERIFY(queryFixedFileInfo(fileVersionInfo(path, 92)));
        QVERIFY(!queryFixedFileInfo(fileVersionInfo(path, 91)));
    }

    // Files without version information (damaged ones are in fileversion.json), and inputs kept in the test
    // data (from fuzzing the reader, and made by hand; "none-..." have no version information that can be
    // reached): each reads without a crash, in memory and from the file alike.
    void versionlessAndSavedFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("none");
        versionpe::Options manifestOnly;
        manifestOnly.versionResource = false;
        QTest::newRow("manifest resource only") << versionpe::writeVersionPe(manifestOnly) << true;
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("text file") << QByteArray("MZ is not enough\r\n") << true;
        const QDir saved(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/versionresource"));
        for (const QString& name : saved.entryList(QDir::Files)) {
            QFile file(saved.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << file.readAll() << name.startsWith(QLatin1String("none-"));
        }
    }
    void versionlessAndSavedFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, none);
        const QByteArray block = versionInfoOfImage(content);
        QVERIFY(block.size() <= 0xFFFF);
        QVERIFY(!none || block.isEmpty());
        queryFixedFileInfo(block);
        QCOMPARE(fileVersionInfoSize(write(QStringLiteral("file.exe"), content)), quint32(block.size()));
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

    // A 32-bit field of the image changed: at an offset from a place of the image the writer lays out (the
    // file, the optional header, the section table, the resource directories, the data entry, the block).
    void damagedStructures_data() { addJsonCases("fileversion.json", "damaged", "change"); }
    void damagedStructures()
    {
        QFETCH(QJsonValue, change);
        using namespace versionpe;
        const QHash<QString, qsizetype> places = {
            {u"file"_s, 0},
            {u"optional"_s, kOptionalHeaderOffset},
            {u"section"_s, kSectionTableOffset},
            {u"type"_s, kResourceFileOffset + kTypeDirectory},
            {u"name"_s, kResourceFileOffset + kNameDirectory},
            {u"language"_s, kResourceFileOffset + kLanguageDirectory},
            {u"entry"_s, kResourceFileOffset + kDataEntry},
            {u"block"_s, kResourceFileOffset + kResourceData},
        };
        const QString place = change["place"].toString();
        QVERIFY(places.contains(place));
        const QByteArray image =
            damaged(places[place] + change["offset"].toInt(), change["value"].toString().toUInt(nullptr, 0));
        QCOMPARE(readVersions(image), change["expected"].toString());
    }

    // Every cut of the file either still holds the whole block or reads as none; whatever single field of the
    // headers and the resource section is changed, and to whatever, the reader ends and gives either nothing
    // or a block inside the file.
    void cutAndDamagedImages()
    {
        const QByteArray block = versionInfoOfImage(kImage);
        const qsizetype blockEnd = versionpe::kResourceFileOffset + versionpe::kResourceData + block.size();
        for (qsizetype size = 0; size < kImage.size(); ++size)
            QVERIFY2(versionInfoOfImage(kImage.left(size)) == (size >= blockEnd ? block : QByteArray()),
                     qPrintable(QString::number(size)));
        for (qsizetype at = 0; at + 4 <= versionpe::kResourceFileOffset + versionpe::kResourceData + 128;
             at += 2) {
            for (quint32 value :
                 {0u, 1u, 0x10u, 0x7FFFu, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x80000018u, 0xFFFFFFFFu}) {
                const QByteArray image = damaged(at, value);
                const QByteArray read = versionInfoOfImage(image);
                QVERIFY(read.size() <= 0xFFFF && (read.isEmpty() || image.contains(read)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(FileVersionTest)
#include "tst_fileversion.moc"
