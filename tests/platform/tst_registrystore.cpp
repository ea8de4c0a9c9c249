// SPDX-License-Identifier: MIT
#include "platform/Environment.h"
#include "platform/RegistryStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace platform;

namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

QByteArray utf16le(const QString& text)
{
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// The data of a value as text, for comparing; "(none)" when the value is missing.
QString describe(const std::optional<RegistryValue>& value)
{
    if (!value)
        return QStringLiteral("(none)");
    return QString::number(value->type) + QLatin1Char(':') + QString::fromLatin1(value->data.toHex(' '));
}

QString lookup(const QByteArray& file, const QString& key, const QString& name)
{
    return describe(RegistryStore::fromBytes(file).value(RegistryRoot::LocalMachine, key, name));
}

} // namespace

class RegistryStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void values_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* title, const QByteArray& body, const char* name, const char* expected) {
            QTest::newRow(title) << body << QString::fromUtf8(name) << QString::fromUtf8(expected);
        };
        row("escapes", QByteArray(R"("v"="C:\\x\"y\n")"), "v", "1:43 3a 5c 78 22 79 5c 6e 00");
        row("quote and backslash in name", QByteArray(R"("a\"b\\"="1")"), "a\"b\\", "1:31 00");
        row("non-ASCII text in UTF-8", QByteArray("\"v\"=\"版\""), "v", "1:e7 89 88 00");
        row("default value", QByteArray(R"(@="d")"), "", "1:64 00");
        row("dword, short, upper case", QByteArray("\"v\"=DWORD:FF"), "v", "4:ff 00 00 00");
        row("dword of nine digits", QByteArray("\"v\"=dword:000000001"), "v", "(none)");
        row("dword not hex", QByteArray("\"v\"=dword:12g4"), "v", "(none)");
        row("binary continued", QByteArray("\"v\"=hex:01,02,\\\r\n  03,\\\r\n  04"), "v", "3:01 02 03 04");
        row("binary, odd digit", QByteArray("\"v\"=hex:0a,fff"), "v", "(none)");
        row("binary, gap", QByteArray("\"v\"=hex:0a,,ff"), "v", "(none)");
        row("typed hex", QByteArray("\"v\"=hex(b):01,00,00,00,00,00,00,00"), "v",
            "11:01 00 00 00 00 00 00 00");
        row("unterminated text", QByteArray(R"("v"="ab)"), "v", "(none)");
        row("unterminated name", QByteArray(R"("v=1)"), "v", "(none)");
        row("junk after text", QByteArray(R"("v"="a" x)"), "v", "(none)");
        row("unknown data form", QByteArray("\"v\"=qword:1"), "v", "(none)");
        row("later value wins", QByteArray("\"v\"=\"1\"\r\n\"V\"=\"2\""), "v", "1:32 00");
        row("value deleted", QByteArray("\"v\"=\"1\"\r\n\"V\"=-"), "v", "(none)");
        row("comment", QByteArray("; \"v\"=\"1\""), "v", "(none)");
        row("blanks around =", QByteArray("  \"v\" = \"1\"  "), "v", "1:31 00");
    }
    void values()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const QByteArray file =
            kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n" + body + "\r\n\"after\"=\"ok\"\r\n";
        QCOMPARE(lookup(file, QStringLiteral("SOFTWARE\\Test"), name), expected);
        // A bad line costs only itself.
        QCOMPARE(lookup(file, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("after")),
                 QStringLiteral("1:6f 6b 00"));
    }

    void encodingsAndHeaders_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare]\r\n"
                                            "\"DisplayVersion\"=\"1.1.4　版\"\r\n");
        const QString utf8Expected = QStringLiteral("1:31 2e 31 2e 34 e3 80 80 e7 89 88 00");
        QTest::newRow("UTF-8") << text.toUtf8() << utf8Expected;
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF" + text.toUtf8()) << utf8Expected;
        QTest::newRow("UTF-16LE with mark") << utf16le(text) << utf8Expected;
        QTest::newRow("UTF-16LE, odd last byte") << QByteArray(utf16le(text) + 'x') << utf8Expected;
        QTest::newRow("REGEDIT4, LF only")
            << QByteArray("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare]\n"
                          "\"DisplayVersion\"=\"1\"\n")
            << "1:31 00";
        QTest::newRow("CR only") << QByteArray("REGEDIT4\r[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare]\r"
                                               "\"DisplayVersion\"=\"1\"")
                                 << "1:31 00";
        // REGEDIT4 writes hex(2) in the code page, not in UTF-16.
        QTest::newRow("REGEDIT4, typed text bytes")
            << QByteArray("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare]\r\n"
                          "\"DisplayVersion\"=hex(2):41,42,00\r\n")
            << "2:41 42 00";
        QTest::newRow("UTF-16 without mark") << utf16le(text).mid(2) << "(none)";
        QTest::newRow("no header") << text.mid(text.indexOf(QLatin1Char('['))).toUtf8() << "(none)";
        QTest::newRow("other header")
            << QByteArray("REGEDIT5\r\n" + text.mid(text.indexOf(QLatin1Char('['))).toUtf8()) << "(none)";
        QTest::newRow("empty") << QByteArray() << "(none)";
    }
    void encodingsAndHeaders()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QCOMPARE(
            lookup(file, QStringLiteral("SOFTWARE\\Quenby\\Hanacare\\"), QStringLiteral("DisplayVersion")),
            expected);
    }

    void keys_data()
    {
        QTest::addColumn<bool>("classesRoot");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* title, bool classesRoot, const char* key, const char* name,
                      const char* expected) {
            QTest::newRow(title) << classesRoot << QString::fromUtf8(key) << QString::fromUtf8(name)
                                 << QString::fromUtf8(expected);
        };
        // The deleted key goes with everything below it, not with a key that only shares its beginning.
        row("deleted key", false, "SOFTWARE\\A", "v", "(none)");
        row("below a deleted key", false, "SOFTWARE\\A\\B", "v", "(none)");
        row("sibling of a deleted key", false, "software\\a!", "V", "1:73 00");
        // Sections of one key in different case add up; the trailing backslash is accepted.
        row("trailing backslash", false, "Software\\C\\", "v", "1:63 00");
        row("second section", false, "SOFTWARE\\C", "w", "1:77 00");
        row("classes root", true, ".XLS", "", "1:78 00");
        row("other root", false, ".xls", "", "(none)");
        // Values after a section that cannot be read (or of another root) land nowhere.
        row("after another root", false, "SOFTWARE\\C", "u", "(none)");
        row("after an open section", false, "SOFTWARE\\C", "lost", "(none)");
        row("after a deletion", false, "SOFTWARE", "lost", "(none)");
        row("double backslash", false, "SOFTWARE\\\\C", "v", "(none)");
        row("leading backslash", false, "\\SOFTWARE\\C", "v", "(none)");
    }
    void keys()
    {
        QFETCH(bool, classesRoot);
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const RegistryStore store = RegistryStore::fromBytes(
            QByteArray(kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\"v\"=\"a\"\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B]\n\"v\"=\"b\"\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A!]\n\"v\"=\"s\"\n"
                                 "[HKEY_CLASSES_ROOT\\.xls]\n@=\"x\"\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\C]\n\"u\"=\"u\"\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\C\n\"lost\"=\"1\"\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\C]\n\"v\"=\"1\"\n"
                                 "[-HKEY_LOCAL_MACHINE\\software\\a]\n\"lost\"=\"1\"\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\C]\n\"v\"=\"c\"\n"
                                 "[hkey_local_machine\\software\\c]\n\"w\"=\"w\"\n"));
        const RegistryRoot root = classesRoot ? RegistryRoot::ClassesRoot : RegistryRoot::LocalMachine;
        QCOMPARE(describe(store.value(root, key, name)), expected);
        QVERIFY(store.hasKey(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE")));
        QVERIFY(!store.hasKey(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\A")));
    }

    void storeFile()
    {
        QTemporaryDir folder;
        const Environment environment(folder.path());
        qunsetenv("HANAPLAN_REGISTRY");
        QCOMPARE(RegistryStore::path(environment), folder.filePath(QStringLiteral("system.reg")));
        // Missing: an empty registry.
        QCOMPARE(RegistryStore::open(environment).keyCount(), 0);

        QFile file(folder.filePath(QStringLiteral("system.reg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kHeader + "[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=\"1\"\r\n");
        file.close();
        QCOMPARE(describe(RegistryStore::open(environment)
                              .value(RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("v"))),
                 QStringLiteral("1:31 00"));

        const QString other = folder.filePath(QStringLiteral("other.reg"));
        qputenv("HANAPLAN_REGISTRY", QFile::encodeName(other));
        QCOMPARE(RegistryStore::path(environment), other);
        QCOMPARE(RegistryStore::open(environment).keyCount(), 0);
        qunsetenv("HANAPLAN_REGISTRY");

        // A folder, a pipe and a file larger than a store may be read as empty.
        QCOMPARE(RegistryStore::fromFile(folder.path()).keyCount(), 0);
        const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("pipe.reg")));
        QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
        QCOMPARE(RegistryStore::fromFile(QFile::decodeName(pipe)).keyCount(), 0);
        QVERIFY(file.open(QIODevice::Append));
        QVERIFY(file.resize(RegistryStore::maxFileSize + 1));
        file.close();
        QCOMPARE(RegistryStore::open(environment).keyCount(), 0);
    }

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
    }
    void hostileInputIsReadQuickly()
    {
        QFETCH(QByteArray, file);
        QElapsedTimer timer;
        timer.start();
        const RegistryStore store = RegistryStore::fromBytes(file);
        store.value(RegistryRoot::LocalMachine, QStringLiteral("k"), QStringLiteral("v"));
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(store.keyCount() < 1000000);
    }

    // Hostile inputs kept in the test data (from fuzzing the reader, and made by hand): each reads
    // without a crash.
    void savedInputs()
    {
        const QDir folder(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/registrystore"));
        const QStringList names = folder.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const RegistryStore store = RegistryStore::fromBytes(file.readAll());
            store.value(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE"), QString());
        }
    }
};

QTEST_GUILESS_MAIN(RegistryStoreTest)
#include "tst_registrystore.moc"
