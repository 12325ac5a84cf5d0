#include "platform/Beep.h"

#include <QApplication>

namespace platform {
namespace {
int g_beeps = 0;
}

void Beep()
{
    ++g_beeps;
    QApplication::beep();
}

int BeepCount()
{
    return g_beeps;
}

} // namespace platform
