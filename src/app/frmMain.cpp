#include "app/frmMain.h"

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmMain");
    setWindowTitle("Quorvel Configuration Utility");
    resize(800, 600);
}
