#pragma once
// One measured figure of the benchmark: a value against a reference taken in
// the same run, and the aim it must meet. Each source of figures is one
// function returning its lines; main.cpp lists them.
#include <functional>
#include <string>
#include <vector>

struct Figure
{
    std::string Name;      // what was measured
    double Value = 0;      // the ratio, share or time
    std::string Unit;      // "x", "%" or " ms", printed after the value
    std::string Reference; // what the value is measured against, with its own size
    double Aim = 0;        // the value must not be above this
    std::string AimText;   // e.g. "<= 3x"
    bool Informative = false; // shown beside a figure with an aim, with none of its own

    bool Met() const { return Informative || Value <= Aim; }
};

using FigureSource = std::function<std::vector<Figure>()>;

// Runs calls of work, in milliseconds, after one call that is not counted
// (caches, first allocations): the median wall-clock time, and the least
// processor time of the calling thread, the program's own share of work
// that also waits for another thread or process (a simulated unit). Other
// work on the machine lengthens the one without bound; of the other it can
// only take a little (caches, a processor shared with the host's other
// guests), and not from every call alike.
struct Timings
{
    double WallMs = 0;
    double CpuMs = 0;
};
Timings TimeRuns(int runs, const std::function<void()>& before, const std::function<void()>& work,
                 const std::function<void()>& after);

// The median wall-clock time of runs calls of work, in milliseconds, after
// one call that is not counted (caches, first allocations).
double MedianMs(int runs, const std::function<void()>& work);
// The same with untimed steps before and after each call (opening a window
// to work on, closing it again).
double MedianMs(int runs, const std::function<void()>& before, const std::function<void()>& work,
                const std::function<void()>& after);

// Milliseconds since an arbitrary start shared by every process of the
// machine (the monotonic clock).
double NowMs();

// A folder for the bench's files, removed with the object: in memory
// (/dev/shm) where there is one, so that neither side of a storage figure
// waits for the disk, or on the disk (in the bench's build folder), where a
// site file is saved.
class ScratchFolder
{
public:
    enum class Where
    {
        Memory,
        Disk
    };
    explicit ScratchFolder(const std::string& name, Where where = Where::Memory);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// "12.3", "0.456": enough digits for a time or a ratio.
std::string Decimal(double value);

// A figure whose aim is a time: the work's milliseconds against aimMs, the
// reference (raw work of the same size, or the wire time it follows) named
// with its own time and the ratio.
Figure TimeFigure(const std::string& name, double workMs, const std::string& reference, double referenceMs,
                  double aimMs);

// Milliseconds that bytes take on the wire at 115200 baud (ten bits a byte).
double WireMs(std::size_t bytes);

// Opens tests/data/full-site.qvs (31 RCCs, 31 devices each) as File > Open
// does, into a program that holds no site, and fills the loop-address map.
void OpenFullSite();

// The sources (one file each).
std::vector<Figure> SiteFileFigures();
std::vector<Figure> IniFileFigures();
std::vector<Figure> QueryRoundTripFigures();
std::vector<Figure> PortLossFigures();
std::vector<Figure> StartupFigures();
std::vector<Figure> EditorFigures();
std::vector<Figure> ViewFigures();
std::vector<Figure> CompareFigures();
std::vector<Figure> DiagnosticsFigures();
std::vector<Figure> CommsFigures();
