#pragma once
#include <QMainWindow>

// The program's main window. For now a frame that loads hidden and can be
// shown; the canvas, menus and status bar attach to it. The commands that
// the start page and the splash run on it are stand-ins until the window's
// own commands exist.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    // Load handler: the window's stored rectangle, icon and size limits, and
    // the mark that lets a second copy hand its command line over.
    virtual void Form_Load();

    // A second copy's command line (one text, not split into arguments).
    virtual void OpenFileFromMessage(const QString& path);

    // Commands run from the splash and the start page.
    virtual void ReDraw(int nodeIndex);
    virtual void StartNewFile();
    virtual void OpenExisting();
    virtual void Read_Diags();

protected:
    void closeEvent(QCloseEvent* e) override;
};
