// The program: the start-up in Startup, then the event loop until the end.
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The arguments Qt leaves, as the bytes the system gave: a file whose
    // name is not valid UTF-8 keeps its name.
    SetCommandLine(CommandLineFromArguments(std::vector<std::string>(argv + 1, argv + argc)));
    if (!Main())
        return 0;
    return QApplication::exec();
}
