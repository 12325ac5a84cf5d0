#pragma once
#include <QMainWindow>

// The program's main window. For now an empty frame that loads hidden and
// can be shown; the canvas, menus and status bar attach to it.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};
