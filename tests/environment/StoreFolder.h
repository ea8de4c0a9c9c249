// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QTemporaryDir>

// A program folder of its own for one test, with the registry store "system.reg" written into it.
class StoreFolder
{
public:
    StoreFolder() { qunsetenv("HANAPLAN_REGISTRY"); }

    QString path() const { return m_dir.path(); }

    // Writes system.reg: the header of a Unicode export followed by `body`, in UTF-8.
    bool write(const QByteArray& body)
    {
        QFile file(m_dir.filePath(QStringLiteral("system.reg")));
        return file.open(QIODevice::WriteOnly) &&
               file.write("Windows Registry Editor Version 5.00\r\n\r\n" + body + "\r\n") > 0;
    }

private:
    QTemporaryDir m_dir;
};
