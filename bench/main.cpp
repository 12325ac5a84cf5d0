// The benchmark: one line per figure, each a ratio against a reference
// measured in the same run, with its aim. Exits 1 when a figure misses its
// aim, 2 when a figure could not be measured.
//   qvs_bench [word...]   only the sources whose name contains a word
#include "Figure.h"

#include <QApplication>
#include <cstdio>
#include <exception>

namespace {

struct Source
{
    const char* Name;
    FigureSource Measure;
};

const Source kSources[] = {
    {"site-file", SiteFileFigures}, {"ini-file", IniFileFigures}, {"round-trip", QueryRoundTripFigures},
    {"port-loss", PortLossFigures}, {"startup", StartupFigures}, {"editors", EditorFigures},
    {"views", ViewFigures}, {"compare", CompareFigures}, {"diagnostics", DiagnosticsFigures},
    {"comms", CommsFigures},
};

bool Wanted(const char* name, int argc, char** argv)
{
    if (argc < 2)
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::string(name).find(argv[i]) != std::string::npos)
            return true;
    return false;
}

// The offscreen platform's notes on what it cannot do (raise a window,
// size hints) would bury the figures.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (!text.startsWith("This plugin does not support"))
        std::fprintf(stderr, "%s%s\n", type == QtDebugMsg ? "" : "Qt: ", qPrintable(text));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietPlatformNotes);
    QApplication app(argc, argv);
    int result = 0;
    for (const Source& source : kSources) {
        if (!Wanted(source.Name, argc, argv))
            continue;
        try {
            for (const Figure& f : source.Measure()) {
                std::printf("%-4s %7s%-3s %-78s vs %-44s aim %s\n",
                            f.Informative ? "info"
                            : f.Met()     ? "ok"
                                          : "MISS",
                            Decimal(f.Value).c_str(), f.Unit.c_str(), f.Name.c_str(), f.Reference.c_str(),
                            f.AimText.c_str());
                if (!f.Met())
                    result = std::max(result, 1);
            }
        } catch (const std::exception& e) {
            std::printf("FAIL %s: %s\n", source.Name, e.what());
            result = 2;
        }
        std::fflush(stdout);
    }
    return result;
}
