// The reference start-up: a bare Qt window of the main window's default size
// showing one line of text, so that both starts pay for the font system.
#include "ShownProbe.h"

#include <QLabel>

int main(int argc, char** argv)
{
    ShownProbe app(argc, argv);
    QLabel window("Radio Hub");
    app.Watch([&window] { return &window; }, 0);
    window.resize(851, 611); // 12765 x 9165 twips
    window.show();
    return QApplication::exec();
}
