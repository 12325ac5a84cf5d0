#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace platform {

namespace {

ShellOpenHandler& Handler()
{
    static ShellOpenHandler handler;
    return handler;
}

} // namespace

void SetShellOpenHandler(ShellOpenHandler handler)
{
    Handler() = std::move(handler);
}

bool ShellOpenUrl(const QUrl& url)
{
    if (Handler())
        return Handler()(url);
    return QDesktopServices::openUrl(url);
}

bool ShellOpenFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    return ShellOpenUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
