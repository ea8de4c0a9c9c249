// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QStringList>

// The cases of a table in tests/data/maintenance, one a line, their fields separated by " | "; lines that
// start with # are comments. A file that cannot be read has no cases.
inline QList<QStringList> dataCases(const char* name)
{
    QFile file(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/maintenance/") + QLatin1String(name));
    QList<QStringList> cases;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
            if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
                cases << line.split(QStringLiteral(" | "));
    return cases;
}
