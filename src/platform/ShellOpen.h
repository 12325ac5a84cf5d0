#pragma once
// Opening a document or a link with the program the desktop has for it.
// Tests replace the desktop with a recorder.
#include <QUrl>
#include <functional>

namespace platform {

// Receives every URL handed to the desktop; returns whether it was opened.
using ShellOpenHandler = std::function<bool(const QUrl& url)>;

// Replaces the desktop (tests); an empty handler puts the desktop back.
void SetShellOpenHandler(ShellOpenHandler handler);

// Opens a local file. A file that does not exist is not handed on: the
// result is false and nothing is shown.
bool ShellOpenFile(const QString& path);

// Opens a URL (a mailto: link, a web page).
bool ShellOpenUrl(const QUrl& url);

} // namespace platform
