// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"

#include "platform/RegistryStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace platform;

namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

// The data of a value as text, for comparing; "(none)" when the value is missing.
QString describe(const std::optional<RegistryValue>& value)
{
    if (!value)
        return QStringLiteral("(none)");
    return QString::number(value->type) + QLatin1Char(':') + QString::fromLatin1(value->data.toHex(' '));
}

} // namespace

// The registry store: value lines, file encodings and headers, and keys, with the cases of
// registrystore.json; files that cannot be read; hostile inputs.
class RegistryStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A value line in [HKEY_LOCAL_MACHINE\SOFTWARE\Test]; a bad line costs only itself.
    void values_data() { addJsonCases("registrystore.json", "values", "line"); }
    void values()
    {
        QFETCH(QJsonValue, line);
        const RegistryStore store = RegistryStore::fromBytes(
            QByteArray(kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n" +
                       line["body"].toString().toUtf8() + "\r\n\"after\"=\"ok\"\r\n"));
        const QString key = QStringLiteral("SOFTWARE\\Test");
        QCOMPARE(describe(store.value(RegistryRoot::LocalMachine, key, line["name"].toString())),
                 line["expected"].toString());
        QCOMPARE(describe(store.value(RegistryRoot::LocalMachine, key, QStringLiteral("after"))),
                 QStringLiteral("1:6f 6b 00"));
    }

    // A text written in the form given (UTF-8 or UTF-16LE, with or without a byte-order mark, with an odd
    // last byte) and the DisplayVersion it gives.
    void encodingsAndHeaders_data() { addJsonCases("registrystore.json", "encodings", "encoded"); }
    void encodingsAndHeaders()
    {
        QFETCH(QJsonValue, encoded);
        const QString text = encoded["text"].toString();
        const QString form = encoded["form"].toString();
        const bool utf16 = form.startsWith(QLatin1String("UTF-16LE"));
        QByteArray file = utf16 ? QByteArray(QStringEncoder(QStringConverter::Utf16LE)(text)) : text.toUtf8();
        if (form.contains(QLatin1String("with mark")))
            file.prepend(utf16 ? "\xFF\xFE" : "\xEF\xBB\xBF");
        if (form.endsWith(QLatin1String("odd last byte")))
            file.append('x');
        QCOMPARE(describe(RegistryStore::fromBytes(file).value(RegistryRoot::LocalMachine,
                                                               QStringLiteral("SOFTWARE\\Quenby\\Hanacare\\"),
                                                               QStringLiteral("DisplayVersion"))),
                 encoded["expected"].toString());
    }

    // Keys of registrystore-keys.reg: a deleted key goes with everything below it, sections of one key in
    // different case add up, and values after a section that cannot be read (or of another root) land
    // nowhere.
    void keys_data() { addJsonCases("registrystore.json", "keys", "read"); }
    void keys()
    {
        QFETCH(QJsonValue, read);
        const RegistryStore store = RegistryStore::fromFile(
            QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/cases/registrystore-keys.reg"));
        const RegistryRoot root = read["root"].toString() == QLatin1String("HKEY_CLASSES_ROOT")
                                      ? RegistryRoot::ClassesRoot
                                      : RegistryRoot::LocalMachine;
        QCOMPARE(describe(store.value(root, read["key"].toString(), read["name"].toString())),
                 read["expected"].toString());
    }

    // A store's file that is a folder, a pipe or larger than a store reads as an empty registry.
    void unreadableFiles()
    {
        const auto v = [](const QString& path) {
            return RegistryStore::fromFile(path).value(RegistryRoot::LocalMachine, QStringLiteral("K"),
                                                       QStringLiteral("v"));
        };
        QTemporaryDir folder;
        QVERIFY(!v(folder.path()));
        const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("pipe.reg")));
        QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
        QVERIFY(!v(QFile::decodeName(pipe)));
        QFile file(folder.filePath(QStringLiteral("large.reg")));
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(kHeader + "[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=\"x\"\r\n") > 0);
        QVERIFY(file.resize(RegistryStore::maxFileSize + 1));
        file.close();
        QVERIFY(!v(file.fileName()));
    }

    // Hostile inputs read without a crash and quickly, whatever their size.
    void hostileInputIsReadQuickly_data()
    {
        QTest::addColumn<QByteArray>("file");
        const qsizetype big = RegistryStore::maxFileSize - 100;
        QTest::newRow("one huge line") << QByteArray(kHeader + "\"v\"=\"" + QByteArray(big, 'a'));
        QTest::newRow("only line breaks") << QByteArray(kHeader + QByteArray(big, '\n'));
        QTest::newRow("deep key") << QByteArray(kHeader + "[HKEY_LOCAL_MACHINE" +
                                                QByteArray(big / 2, '\\').replace("\\", "\\k") + "]");
        QByteArray churn = kHeader;
        while (churn.size() < big)
            churn += "[HKEY_LOCAL_MACHINE\\k\\" + QByteArray::number(churn.size()) +
                     "]\n[-HKEY_LOCAL_MACHINE\\K]\n";
        QTest::newRow("keys made and deleted") << churn;
        QTest::newRow("endless continuation")
            << QByteArray(kHeader + "[HKEY_LOCAL_MACHINE\\k]\n\"v\"=hex:" +
                          QByteArray(big / 5 * 5, ' ').replace("     ", "01,\\\n"));
        QByteArray garbage(big, '\0');
        for (qsizetype i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919) ^ (i >> 3));
        QTest::newRow("binary garbage after header") << QByteArray(kHeader + garbage);
        // Inputs kept in the test data, from fuzzing the reader and made by hand.
        const QDir saved(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/registrystore"));
        for (const QString& name : saved.entryList(QDir::Files)) {
            QFile input(saved.filePath(name));
            QVERIFY(input.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << input.readAll();
        }
    }
    void hostileInputIsReadQuickly()
    {
        QFETCH(QByteArray, file);
        QElapsedTimer timer;
        timer.start();
        const RegistryStore store = RegistryStore::fromBytes(file);
        store.value(RegistryRoot::LocalMachine, QStringLiteral("k"), QStringLiteral("v"));
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(RegistryStoreTest)
#include "tst_registrystore.moc"
