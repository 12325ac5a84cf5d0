#include "platform/ShellOpen.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace platform {

namespace {

ShellOpenHandler& Handler()
{
    static ShellOpenHandler handler;
    return handler;
}

// Starts the desktop's opener on the URL without waiting for it, and tells
// outcome how it ended.
void StartOpener(const QString& opener, const QUrl& url, ShellOpenOutcome outcome)
{
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({QString::fromLatin1(url.toEncoded())});
    // Nothing is read from it or written to it: a program it starts that
    // writes much must not wait on a full pipe.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // A session of its own, as for a program started from the desktop: the
    // mail program it starts does not end with this program's terminal.
    process->setChildProcessModifier([] { ::setsid(); });
    QObject::connect(process, &QProcess::finished, process,
                     [process, outcome](int code, QProcess::ExitStatus status) {
                         // A crash exit is also the opener ended by this
                         // program's exit, which tells nothing.
                         if (status == QProcess::NormalExit && outcome)
                             outcome(code == 0);
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, outcome](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         if (outcome)
                             outcome(false);
                         process->deleteLater();
                     });
    process->start();
}

} // namespace

void SetShellOpenHandler(ShellOpenHandler handler)
{
    Handler() = std::move(handler);
}

bool ShellOpenUrl(const QUrl& url, ShellOpenOutcome outcome)
{
    if (Handler())
        return Handler()(url);
    // The desktop's own opener is watched, so that one that fails is heard
    // of; without it the platform finds what it can.
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    StartOpener(opener, url, std::move(outcome));
    return true;
}

bool ShellOpenFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    return ShellOpenUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
