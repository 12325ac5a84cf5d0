#include "views/TableSaveDialog.h"

#include "platform/ProgramMessage.h"

bool SaveTableAs(QWidget* owner, const platform::FileDialogRequest& request, const TableWriter& write,
                 const std::string& savedTitle)
{
    const std::optional<QString> chosen = platform::ShowFileDialog(owner, request);
    if (!chosen || chosen->isEmpty())
        return false;
    const std::string path = chosen->toStdString();
    std::string error;
    if (!write(path, &error)) {
        platform::ShowPlainMessage(owner, "ERROR : Unable to Save " + path + "\r\n" + error, 16, savedTitle);
        return false;
    }
    platform::ShowPlainMessage(owner, "File Saved Successfully", 64, savedTitle);
    return true;
}
