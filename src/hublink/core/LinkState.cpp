#include "hublink/core/LinkState.h"

int32_t CommsState = Idle;
std::string CommandText;
std::string RxLine;
std::string LastRxLine;
std::string AcceptedReply;
int16_t RetryCount = 0;
std::vector<std::string> ReplyLines(1);
int16_t ReplyLineCount = 0;
std::vector<std::string> CommandCaptions(1);
int16_t CommandCount = 0;
int32_t ConnectedUnitType = 3;
std::string HubVersion;

void EmptyReplyLines()
{
    ReplyLines.assign(1, std::string());
    ReplyLineCount = 0;
}

void ResetLinkState()
{
    CommsState = Idle;
    CommandText.clear();
    RxLine.clear();
    LastRxLine.clear();
    AcceptedReply.clear();
    RetryCount = 0;
    EmptyReplyLines();
    CommandCaptions.assign(1, std::string());
    CommandCount = 0;
    ConnectedUnitType = 3;
    HubVersion.clear();
}
