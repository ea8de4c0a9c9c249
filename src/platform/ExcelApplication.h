// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

namespace platform {

class Environment;

// The automation object "Excel.Application", as far as the program uses it: it is created, its Path (the
// folder of Excel's program file) is read, and it is released. It is never shown and never told to quit.
//
// On a system without automation the object stands for the registration in the registry store: the text
// value Path of HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\excel.exe.
class ExcelApplication
{
public:
    // The object, or nothing when no automation server for "Excel.Application" is registered.
    static std::optional<ExcelApplication> create(const Environment& environment);

    // The folder Excel's program file lies in, written as the registration gives it.
    const QString& path() const { return m_path; }

private:
    explicit ExcelApplication(QString path) : m_path(std::move(path)) {}

    QString m_path;
};

} // namespace platform
