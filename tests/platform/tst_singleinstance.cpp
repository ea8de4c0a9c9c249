// SPDX-License-Identifier: MIT
#include "platform/SingleInstance.h"

#include <QFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using platform::SingleInstance;

// One running copy per user: the lock, and a later start telling the running copy.
class SingleInstanceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondCopyTellsTheRunningOne_data()
    {
        QTest::addColumn<bool>("leftovers");
        QTest::newRow("first start") << false;
        // A copy that died left its lock and socket behind: the next start takes both over.
        QTest::newRow("after a copy that died") << true;
    }
    void secondCopyTellsTheRunningOne()
    {
        QFETCH(bool, leftovers);
        QTemporaryDir folder;
        for (const char* name : {"hanaplan.lock", "hanaplan.socket"}) {
            QFile leftover(folder.filePath(QString::fromLatin1(name)));
            if (leftovers)
                QVERIFY(leftover.open(QIODevice::WriteOnly) &&
                        leftover.write("99999999\nhanaplan\n" + QSysInfo::machineHostName().toUtf8() + "\n") >
                            0);
        }
        SingleInstance first(QStringLiteral("hanaplan"), folder.path());
        QVERIFY(first.acquire());
        QSignalSpy startedAgain(&first, &SingleInstance::startedAgain);

        SingleInstance second(QStringLiteral("hanaplan"), folder.path());
        QVERIFY(!second.acquire());
        second.notifyRunningCopy();
        QVERIFY(startedAgain.wait(5000));
        second.notifyRunningCopy();
        QTRY_COMPARE(startedAgain.size(), 2);
    }

    // With no running copy left, telling it does nothing and takes no time worth noticing.
    void nobodyToTell()
    {
        QTemporaryDir folder;
        {
            SingleInstance first(QStringLiteral("hanaplan"), folder.path());
            QVERIFY(first.acquire());
        }
        SingleInstance later(QStringLiteral("hanaplan"), folder.path());
        later.notifyRunningCopy();
        QVERIFY(later.acquire());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
