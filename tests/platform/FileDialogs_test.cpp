#include "platform/FileDialogs.h"
#include "support/ModalWatch.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

// The dialog fills in a path's file name only in that file's own folder: in
// another (the one it starts on when the path's folder is not there) a
// Return would choose another file of that name. A name alone is offered
// wherever it starts.
TEST(FileDialogs, APathsNameIsFilledInOnlyInItsOwnFolder)
{
    const testsupport::TempFolder folder("dialog");
    const QString root = QString::fromStdString(std::filesystem::canonical(folder.path()).string());
    const std::tuple<QString, QString, QString> rows[] = {
        {root + "/site.qvs", root, "site.qvs"},
        {root + "/gone/site.qvs", {}, ""},
        {"untitled.qvs", {}, "untitled.qvs"},
    };
    platform::SetFileDialogAnswerer({}); // the dialog itself
    for (const auto& [start, shown, named] : rows) {
        SCOPED_TRACE(start.toStdString());
        QString directory, filled = "not shown";
        QTimer answer;
        modalwatch::AnswersWhile(&answer, [](const QWidget* w) { return qobject_cast<const QFileDialog*>(w); });
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                directory = dialog->directory().absolutePath();
                filled = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
                dialog->reject();
            }
        });
        answer.start(5);
        platform::FileDialogRequest request;
        request.save = true;
        request.fileName = start;
        EXPECT_EQ(platform::ShowFileDialog(nullptr, request), std::nullopt);
        if (!shown.isEmpty()) {
            EXPECT_EQ(directory, shown);
        }
        EXPECT_EQ(filled, named);
    }
}
