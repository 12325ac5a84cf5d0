#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    frmMain w;
    w.show();
    return app.exec();
}
