// SPDX-License-Identifier: MIT
#include "platform/Shell.h"

#include "platform/Environment.h"
#include "platform/RegistryStore.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {
namespace {

QString textValue(const RegistryStore& store, const QString& key)
{
    const auto value = store.value(RegistryRoot::ClassesRoot, key, QString());
    return value && value->isText() ? value->text().trimmed() : QString();
}

// The program of a command line: a path as given, or a name found on the search path.
QString resolveProgram(const QString& program)
{
    if (program.contains(QLatin1Char('/')))
        return program;
    const QString found = QStandardPaths::findExecutable(program);
    return found.isEmpty() ? program : found;
}

} // namespace

std::unique_ptr<Shell> makeSystemShell(const Environment& environment)
{
    return std::make_unique<RegistryShell>(environment);
}

RegistryShell::RegistryShell(const Environment& environment) : m_environment(environment) {}

RegistryShell::~RegistryShell()
{
    // A program still running when the launcher ends keeps running.
    if (m_process && m_process->state() != QProcess::NotRunning)
        m_process->setParent(nullptr), (void)m_process.release();
}

QString RegistryShell::openCommand(const Environment& environment, const QString& extension)
{
    const RegistryStore store = RegistryStore::open(environment);
    const QString kind = textValue(store, extension);
    if (kind.isEmpty())
        return QString();
    return textValue(store, kind + QStringLiteral("\\shell\\open\\command"));
}

int RegistryShell::open(const QString& file)
{
    const QFileInfo info(file);
    if (!QFileInfo(info.absolutePath()).isDir())
        return PathNotFound;
    if (!info.exists())
        return FileNotFound;

    const QString command = openCommand(m_environment, QLatin1Char('.') + info.suffix());
    if (command.isEmpty())
        return NoAssociation;
    // The registered command is split into its arguments first and the file put into them afterwards, so that
    // no character of the file's name (a blank, a double quote) can split it.
    QStringList arguments = QProcess::splitCommand(command);
    if (arguments.isEmpty())
        return NoAssociation;
    if (command.contains(QStringLiteral("%1"))) {
        for (QString& argument : arguments)
            argument.replace(QStringLiteral("%1"), file);
    } else {
        arguments.append(file);
    }
    const QString program = resolveProgram(arguments.takeFirst());

    const QFileInfo programInfo(program);
    if (!programInfo.exists() || programInfo.isDir())
        return FileNotFound;
    if (!programInfo.isExecutable())
        return AccessDenied;

    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted())
        return BadFormat; // the file is there and may be run, but is no program the system can start
    m_process = std::move(process);
    return Opened;
}

void RegistryShell::waitForOpenedProgram()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        QEventLoop loop;
        QObject::connect(m_process.get(), &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(m_process.get(), &QProcess::errorOccurred, &loop, [&loop, this] {
            if (m_process->state() == QProcess::NotRunning)
                loop.quit();
        });
        if (m_process->state() != QProcess::NotRunning)
            loop.exec();
    }
    m_process.reset();
}

} // namespace platform
