// Placeholder bodies until the settings file reader and writer land.
#include "model/Settings.h"

void LoadSettings() {}

bool SaveSettings(std::string* error)
{
    if (error != nullptr)
        *error = "settings.ini is not written yet";
    return false;
}
