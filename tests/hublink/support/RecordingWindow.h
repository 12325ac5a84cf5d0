#pragma once
// A stand-in for the communications window in the link's window tests: it
// records what the link tells it, and the message boxes the port code shows.
#include "hublink/core/ICommsWindow.h"
#include "hublink/core/ISiteLink.h"
#include "support/MessageRecorder.h"

#include <string>
#include <vector>

class RecordingWindow : public hublink::ICommsWindow, public hublink::ISiteLink
{
public:
    using Message = ShownMessage;

    RecordingWindow()
    {
        platform::SetProgramMessageHandler(
            [this](QWidget*, const std::string& text, int32_t style, const std::string& title) {
                Messages.push_back(Message{text, style, title});
                return 1;
            });
        platform::SetPlainMessageHandler(
            [this](QWidget*, const std::string& text, int32_t style, const std::string& title) {
                PlainMessages.push_back(Message{text, style, title});
                return 1;
            });
    }
    ~RecordingWindow() override
    {
        platform::SetProgramMessageHandler(nullptr);
        platform::SetPlainMessageHandler(nullptr);
    }

    void AppendToLogBox(const std::string& text) override { Box.push_back(text); }
    void SetControlsBusy(bool) override {}
    int ProgressValue() const override { return 0; }
    int ProgressMax() const override { return 100; }
    void SetProgressValue(int) override {}
    void HideProgress() override {}
    int32_t ShowMessage(const std::string& text, int32_t style) override
    {
        Messages.push_back(Message{text, style, "Communicate with Radio Hub"});
        return 1;
    }
    void ShowCommsError(const std::string& text) override
    {
        platform::ShowPlainMessage(nullptr, text, 16, "Communications Error");
    }
    bool DeleteTimerRunning() const override { return false; }

    std::string NodeIdent(int) const override { return {}; }
    int32_t FindNodeByIdent(const std::string&) override { return -1; }
    void SetAssigned(int, int, bool) override {}

    std::vector<std::string> Box;
    std::vector<Message> Messages;
    std::vector<Message> PlainMessages;
};
