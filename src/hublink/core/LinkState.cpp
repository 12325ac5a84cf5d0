#include "hublink/core/LinkState.h"

#include "model/FileNames.h"

namespace hublink {

void LinkSession::EmptyReplyLines()
{
    ReplyLines.assign(1, std::string());
    ReplyLineCount = 0;
    StrayLines = 0;
    UnreadLines.clear();
}

bool LinkSession::AddReplyLine(const std::string& line)
{
    if (ReplyLineCount >= kMaxReplyLines)
        return false;
    ++ReplyLineCount;
    ReplyLines.resize(static_cast<size_t>(ReplyLineCount) + 1);
    ReplyLines[static_cast<size_t>(ReplyLineCount)] = model::TrimBlanks(line);
    return true;
}

} // namespace hublink
