// The INI reader on arbitrary bytes: the typed getters on what it read, and
// a save that reads back to the same bytes (a second load and save changes
// nothing).
#include "FuzzFiles.h"
#include "model/clsIniFile.h"

using model::clsIniFile;

namespace {

// Loads the file, reads a key of its first section through every getter and
// writes the file again; returns the section names.
std::string LoadReadSave(const std::string& path)
{
    clsIniFile ini;
    ini.sFileName(path);
    const std::string names = ini.GetSectionNames();
    ini.sSectionName(names.substr(0, names.find(',')));
    ini.GetLong("K", 0);
    ini.GetInteger("K", 0);
    ini.GetSingle("K", 0);
    ini.GetDouble("K", 0);
    ini.GetBoolean("K", false);
    ini.GetString("K", "");
    if (!ini.SaveFile())
        fuzz::Finding("an INI file that was read could not be saved");
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string first = fuzz::FuzzFile("first.ini");
    static const std::string second = fuzz::FuzzFile("second.ini");
    fuzz::WriteFile(first, std::string(reinterpret_cast<const char*>(data), size));
    const std::string names = LoadReadSave(first);
    const std::string saved = fuzz::ReadFile(first);
    fuzz::WriteFile(second, saved);
    if (LoadReadSave(second) != names)
        fuzz::Finding("a saved INI file reads back with other sections");
    if (fuzz::ReadFile(second) != saved)
        fuzz::Finding("a saved INI file saves again to other bytes");
    return 0;
}
