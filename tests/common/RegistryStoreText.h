// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QString>

// The text of a registry store in the regedit export form, built a key at a time, with the entries the
// program reads: the installed version, Excel's folder, the program that opens .xls files, and the
// Windows version.
class RegistryStoreText
{
public:
    RegistryStoreText& key(const QString& path)
    {
        m_body += QStringLiteral("\n[") + path + QStringLiteral("]\n");
        return *this;
    }
    // A string value; the empty name is the key's default value.
    RegistryStoreText& string(const QString& name, const QString& value)
    {
        m_body += (name.isEmpty() ? QStringLiteral("@") : quoted(name)) + QLatin1Char('=') + quoted(value) +
                  QLatin1Char('\n');
        return *this;
    }
    RegistryStoreText& dword(const QString& name, quint32 value)
    {
        m_body += quoted(name) + QStringLiteral("=dword:%1\n").arg(value, 8, 16, QLatin1Char('0'));
        return *this;
    }

    RegistryStoreText& displayVersion(const QString& version)
    {
        return key(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare"))
            .string(QStringLiteral("DisplayVersion"), version);
    }
    RegistryStoreText& excelFolder(const QString& folder)
    {
        return key(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App "
                                  "Paths\\excel.exe"))
            .string(QStringLiteral("Path"), folder);
    }
    // .xls files open with the program, given the file as its one argument.
    RegistryStoreText& xlsProgram(const QString& program)
    {
        return key(QStringLiteral("HKEY_CLASSES_ROOT\\.xls"))
            .string(QString(), QStringLiteral("Hanaplan.Sheet"))
            .key(QStringLiteral("HKEY_CLASSES_ROOT\\Hanaplan.Sheet\\shell\\open\\command"))
            .string(QString(), QLatin1Char('"') + program + QStringLiteral("\" \"%1\""));
    }
    RegistryStoreText& windowsVersion(quint32 major, quint32 minor)
    {
        return key(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"))
            .dword(QStringLiteral("CurrentMajorVersionNumber"), major)
            .dword(QStringLiteral("CurrentMinorVersionNumber"), minor);
    }

    QByteArray toUtf8() const
    {
        return (QStringLiteral("Windows Registry Editor Version 5.00\n") + m_body).toUtf8();
    }
    bool writeTo(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(toUtf8()) >= 0;
    }

private:
    static QString quoted(QString text)
    {
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('"'), QStringLiteral("\\\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }

    QString m_body;
};
