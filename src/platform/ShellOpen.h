#pragma once
// Opening a document or a link with the program the desktop has for it.
// Tests replace the desktop with a recorder.
#include <QUrl>
#include <functional>

namespace platform {

// Receives every URL handed to the desktop; returns whether it was opened.
using ShellOpenHandler = std::function<bool(const QUrl& url)>;

// Told, from the event loop, how the desktop's opener ended: true when it
// opened the URL, false when it could not (as an opener for mail links does
// where no mail program is set up).
using ShellOpenOutcome = std::function<void(bool opened)>;

// Replaces the desktop (tests); an empty handler puts the desktop back.
void SetShellOpenHandler(ShellOpenHandler handler);

// Opens a local file. A file that does not exist is not handed on: the
// result is false and nothing is shown.
bool ShellOpenFile(const QString& path);

// Opens a URL (a mailto: link, a web page): false when the desktop has
// nothing to open it with. The desktop's opener runs on its own and the call
// does not wait for it; outcome, when given, hears how it ended. An opener
// still running (one that waits for the program it started) has told
// nothing yet, nor has one ended by this program's exit. A replaced desktop
// answers at once and tells no outcome.
bool ShellOpenUrl(const QUrl& url, ShellOpenOutcome outcome = {});

} // namespace platform
