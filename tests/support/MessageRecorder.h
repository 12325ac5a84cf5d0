#pragma once
// Records the message boxes the program shows instead of showing them; every
// box is answered with 1. The handlers go when the recorder does.
#include "platform/ProgramMessage.h"

#include <cstdint>
#include <string>
#include <vector>

struct ShownMessage
{
    std::string Text;
    int32_t Style;
    std::string Title;
};

class MessageRecorder
{
public:
    MessageRecorder()
    {
        auto record = [this](QWidget*, const std::string& text, int32_t style, const std::string& title) {
            Messages.push_back(ShownMessage{text, style, title});
            return 1;
        };
        platform::SetProgramMessageHandler(record);
        platform::SetPlainMessageHandler(record);
    }
    ~MessageRecorder()
    {
        platform::SetProgramMessageHandler(nullptr);
        platform::SetPlainMessageHandler(nullptr);
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<ShownMessage> Messages;
};
