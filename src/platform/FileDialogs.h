#pragma once
// The open and save file dialogs. Every file dialog of the program goes
// through here so that tests can answer them: with an answerer installed no
// dialog is shown and the answerer's reply is taken as the user's.
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

struct FileDialogRequest
{
    bool save = false;     // a save dialog (else an open dialog)
    QString title;         // window title
    QString fileName;      // starting file name, or path: its name is filled in only when its folder is there
    QString filter;        // "Description (*.ext)"
    QString defaultSuffix; // appended when the chosen name has none
    bool confirmOverwrite = false;
};

// The chosen path, or nothing when the user cancelled.
using FileDialogAnswerer = std::function<std::optional<QString>(const FileDialogRequest&)>;

// A filter of description and pattern pairs joined by "|" ("Text (*.txt)|*.txt")
// in the dialog's form: the descriptions joined by ";;".
QString FilterFromPairs(const QString& pairs);

std::optional<QString> ShowFileDialog(QWidget* owner, const FileDialogRequest& request);

// Installs (or, with an empty function, removes) the answerer.
void SetFileDialogAnswerer(FileDialogAnswerer answerer);

} // namespace platform
