#pragma once
// The log-folder panel of the main window: a folder tree to pick a folder,
// a list of mounted file systems in place of a drive list, a box and a
// button to make a new folder, and the buttons that move the serial-traffic
// logs to the chosen folder (the set mode, which makes it the log folder) or
// copy them there (the export mode).
#include <QGroupBox>
#include <QString>
#include <string>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

class LogsFrame : public QGroupBox
{
    Q_OBJECT
public:
    enum class Mode
    {
        Set,
        Export
    };
    explicit LogsFrame(QWidget* parent = nullptr);

    // Opens the panel in a mode: the folder list on the log folder (the
    // program's folder when none is set), the captions of the mode, and the
    // file-system list usable only in the export mode.
    void Open(Mode mode);
    // The mode the panel is in, read from the caption of cmdSelect.
    Mode CurrentMode() const;

    // The chosen folder (Dir1.Path).
    QString Dir1Path() const { return dirPath_; }
    void SetDir1Path(const QString& path);

    // Event handlers.
    void cmdSelect_Click();
    void cmdCancel_Click();
    void cmdNewFolder_Click();
    void Drive1_Change();

    QComboBox* Drive1() const { return drive1_; }
    QTreeView* Dir1() const { return dir1_; }
    QLineEdit* txtNewFolder() const { return txtNewFolder_; }
    QPushButton* cmdNewFolder() const { return cmdNewFolder_; }
    QPushButton* cmdSelect() const { return cmdSelect_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

private:
    // Builds the folder tree's model on first use.
    void ListFolders();
    void FillDrives();
    // Scrolls the folder list to the chosen folder while that is wanted.
    void RevealDir1Path();
    // The platform's plain box: text, style (16 critical, 64 information),
    // title.
    void Report(const std::string& text, int style, const std::string& title);

    QComboBox* drive1_ = nullptr;
    QTreeView* dir1_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QLineEdit* txtNewFolder_ = nullptr;
    QPushButton* cmdNewFolder_ = nullptr;
    QPushButton* cmdSelect_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QString dirPath_;
    bool revealPending_ = false;
};
