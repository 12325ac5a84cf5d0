#include "platform/FileDialogs.h"
#include "platform/WindowLayer.h"
#include "platform/Yield.h"

#include <QFileDialog>
#include <QFileInfo>

namespace platform {
namespace {

FileDialogAnswerer& Answerer()
{
    static FileDialogAnswerer answerer;
    return answerer;
}

} // namespace

QString FilterFromPairs(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList descriptions;
    for (int i = 0; i < parts.size(); i += 2)
        descriptions << parts[i];
    return descriptions.join(QStringLiteral(";;"));
}

std::optional<QString> ShowFileDialog(QWidget* owner, const FileDialogRequest& request)
{
    if (Answerer()) {
        return Answerer()(request);
    }
    QFileDialog dialog(owner, request.title);
    ShowAbovePinnedWindows(dialog);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An open does not insist that the file exists.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    // A name with a folder is filled in only in that folder: in another one
    // a Return would choose another file of that name. A name alone is one
    // offered wherever the dialog starts.
    const QFileInfo start(request.fileName);
    if (!request.fileName.contains(QLatin1Char('/'))) {
        dialog.selectFile(request.fileName);
    } else if (start.dir().exists()) {
        dialog.setDirectory(start.dir());
        dialog.selectFile(start.fileName());
    }
    const ModalLoop modal;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

void SetFileDialogAnswerer(FileDialogAnswerer answerer)
{
    Answerer() = std::move(answerer);
}

} // namespace platform
