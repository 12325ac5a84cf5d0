// The reference start-up: a bare Qt window of the main window's default size.
#include "ShownProbe.h"

#include <QWidget>

int main(int argc, char** argv)
{
    ShownProbe app(argc, argv);
    QWidget window;
    app.Watch([&window] { return &window; }, 0);
    window.resize(851, 611); // 12765 x 9165 twips
    window.show();
    return QApplication::exec();
}
