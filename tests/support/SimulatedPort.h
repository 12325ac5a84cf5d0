#pragma once
// A simulated unit on a pseudo-terminal: the test process opens the master
// side, the program under test opens SlavePath() as its serial port, and a
// thread answers what arrives with the unit's replies, each at its due time.
#include "support/SimulatedUnit.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <termios.h>
#include <thread>
#include <vector>

class SimulatedPort
{
public:
    explicit SimulatedPort(SimulatedUnit& unit);
    ~SimulatedPort();
    SimulatedPort(const SimulatedPort&) = delete;
    SimulatedPort& operator=(const SimulatedPort&) = delete;

    // The device path the program opens (/dev/pts/N).
    std::string SlavePath() const { return slavePath_; }
    // Unsolicited bytes from the unit, sent at once.
    void Send(const std::string& bytes);
    // The cable is pulled: the master side closes.
    void Close();
    bool Closed() const { return closed_; }
    // The line settings the program gave its end of the pseudo-terminal.
    termios LineSettings() const;
    // Milliseconds since the port was created (the unit's clock).
    int64_t NowMs() const;

private:
    struct Due
    {
        std::chrono::steady_clock::time_point At;
        UnitOutput Output;
    };
    void Run();
    void WriteAll(const std::string& bytes);

    SimulatedUnit& unit_;
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
    std::chrono::steady_clock::time_point start_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> closed_{false};
    std::mutex mutex_;
    std::vector<Due> due_;
    std::thread thread_;
};
