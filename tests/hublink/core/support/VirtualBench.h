#pragma once
// A test bench for the link on a virtual clock: the simulated unit answers
// in-process, the reply timer and the unit's delayed answers fire in time
// order as the link waits, and the window records what it was told. Time
// passes only while the link waits, so every interval is exact. The link
// sees the site being edited (model::Nodes).
#include "hublink/core/CommsLink.h"
#include "hublink/core/NodesSiteLink.h"
#include "support/SimulatedUnit.h"

#include <functional>
#include <string>
#include <vector>

class VirtualBench : public hublink::ISerialTransport,
                     public hublink::ILinkTimer,
                     public hublink::IMessageLoop,
                     public hublink::ICommsWindow
{
public:
    explicit VirtualBench(SimulatedUnit& unit);

    hublink::CommsLink& Link() { return link_; }
    int64_t NowMs() const { return now_; }

    // ISerialTransport
    bool Output(const std::string& bytes, hublink::LinkError& error) override;
    // ILinkTimer
    void Start(int32_t intervalMs) override;
    void Stop() override { timerOn_ = false; }
    bool Enabled() const override { return timerOn_; }
    // IMessageLoop
    void WaitWhile(const std::function<bool()>& keepWaiting) override;
    // ICommsWindow
    void AppendToLogBox(const std::string& text) override { Box.push_back(text); }
    void SetControlsBusy(bool busy) override { ControlsBusy = busy; }
    int ProgressValue() const override { return Progress; }
    int ProgressMax() const override { return ProgressMaximum; }
    void SetProgressValue(int value) override { Progress = value; }
    void HideProgress() override { ProgressHidden = true; }
    int32_t ShowMessage(const std::string& text, int32_t style) override;
    void ShowCommsError(const std::string& text) override { CommsErrors.push_back(text); }
    bool DeleteTimerRunning() const override { return DeleteDots; }

    // Bytes the unit sends unasked, delivered after delayMs.
    void UnitSends(const std::string& bytes, int delayMs = 0);
    // Runs events until the virtual clock has moved on by ms.
    void RunFor(int64_t ms);
    // The times (virtual ms) at which the link wrote each chunk, and what.
    struct Write
    {
        int64_t AtMs;
        std::string Bytes;
    };
    std::vector<Write> Writes;
    // Every byte handed to the link, in order: what came from the unit.
    std::string Delivered;

    // What the window was told.
    std::vector<std::string> Box;
    bool ControlsBusy = false;
    int Progress = 0;
    int ProgressMaximum = 100;
    bool ProgressHidden = false;
    struct Message
    {
        std::string Text;
        int32_t Style;
    };
    std::vector<Message> Messages;
    std::vector<std::string> CommsErrors;
    bool DeleteDots = false;
    // Runs while a message box is open (it yields, so the port may deliver).
    std::function<void()> WhileMessageOpen;

private:
    struct Event
    {
        int64_t AtMs;
        std::string Bytes;
        bool ClosePort;
    };
    bool Step(const std::function<bool()>& keepWaiting, int64_t limit);
    void Schedule(Event event);

    SimulatedUnit& unit_;
    hublink::NodesSiteLink site_;
    hublink::CommsLink link_;
    int64_t now_ = 0;
    bool timerOn_ = false;
    int32_t interval_ = 0;
    int64_t deadline_ = 0;
    bool portGone_ = false;
    std::vector<Event> events_;
};
