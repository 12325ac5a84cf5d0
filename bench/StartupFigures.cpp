// The start-up figures: the program started with the full site until its
// main window is shown, against a bare Qt window, each in a process of its
// own on the offscreen platform (bench/startup).
#include "Figure.h"

#include <algorithm>
#include <filesystem>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kStarts = 5;

struct Start
{
    double Ms = 0;     // from the spawn until shown, less the fixed waits
    double PeakMb = 0; // peak resident memory until then
};

// One start in a fresh program folder (settings, lock and socket included).
Start StartOnce(const std::vector<std::string>& command, int run)
{
    ScratchFolder folder("start-" + std::to_string(run));
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
    std::vector<std::string> variables = {"QT_QPA_PLATFORM=offscreen", "QVS_PROGRAM_FOLDER=" + folder.Path(),
                                          "XDG_RUNTIME_DIR=" + folder.Path()};
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "QT_QPA_PLATFORM" && name != "QVS_PROGRAM_FOLDER" && name != "XDG_RUNTIME_DIR")
            variables.push_back(entry);
    }
    std::vector<char*> env, argv;
    for (std::string& v : variables)
        env.push_back(v.data());
    env.push_back(nullptr);
    std::vector<std::string> args = command;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0)
        throw std::runtime_error("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = 0;
    const double spawnedAt = NowMs();
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; !failed && (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    if (!failed)
        ::waitpid(pid, &status, 0);

    std::istringstream line(text);
    std::string word;
    double shownAt = 0, fixedMs = 0;
    long peakKb = 0;
    if (failed || !(line >> word >> shownAt >> peakKb >> fixedMs) || word != "shown")
        throw std::runtime_error(command[0] + " did not report its shown window");
    return Start{shownAt - spawnedAt - fixedMs, peakKb / 1024.0};
}

// The medians of kStarts starts.
Start StartMedian(const std::vector<std::string>& command)
{
    std::vector<double> ms, mb;
    for (int run = 0; run < kStarts; ++run) {
        const Start s = StartOnce(command, run);
        ms.push_back(s.Ms);
        mb.push_back(s.PeakMb);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(mb.begin(), mb.end());
    return Start{ms[kStarts / 2], mb[kStarts / 2]};
}

} // namespace

std::vector<Figure> StartupFigures()
{
    const Start bare = StartMedian({QVS_BARE_WINDOW});
    const Start site = StartMedian({QVS_SITE_WINDOW, QVS_TEST_DATA "/full-site.qvs"});
    return {
        Figure{"start-up to the shown main window, full site, less the splash (" + Decimal(site.Ms) + " ms)",
               site.Ms / bare.Ms, "x", "a bare Qt window with a line of text (" + Decimal(bare.Ms) + " ms)", 3, "<= 3x"},
        Figure{"peak memory to the shown main window, full site (" + Decimal(site.PeakMb) + " MB)",
               site.PeakMb / bare.PeakMb, "x", "a bare Qt window (" + Decimal(bare.PeakMb) + " MB)", 2,
               "<= 2x"}};
}
