#include "support/SimulatedPort.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

SimulatedPort::SimulatedPort(SimulatedUnit& unit) : unit_(unit)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    char name[128];
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
        ptsname_r(master_, name, sizeof name) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slavePath_ = name;
    // Writes never block: once the program has closed its end nothing reads
    // what the unit still has to say, and the unit must stop when asked.
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // A held raw slave keeps the master readable while the program has its
    // end closed, and echoes nothing the unit sends back to it.
    heldSlave_ = ::open(name, O_RDWR | O_NOCTTY);
    termios raw{};
    if (heldSlave_ >= 0 && tcgetattr(heldSlave_, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(heldSlave_, TCSANOW, &raw);
    }
    thread_ = std::thread([this] { Run(); });
}

// Only the unit's thread closes the master while it runs: it reads the
// descriptor without the lock, and a reused number would be another file.
SimulatedPort::~SimulatedPort()
{
    stop_ = true;
    thread_.join();
    CloseNow();
}

void SimulatedPort::CloseNow()
{
    std::lock_guard lock(mutex_);
    if (closed_.exchange(true))
        return;
    ::close(master_);
    if (heldSlave_ >= 0)
        ::close(heldSlave_);
}

SimulatedPort::Line SimulatedPort::LineSettings() const
{
    termios t{};
    tcgetattr(master_, &t);
    return Line{cfgetospeed(&t), (t.c_cflag & CSTOPB) != 0};
}

void SimulatedPort::Send(const std::string& bytes)
{
    std::lock_guard lock(mutex_);
    for (size_t done = 0; !closed_ && done < bytes.size();) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            sent_.append(bytes, done, static_cast<size_t>(n));
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{master_, POLLOUT, 0};
            if (::poll(&p, 1, 10) == 0 && stop_)
                return; // no room, and the port is being taken down
        } else if (n == 0 || errno != EINTR) {
            return;
        }
    }
}

void SimulatedPort::Run()
{
    const auto start = Clock::now();
    std::multimap<Clock::time_point, UnitOutput> due;
    char buffer[512];
    while (!stop_ && !closed_) {
        if (unplug_) {
            CloseNow();
            break;
        }
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 2) > 0 && (p.revents & POLLIN) != 0) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            const auto now = Clock::now();
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - start).count();
            if (n > 0)
                for (UnitOutput& out : unit_.Receive(std::string(buffer, static_cast<size_t>(n)), ms))
                    due.emplace(now + std::chrono::milliseconds(out.DelayMs), std::move(out));
        }
        // A unit asked to stop says nothing more, however much it had still
        // to say: each output that finds no room would wait for it first.
        for (; !due.empty() && due.begin()->first <= Clock::now() && !closed_ && !stop_; due.erase(due.begin())) {
            pending_ = due.size();
            if (due.begin()->second.ClosePort)
                CloseNow();
            else
                Send(due.begin()->second.Bytes);
        }
        pending_ = due.size();
    }
}
