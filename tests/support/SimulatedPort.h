#pragma once
// A simulated unit on a pseudo-terminal: the program under test opens
// SlavePath() as its serial port, and a thread answers what arrives on the
// master side with the unit's replies, each at its due time.
#include "support/SimulatedUnit.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <termios.h>
#include <thread>

class SimulatedPort
{
public:
    explicit SimulatedPort(SimulatedUnit& unit);
    ~SimulatedPort();
    SimulatedPort(const SimulatedPort&) = delete;
    SimulatedPort& operator=(const SimulatedPort&) = delete;

    std::string SlavePath() const { return slavePath_; }
    // Unsolicited bytes from the unit, sent at once.
    void Send(const std::string& bytes);
    // Every byte written to the program's end so far, answers and
    // unsolicited bytes alike.
    std::string Sent() const
    {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    // The unit's end goes away, as an adapter that is pulled out: the
    // program's end hangs up.
    void Unplug() { unplug_ = true; }
    // How many of the unit's outputs are still waiting for their time: a
    // unit that is still talking has some.
    size_t Pending() const { return pending_; }
    // The speed and stop bits the program gave its end.
    struct Line
    {
        speed_t Speed;
        bool TwoStopBits;
    };
    Line LineSettings() const;

private:
    void Run();
    void CloseNow();

    SimulatedUnit& unit_;
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> closed_{false};
    std::atomic<bool> unplug_{false};
    std::atomic<size_t> pending_{0};
    mutable std::mutex mutex_;
    std::string sent_;
    std::thread thread_;
};
