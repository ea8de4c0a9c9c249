// SPDX-License-Identifier: MIT
// Start-up: from process start to the start window shown, on the offscreen platform, beside two
// yardsticks: a bare Qt program that shows an empty window, and a plain Qt program that shows the start
// window's captions in the same fonts. And the processor time the program uses while a stand-in
// spreadsheet runs for ten seconds.
#include "BenchSupport.h"

#include "platform/Environment.h"
#include "platform/Shell.h"

#include "VersionPeWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRounds = 15;
// The Excel check waits one second before it returns; that wait is not start-up work.
constexpr double kExcelCheckWaitMs = 1000.0;

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        bench::die(QStringLiteral("cannot write ") + path);
    f.write(content);
}

// An installation with Excel 16 and a spreadsheet that runs for the given seconds.
QString layInstallation(const QString& root, int spreadsheetSeconds)
{
    const QString program = root + QStringLiteral("/ProgramFiles/Hanaplan");
    QDir().mkpath(program);
    QDir().mkpath(root + QStringLiteral("/LocalAppData"));
    QDir().mkpath(root + QStringLiteral("/AllUsers"));
    QDir().mkpath(root + QStringLiteral("/run"));
    QFile::copy(QStringLiteral(HANAPLAN_BINARY_DIR "/src/hanaplan"), program + QStringLiteral("/hanaplan"));
    QFile(program + QStringLiteral("/hanaplan"))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile::copy(QStringLiteral(HANAPLAN_BINARY_DIR "/install/HanacareService.mdb"),
                program + QStringLiteral("/HanacareService.mdb"));
    writeFile(program + QStringLiteral("/Hanaplan.xls"), "<?xml version=\"1.0\"?><Workbook/>");
    versionpe::Options excel;
    excel.productVersion = {16, 0, 0, 0};
    QDir().mkpath(root + QStringLiteral("/Excel"));
    writeFile(root + QStringLiteral("/Excel/excel.exe"), versionpe::writeVersionPe(excel));
    const QString sheet = root + QStringLiteral("/sheet.sh");
    writeFile(sheet, QStringLiteral("#!/bin/sh\nsleep %1\n").arg(spreadsheetSeconds).toUtf8());
    QFile(sheet).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    writeFile(
        program + QStringLiteral("/system.reg"),
        (QStringLiteral(
             "Windows Registry Editor Version 5.00\n\n"
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe]\n"
             "\"Path\"=\"") +
         root +
         QStringLiteral("/Excel\"\n\n[HKEY_CLASSES_ROOT\\.xls]\n@=\"Hanaplan.Sheet\"\n\n"
                        "[HKEY_CLASSES_ROOT\\Hanaplan.Sheet\\shell\\open\\command]\n@=\"") +
         sheet + QStringLiteral(" %1\"\n"))
            .toUtf8());
    return program;
}

// Milliseconds from starting the program to its line "shown".
double timeToShown(const QString& program, const QString& root)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HANAPLAN_TRACE_STARTUP"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/run"));
    env.insert(QStringLiteral("ProgramFiles"), root + QStringLiteral("/ProgramFiles"));
    env.insert(QStringLiteral("LOCALAPPDATA"), root + QStringLiteral("/LocalAppData"));
    env.insert(QStringLiteral("ALLUSERSPROFILE"), root + QStringLiteral("/AllUsers"));
    env.remove(QStringLiteral("HANAPLAN_REGISTRY"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, {});
    QByteArray out;
    while (!out.contains("shown") && p.waitForReadyRead(20000))
        out += p.readAllStandardOutput();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (!out.contains("shown"))
        bench::die(program + QStringLiteral(" did not show its window: ") +
                   QString::fromUtf8(p.readAllStandardError()));
    p.kill();
    p.waitForFinished();
    return ms;
}

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString program = layInstallation(dir.path(), 10) + QStringLiteral("/hanaplan");

    std::vector<double> launcher, bare, captions;
    for (int i = 0; i < kRounds; ++i) {
        launcher.push_back(timeToShown(program, dir.path()) - kExcelCheckWaitMs);
        bare.push_back(timeToShown(QStringLiteral(HANAPLAN_BINARY_DIR "/bench/barewindow"), dir.path()));
        captions.push_back(
            timeToShown(QStringLiteral(HANAPLAN_BINARY_DIR "/bench/captionwindow"), dir.path()));
    }
    const double a = bench::median(launcher);
    const double b = bench::median(bare);
    const double c = bench::median(captions);
    std::printf("Start-up to the start window shown, offscreen platform (median of %d runs)\n", kRounds);
    std::printf("  hanaplan, less the Excel check's 1 s wait: %7.1f ms\n", a);
    std::printf("  bare Qt program with an empty window:      %7.1f ms\n", b);
    std::printf("  plain Qt program with the same captions:   %7.1f ms\n", c);
    std::printf("  ratio to the empty window:                 %7.2f (aim: at most 2)\n", a / b);
    std::printf("  ratio to the same captions:                %7.2f (aim: at most 1.3)\n", a / c);

    // The wait for the spreadsheet, as the sign-in runs it: the shell stand-in starts the registered program
    // and the launcher waits for its end with its event loop running.
    qputenv("HANAPLAN_REGISTRY", (dir.path() + QStringLiteral("/ProgramFiles/Hanaplan/system.reg")).toUtf8());
    const platform::Environment environment(dir.path() + QStringLiteral("/ProgramFiles/Hanaplan"));
    platform::RegistryShell shell(environment);
    const QString copy = dir.path() + QStringLiteral("/AllUsers/作業シート.xls");
    writeFile(copy, "workbook");
    const double before = processorSeconds();
    QElapsedTimer wall;
    wall.start();
    if (shell.open(copy) <= 32)
        bench::die(QStringLiteral("the spreadsheet did not start"));
    shell.waitForOpenedProgram();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double used = processorSeconds() - before;
    std::printf("While a stand-in spreadsheet runs for %.1f s\n", seconds);
    std::printf(
        "  processor time of the launcher:            %7.1f ms (%.3f %% of one core; aim: under 1 %%)\n",
        used * 1000.0, 100.0 * used / seconds);
    return 0;
}
