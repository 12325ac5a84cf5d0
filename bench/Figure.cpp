#include "Figure.h"
#include "hublink/core/AddressMaps.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <time.h>
#include <unistd.h>

using namespace hublink;

double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double MedianMs(int runs, const std::function<void()>& work)
{
    return MedianMs(runs, [] {}, work, [] {});
}

namespace {

double ThreadCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

Timings TimeRuns(int runs, const std::function<void()>& before, const std::function<void()>& work,
                 const std::function<void()>& after)
{
    before();
    work();
    after();
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        before();
        const double start = NowMs();
        const double startCpu = ThreadCpuMs();
        work();
        cpu.push_back(ThreadCpuMs() - startCpu);
        wall.push_back(NowMs() - start);
        after();
    }
    return {Median(wall), *std::min_element(cpu.begin(), cpu.end())};
}

double MedianMs(int runs, const std::function<void()>& before, const std::function<void()>& work,
                const std::function<void()>& after)
{
    return TimeRuns(runs, before, work, after).WallMs;
}

Figure TimeFigure(const std::string& name, double workMs, const std::string& reference, double referenceMs,
                  double aimMs)
{
    return Figure{name + " (" + Decimal(workMs / referenceMs) + "x)", workMs, " ms",
                  reference + " (" + Decimal(referenceMs) + " ms)", aimMs, "< " + Decimal(aimMs) + " ms"};
}

double WireMs(std::size_t bytes)
{
    return static_cast<double>(bytes) * 10 / 115200 * 1000;
}

void OpenFullSite()
{
    model::ResetSite();
    ResetSiteState();
    model::ResetSiteFile();
    model::ResetConfigurationCheck();
    DisplayMode = -2;
    model::LoadSiteFile(QVS_TEST_DATA "/full-site.qvs");
    if (DisplayMode == -2)
        throw std::runtime_error("the full site did not open");
    BuildAddressMap();
}

ScratchFolder::ScratchFolder(const std::string& name, Where where)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = where == Where::Disk            ? fs::path(QVS_BENCH_DISK)
                          : fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm")
                                                             : fs::temp_directory_path();
    path_ = (base / ("qvs-bench-" + name + "-" + std::to_string(::getpid()))).string();
    fs::remove_all(path_, ec);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string Decimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text,
                  value >= 100  ? "%.0f"
                  : value >= 10 ? "%.1f"
                  : value >= 1  ? "%.2f"
                                : "%.3f",
                  value);
    return text;
}
