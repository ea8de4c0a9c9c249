// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace platform {

class Environment;

// The automation object "Excel.Application", as far as the program uses it: it is created, its Path (the
// folder of Excel's program file) is read, and it is released. It is never shown and never told to quit.
//
// On Windows it is the automation object itself, reached through COM (ExcelApplicationWin.cpp), and held
// until the last copy of this handle is gone. On a system without automation the object stands for the
// registration in the registry store (ExcelApplication.cpp): the text value Path of
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\excel.exe.
class ExcelApplication
{
public:
    // The object, or nothing when no automation server for "Excel.Application" is registered.
    static std::optional<ExcelApplication> create(const Environment& environment);

    // The folder Excel's program file lies in, written as the registration gives it.
    const QString& path() const { return m_path; }

private:
    explicit ExcelApplication(QString path, std::shared_ptr<void> instance = {})
        : m_path(std::move(path)), m_instance(std::move(instance))
    {
    }

    QString m_path;
    // The automation instance, released with the last copy of the handle; none on a system without one.
    std::shared_ptr<void> m_instance;
};

} // namespace platform
