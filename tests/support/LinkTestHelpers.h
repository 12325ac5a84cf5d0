#pragma once
// Shared steps of the link's tests: the traffic log and the programming list.
#include "hublink/core/CommsLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/ProgLog.h"
#include "hublink/core/ProgrammingList.h"
#include "model/Settings.h"
#include "model/TestFiles.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The log goes into a folder of its own, which goes with the object returned.
[[nodiscard]] inline testsupport::TempFolder LogIntoFreshFolder(const std::string& name)
{
    LogProg = true;
    testsupport::TempFolder folder(name);
    LogFolder = folder.String();
    return folder;
}

inline std::string ProgLogText()
{
    return testfiles::ReadBytes(hublink::ProgLogPath());
}

// The log after its opening header (what the link wrote).
inline std::string ProgLogBody()
{
    const std::string text = ProgLogText();
    const size_t body = text.find("\r\n\r\n\r\n");
    return body == std::string::npos ? std::string() : text.substr(body + 6);
}

// The lines the link logged as received ("<- " and the line), in order.
inline std::vector<std::string> LoggedReplies()
{
    std::vector<std::string> lines;
    const std::string text = ProgLogText();
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find("\r\n", at), text.size());
        if (text.compare(at, 3, "<- ") == 0)
            lines.push_back(text.substr(at + 3, end - at - 3));
        at = end + 2;
    }
    return lines;
}

// The non-empty lines of bytes a unit sent (each ended by a carriage
// return; a line feed is no part of a line).
inline std::vector<std::string> LinesSent(const std::string& bytes)
{
    std::vector<std::string> lines(1);
    for (const char c : bytes) {
        if (c == '\r' && !lines.back().empty())
            lines.emplace_back();
        else if (c != '\r' && c != '\n')
            lines.back() += c;
    }
    lines.pop_back(); // the line still open
    return lines;
}

// Fills the programming list as the programming sequence does and sends its
// first command; the link walks the rest as the echoes arrive.
inline auto SendProgramList(hublink::CommsLink& link, const std::vector<std::string>& commands,
                            std::vector<std::string> captions = {})
{
    captions.resize(commands.size());
    hublink::ProgrammingList list;
    for (size_t i = 0; i < commands.size(); ++i)
        list.AddCommand(commands[i], captions[i]);
    hublink::PutProgrammingList(link.Session(), list);
    link.Session().ReplyLineCount = 1;
    return link.Transact(hublink::CommsStateCode::ProgramWait, commands[0],
                         commands[0] == "POPULATE CLEAR" ? 5000 : hublink::kReplyTimeoutMs);
}
