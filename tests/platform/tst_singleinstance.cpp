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
        const QByteArray stale = "99999999\nhanaplan\n" + QSysInfo::machineHostName().toUtf8() + "\n";
        for (const char* name : {"hanaplan.lock", "hanaplan.socket"}) {
            QFile leftover(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(!leftovers || (leftover.open(QIODevice::WriteOnly) && leftover.write(stale) > 0));
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
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
