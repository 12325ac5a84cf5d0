#include "platform/FileDialogs.h"
#include "support/ModalWatch.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

// A path's file name is filled in only in its own folder: where that folder
// is not there, a Return would choose a file of that name in another one.
TEST(FileDialogs, APathsNameIsFilledInOnlyInItsOwnFolder)
{
    const testsupport::TempFolder folder("dialog");
    platform::SetFileDialogAnswerer({}); // the dialog itself
    const std::string root = std::filesystem::canonical(folder.path()).string();
    for (const std::string& name : {root + "/site.qvs", root + "/gone/site.qvs"}) {
        QString filled = "not shown";
        QTimer answer;
        modalwatch::AnswersWhile(&answer,
                                 [](const QWidget* w) { return qobject_cast<const QFileDialog*>(w); });
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                const QString text = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
                filled = text.isEmpty() ? text : dialog->directory().filePath(text);
                dialog->reject();
            }
        });
        answer.start(5);
        platform::FileDialogRequest request;
        request.fileName = QString::fromStdString(name);
        EXPECT_EQ(platform::ShowFileDialog(nullptr, request), std::nullopt);
        EXPECT_EQ(filled.toStdString(), name.find("gone") == std::string::npos ? name : "") << name;
    }
}
