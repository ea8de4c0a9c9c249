// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QStringList>

// A registry store in the regedit export form, written a key at a time, with the entries the program reads:
// the installed version, Excel's folder, the program that opens .xls files, and the Windows version.
class RegistryStoreText
{
public:
    RegistryStoreText& displayVersion(const QString& version)
    {
        return key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare",
                   {"\"DisplayVersion\"=" + quoted(version)});
    }
    RegistryStoreText& excelFolder(const QString& folder)
    {
        return key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe",
                   {"\"Path\"=" + quoted(folder)});
    }
    // .xls files open with the program, given the file as its one argument.
    RegistryStoreText& xlsProgram(const QString& program)
    {
        key("HKEY_CLASSES_ROOT\\.xls", {QStringLiteral("@=\"Hanaplan.Sheet\"")});
        return key("HKEY_CLASSES_ROOT\\Hanaplan.Sheet\\shell\\open\\command",
                   {"@=" + quoted('"' + program + "\" \"%1\"")});
    }
    RegistryStoreText& windowsVersion(quint32 major, quint32 minor)
    {
        return key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                   {QString::asprintf("\"CurrentMajorVersionNumber\"=dword:%08x", major),
                    QString::asprintf("\"CurrentMinorVersionNumber\"=dword:%08x", minor)});
    }

    bool writeTo(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write("Windows Registry Editor Version 5.00\n" + m_body.toUtf8()) >= 0;
    }

private:
    // A key's section and its value lines.
    RegistryStoreText& key(const char* path, const QStringList& values)
    {
        m_body +=
            "\n[" + QString::fromUtf8(path) + "]\n" + values.join(QLatin1Char('\n')) + QLatin1Char('\n');
        return *this;
    }
    static QString quoted(QString text)
    {
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('"'), QStringLiteral("\\\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }

    QString m_body;
};
