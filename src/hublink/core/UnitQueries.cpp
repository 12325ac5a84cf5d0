#include "hublink/core/UnitQueries.h"

#include "hublink/core/AnswerForms.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkText.h"
#include "hublink/core/LinkTiming.h"
#include "model/Convert.h"
#include "model/SiteState.h"

namespace hublink {

using enum CommsStateCode;

using namespace linktext;

bool StopDebugOutput(CommsLink& link)
{
    if (link.Transact(DebugOffWait, "DEBUGOFF ALL", kReplyTimeoutMs) != DebugOffDone)
        return false;
    if (IsLoopInterface)
        return true;
    return link.Transact(StatusMonitorOffWait, "DS MON DIS", kReplyTimeoutMs) == StatusMonitorOffDone;
}

VersionUnit VersionReplyUnit(const std::string& line)
{
    for (const char* word : {"RCC", "HUB"})
        if (BeginsWith(line, word))
            return VersionUnit::HubOrRcc;
    for (const char* word : {"WZM", "ALID", "GELI", "ZWZM", "ZRLM"})
        if (BeginsWith(line, word))
            return VersionUnit::LoopInterface;
    return VersionUnit::None;
}

bool IsVersionReply(const std::string& line, const std::string&)
{
    return VersionReplyUnit(line) != VersionUnit::None;
}

int32_t ReadUnitType(CommsLink& link, int16_t Node)
{
    LinkSession& session = link.Session();
    const StateCode state = link.Transact(SoftwareVersionWait, "GET SWV", kReplyTimeoutMs);
    if (state != SoftwareVersionDone) {
        session.HubVersion.clear();
        if (state == UnknownCommand) {
            session.ConnectedUnitType = Node < 1 ? 4 : 5;
            return 1;
        }
        session.ConnectedUnitType = 3;
        return link.PortFailed() ? kUnitTypeNoPort : 3;
    }
    const std::string& reply = session.AcceptedReply;
    IsLoopInterface = VersionReplyUnit(reply) == VersionUnit::LoopInterface;
    const std::string kind = model::Upper(reply.substr(0, 3));
    int32_t result;
    if (kind == "HUB") {
        session.ConnectedUnitType = 4;
        result = Node != 0 ? 4 : 1;
    } else if (kind == "RCC") {
        session.ConnectedUnitType = 5;
        result = Node < 1 ? 5 : 1;
    } else if (kind == "ALI" || kind == "WZM" || kind == "GEL" || kind == "ZRL" || kind == "ZWZ") {
        session.ConnectedUnitType = 6;
        result = 1;
    } else {
        session.ConnectedUnitType = 3;
        result = 3;
    }
    const size_t at = reply.find(" V");
    session.HubVersion = at == std::string::npos ? std::string() : reply.substr(at + 2, 6);
    return result;
}

std::string ReadIdent(CommsLink& link)
{
    const StateCode state = link.Transact(IdentReadWait, "IDENTREAD", kReplyTimeoutMs);
    std::string ident = state == IdentReadDone ? Right(link.Session().AcceptedReply, 5) : std::string();
    link.Session().CommsState = Idle;
    return ident;
}

bool CheckIdent(CommsLink& link, int16_t Node)
{
    if (link.Transact(IdentReadWait, "IDENTREAD", kReplyTimeoutMs) != IdentReadDone)
        return false;
    return Right(link.Session().AcceptedReply, 5) == link.Site().NodeIdent(Node);
}

int16_t ReadLoopCount(CommsLink& link)
{
    const StateCode state = link.Transact(LoopCountWait, "QUERY LOOPCOUNT", kReplyTimeoutMs);
    if (state == LoopCountDone) {
        const std::string& reply = link.Session().AcceptedReply;
        if (reply.size() > 16 && reply[16] >= '0' && reply[16] <= '9')
            return static_cast<int16_t>(reply[16] - '0');
        return -2;
    }
    return state == UnknownCommand ? -1 : -2;
}

int32_t ReadLoopProtocol(CommsLink& link)
{
    const StateCode state = link.Transact(LoopProtocolWait, "GET LP", kReplyTimeoutMs);
    if (state == LoopProtocolDone) {
        // The protocol by the whole word after an "LP" (the link took a word
        // it does not know only when two sends were answered alike).
        const int32_t named = forms::LoopProtocolNamed(link.Session().AcceptedReply);
        return named != 0 ? named : 4;
    }
    return state == UnknownCommand ? 4 : 5;
}

} // namespace hublink
