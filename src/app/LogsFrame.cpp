#include "app/LogsFrame.h"

#include "model/LogFiles.h"
#include "model/Settings.h"
#include "platform/ProgramMessage.h"
#include "platform/Win1252Validator.h"
#include "platform/base/CodePage.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/MessageStyle.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QValidator>

namespace {

// Refuses the characters a folder name cannot hold as they are typed or
// pasted.
class FolderNameValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        for (QChar c : input)
            if (c.unicode() < 128 && model::IsRejectedFolderNameCharacter(static_cast<char>(c.unicode())))
                return Invalid;
        return Acceptable;
    }
};

const std::string kUnstorableFolderText =
    "The settings file cannot store this folder's name, so it cannot be the logs folder:\r\n";

} // namespace

LogsFrame::LogsFrame(QWidget* parent) : QGroupBox(parent)
{
    setObjectName("LogsFrame");
    setAutoFillBackground(true);

    // The drive list and the folder tree are filled when the panel first
    // opens: reading the file system costs the start of the program.
    drive1_ = new QComboBox(this);
    drive1_->setObjectName("Drive1");
    connect(drive1_, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    dir1_ = new QTreeView(this);
    dir1_->setObjectName("Dir1");
    dir1_->setHeaderHidden(true);

    txtNewFolder_ = new QLineEdit(this);
    txtNewFolder_->setObjectName("txtNewFolder");
    txtNewFolder_->setValidator(new FolderNameValidator(txtNewFolder_));
    platform::LimitToWin1252(txtNewFolder_);

    cmdNewFolder_ = new QPushButton("Make New Folder", this);
    cmdNewFolder_->setObjectName("cmdNewFolder");
    cmdSelect_ = new QPushButton("Select", this);
    cmdSelect_->setObjectName("cmdSelect");
    cmdCancel_ = new QPushButton("Cancel", this);
    cmdCancel_->setObjectName("cmdCancel");
    connect(cmdNewFolder_, &QPushButton::clicked, this, &LogsFrame::cmdNewFolder_Click);
    connect(cmdSelect_, &QPushButton::clicked, this, &LogsFrame::cmdSelect_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &LogsFrame::cmdCancel_Click);
    hide();
}

void LogsFrame::ListFolders()
{
    if (folders_ != nullptr)
        return;
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath("/");
    dir1_->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        dir1_->hideColumn(column);
    // Folders are listed (and sorted) as they are read: the chosen folder is
    // kept in view until the user scrolls or clicks in the list.
    const auto revealLater = [this] {
        if (revealPending_)
            QTimer::singleShot(0, this, &LogsFrame::RevealDir1Path);
    };
    connect(folders_, &QAbstractItemModel::rowsInserted, this, revealLater);
    connect(folders_, &QAbstractItemModel::layoutChanged, this, revealLater);
    connect(dir1_->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { revealPending_ = false; });
    connect(dir1_, &QAbstractItemView::pressed, this, [this] { revealPending_ = false; });
    connect(dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    dirPath_ = folders_->filePath(current);
            });
}

void LogsFrame::FillDrives()
{
    // The file system has one root; mounted volumes (a memory stick, a
    // network share) stand in for the drives.
    const QSignalBlocker blocker(drive1_);
    drive1_->clear();
    drive1_->addItem("/");
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !volume.isRoot() && volume.rootPath().startsWith('/'))
            drive1_->addItem(volume.rootPath());
}

void LogsFrame::Open(Mode mode)
{
    const std::string folder = LogFolder.empty() ? platform::ProgramFolder() : LogFolder;
    const QString path = QString::fromStdString(folder);
    SetDir1Path(path);
    {
        const QSignalBlocker blocker(drive1_);
        FillDrives();
        const int drive = drive1_->findText(QStorageInfo(path).rootPath());
        drive1_->setCurrentIndex(drive < 0 ? 0 : drive);
    }
    drive1_->setEnabled(mode == Mode::Export);
    setTitle(mode == Mode::Set ? "Set Comms Logs Folder" : "Export Comms Logs");
    cmdSelect_->setText(mode == Mode::Set ? "Select" : "Export");
    show();
    raise();
}

LogsFrame::Mode LogsFrame::CurrentMode() const
{
    return cmdSelect_->text() == "Select" ? Mode::Set : Mode::Export;
}

void LogsFrame::SetDir1Path(const QString& path)
{
    ListFolders();
    dirPath_ = path;
    const QModelIndex index = folders_->index(path);
    if (!index.isValid())
        return;
    dir1_->setCurrentIndex(index);
    dir1_->expand(index);
    revealPending_ = true;
    RevealDir1Path();
}

void LogsFrame::RevealDir1Path()
{
    if (revealPending_ && folders_ != nullptr)
        dir1_->scrollTo(folders_->index(dirPath_));
}

void LogsFrame::Drive1_Change()
{
    const QString drive = drive1_->currentText();
    const QDir root(drive);
    if (root.exists() && root.isReadable()) {
        SetDir1Path(drive);
        return;
    }
    drive1_->setCurrentIndex(0); // back to "/", which runs this again
}

void LogsFrame::cmdNewFolder_Click()
{
    const model::NewFolderResult made =
        model::MakeNewFolder(dirPath_.toStdString(), txtNewFolder_->text().toStdString());
    if (!made.report.ok) {
        Report(made.report.text, MessageStyle::Critical, made.report.title);
        return;
    }
    if (made.path.empty())
        return;
    SetDir1Path(QString::fromStdString(made.path));
    txtNewFolder_->clear();
}

void LogsFrame::cmdSelect_Click()
{
    const Mode mode = CurrentMode();
    const std::string source = LogFolder.empty() ? platform::ProgramFolder() : LogFolder;
    const std::string target = dirPath_.toStdString();
    // settings.ini keeps the folder: one it cannot store is not taken.
    if (mode == Mode::Set && !platform::IsWin1252Representable(target)) {
        Report(kUnstorableFolderText + target, MessageStyle::Critical, "Set Folder For Log Files");
        return;
    }
    const model::LogFolderReport report =
        mode == Mode::Set ? model::MoveLogFiles(source, target) : model::ExportLogFiles(source, target);
    if (!report.ok) {
        Report(report.text, MessageStyle::Critical, report.title);
        return;
    }
    if (mode == Mode::Set)
        LogFolder = model::WithoutTrailingSeparator(target);
    hide();
    Report(report.text, MessageStyle::Information, report.title);
}

void LogsFrame::cmdCancel_Click()
{
    hide();
}

void LogsFrame::Report(const std::string& text, int style, const std::string& title)
{
    platform::ShowPlainMessage(window(), text, style, title);
}
