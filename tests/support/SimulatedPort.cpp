#include "support/SimulatedPort.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

SimulatedPort::SimulatedPort(SimulatedUnit& unit) : unit_(unit), start_(std::chrono::steady_clock::now())
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0)
        throw std::runtime_error("no pseudo-terminal name");
    slavePath_ = name;
    // Holding one slave descriptor keeps the master readable while the
    // program has its end closed; it is made raw so that nothing the unit
    // sends is echoed back to it before the program opens the port.
    heldSlave_ = ::open(name, O_RDWR | O_NOCTTY);
    termios raw{};
    if (heldSlave_ >= 0 && tcgetattr(heldSlave_, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(heldSlave_, TCSANOW, &raw);
    }
    thread_ = std::thread([this] { Run(); });
}

SimulatedPort::~SimulatedPort()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    Close();
}

void SimulatedPort::Close()
{
    std::lock_guard lock(mutex_);
    if (closed_)
        return;
    closed_ = true;
    ::close(master_);
    if (heldSlave_ >= 0)
        ::close(heldSlave_);
    heldSlave_ = -1;
}

int64_t SimulatedPort::NowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
        .count();
}

termios SimulatedPort::LineSettings() const
{
    termios t{};
    tcgetattr(master_, &t);
    return t;
}

void SimulatedPort::Send(const std::string& bytes)
{
    std::lock_guard lock(mutex_);
    if (!closed_)
        WriteAll(bytes);
}

void SimulatedPort::WriteAll(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

void SimulatedPort::Run()
{
    char buffer[512];
    while (!stop_ && !closed_) {
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, 2);
        if (ready > 0 && (p.revents & POLLIN) != 0) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                const auto now = std::chrono::steady_clock::now();
                auto outputs = unit_.Receive(std::string(buffer, static_cast<size_t>(n)), NowMs());
                std::lock_guard lock(mutex_);
                for (UnitOutput& out : outputs)
                    due_.push_back(Due{now + std::chrono::milliseconds(out.DelayMs), std::move(out)});
                std::stable_sort(due_.begin(), due_.end(),
                                 [](const Due& a, const Due& b) { return a.At < b.At; });
            }
        }
        std::vector<UnitOutput> now;
        {
            std::lock_guard lock(mutex_);
            const auto t = std::chrono::steady_clock::now();
            while (!due_.empty() && due_.front().At <= t) {
                now.push_back(std::move(due_.front().Output));
                due_.erase(due_.begin());
            }
        }
        for (const UnitOutput& out : now) {
            if (out.ClosePort) {
                Close();
                break;
            }
            Send(out.Bytes);
        }
    }
}
