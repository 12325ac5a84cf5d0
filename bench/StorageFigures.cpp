// The storage figures: the site file and the INI class against reading and
// writing the same bytes whole, through the same safe replace (temporary
// file, flush, rename) that every save of the program uses. The site file is
// timed on the disk, where it is saved, and in memory (ScratchFolder), where
// both sides measure work alone; the large INI file in memory.
#include "Figure.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"
#include "model/clsIniFile.h"
#include "platform/base/FileReplace.h"

#include <stdexcept>

namespace {

void RawReadAndWrite(const std::string& path)
{
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes) || !platform::ReplaceWholeFile(path, bytes))
        throw std::runtime_error("raw I/O failed on " + path);
}

// A figure that works on one file, against raw I/O of the file. The work must
// give back the same bytes, or the two times would not be of the same work.
Figure AgainstRawIo(const std::string& name, const std::string& path, int runs, int aim,
                    const std::function<void()>& work)
{
    const std::string original = ReadBytes(path);
    // Both sides are warmed up alike (caches, the allocator's pools, the
    // file's pages) before either is timed, so that neither pays for the
    // first runs of the process.
    for (int i = 0; i < runs; ++i) {
        work();
        RawReadAndWrite(path);
    }
    const double workMs = MedianMs(runs, work);
    if (ReadBytes(path) != original)
        throw std::runtime_error(name + ": the save did not give back the same bytes");
    const double rawMs = MedianMs(runs, [&] { RawReadAndWrite(path); });
    return Figure{name + " (" + Decimal(workMs) + " ms)",
                  workMs / rawMs,
                  "x",
                  "raw I/O of the same " + std::to_string(original.size() / 1024) + " KB (" + Decimal(rawMs) +
                      " ms)",
                  static_cast<double>(aim),
                  "<= " + std::to_string(aim) + "x"};
}

} // namespace

std::vector<Figure> SiteFileFigures()
{
    using namespace model;
    // As File > Open does, then the check and File > Save.
    const auto openCheckSave = [](const std::string& path) {
        for (clsNode& node : Nodes) {
            node.SetInUse(false);
            node.InitializeNode();
        }
        DisplayMode = -2;
        LoadSiteFile(path);
        CheckConfiguration();
        std::string error;
        if (DisplayMode == -2 || !SaveSiteFile(path, &error))
            throw std::runtime_error("the full site did not load and save: " + error);
    };
    std::vector<Figure> figures;
    for (const auto where : {ScratchFolder::Where::Disk, ScratchFolder::Where::Memory}) {
        ScratchFolder folder("site", where);
        const std::string path = folder.File("full-site.qvs");
        WriteBytes(path, ReadBytes(QVS_TEST_DATA "/full-site.qvs"));
        const bool disk = where == ScratchFolder::Where::Disk;
        Figure figure = AgainstRawIo(std::string("site file open + check + save, 31 RCCs x 31 devices, ") +
                                         (disk ? "on disk" : "in memory"),
                                     path, 30, 3, [&] { openCheckSave(path); });
        if (!disk) {
            figure.Informative = true;
            figure.AimText = "none: the work alone, no disk";
        }
        figures.push_back(figure);
    }
    return figures;
}

std::vector<Figure> IniFileFigures()
{
    ScratchFolder folder("ini");
    const std::string path = folder.File("large.ini");
    // 100 sections of 300 keys (the model holds at most 32,767 keys), long
    // values with a few accented letters: 10 MB.
    const std::string value = "Value text \xE9t\xE9 " + std::string(320, 'x');
    std::string text;
    for (int s = 0; s < 100; ++s) {
        text += "[Section" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 300; ++k)
            text += "Key" + std::to_string(k) + "=" + value + std::to_string(s * 300 + k) + "\r\n";
    }
    WriteBytes(path, text);
    return {AgainstRawIo("INI file of 10 MB read and written by clsIniFile", path, 5, 3, [&] {
        model::clsIniFile ini;
        ini.sFileName(path);
        std::string error;
        if (!ini.IsLoaded() || !ini.SaveFile(&error))
            throw std::runtime_error("the INI file did not load and save: " + error);
    })};
}
