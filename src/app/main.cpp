// The program: the start-up in Startup, then the event loop until the end.
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetCommandLine(CommandLineFromArguments(QApplication::arguments().mid(1)));
    if (!Main())
        return 0;
    return QApplication::exec();
}
