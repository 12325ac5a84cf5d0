// The link's receive handler and reply dispatcher on arbitrary bytes from the
// unit, mixed with what callers and the timer do. The input is read line by
// line (a line feed ends each; the link ignores line feeds anyway):
//   >code command   a caller sends the command and waits with that code
//                   (programming: the commands of the list split by "|")
//   ~               a tick of the reply timer, when it runs
//   !               the port goes away
//   *               the delete progress dots start or stop
//   anything else   bytes received from the unit, carriage returns included
// The site is the full test site, so that assignment replies find units.
#include "FuzzFiles.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/NodesSiteLink.h"
#include "model/Settings.h"
#include "model/SiteFile.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

using namespace hublink;
using enum CommsStateCode;

namespace {

// The port, the timer, the wait and the window, doing nothing but keeping
// the state the link reads back.
class QuietEnds : public ISerialTransport, public ILinkTimer, public IMessageLoop, public ICommsWindow
{
public:
    bool Output(const std::string&, LinkError&) override { return true; }
    void Start(int32_t) override { timerOn = true; }
    void Stop() override { timerOn = false; }
    bool Enabled() const override { return timerOn; }
    void WaitWhile(const std::function<bool()>&) override {}
    void AppendToLogBox(const std::string&) override {}
    void SetControlsBusy(bool) override {}
    int ProgressValue() const override { return progress; }
    int ProgressMax() const override { return 100; }
    void SetProgressValue(int value) override { progress = value; }
    void HideProgress() override {}
    int32_t ShowMessage(const std::string&, int32_t) override { return 1; }
    void ShowCommsError(const std::string&) override {}
    bool DeleteTimerRunning() const override { return deleteDots; }

    bool timerOn = false;
    int progress = 0;
    bool deleteDots = false;
};

// Every code of the link's state, as the link defines them.
constexpr const auto& kStates = kCommsStateCodes;

std::vector<std::string> Split(const std::string& text, char at)
{
    std::vector<std::string> parts(1);
    for (char c : text)
        if (c == at)
            parts.emplace_back();
        else
            parts.back() += c;
    return parts;
}

// As the callers do: a programming list whose first command goes out, or one
// command with its waiting code (collections start empty).
void Send(CommsLink& link, const std::string& request)
{
    const size_t blank = request.find(' ');
    const StateCode code = StateCode::FromValue(std::atoi(request.substr(0, blank).c_str()));
    const std::string command = blank == std::string::npos ? std::string() : request.substr(blank + 1);
    if (std::find(std::begin(kStates), std::end(kStates), code) == std::end(kStates))
        return;
    LinkSession& session = link.Session();
    if (code == ProgramWait) {
        const std::vector<std::string> commands = Split(command, '|');
        session.ReplyLines = {""};
        session.ReplyLines.insert(session.ReplyLines.end(), commands.begin(), commands.end());
        session.CommandCaptions.assign(session.ReplyLines.size(), "");
        session.CommandCount = static_cast<int16_t>(commands.size());
        session.ReplyLineCount = 1;
        session.CommandText = session.ReplyLines[1];
    } else {
        if (code == SysConfigWait || code == AllStatusCollect)
            session.EmptyReplyLines();
        session.CommandText = command;
    }
    session.CommsState = code;
    link.SendCommand(false, kReplyTimeoutMs);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    model::LoadSiteFile(QVS_TEST_DATA "/full-site.qvs");
    LogProg = false;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QuietEnds ends;
    NodesSiteLink site;
    CommsLink link(ends, ends, ends, ends, site);
    for (const std::string& line : Split(std::string(reinterpret_cast<const char*>(data), size), '\n')) {
        if (line.empty())
            continue;
        if (line[0] == '>')
            Send(link, line.substr(1));
        else if (line == "~" && ends.timerOn)
            link.CommsTimer_Timer();
        else if (line == "!")
            link.PortLost(LinkError{5, "Input/output error"});
        else if (line == "*")
            ends.deleteDots = !ends.deleteDots;
        else
            link.Comm_OnComm(line);
        const LinkSession& session = link.Session();
        if (std::find(std::begin(kStates), std::end(kStates), session.CommsState) == std::end(kStates))
            fuzz::Finding("the link moved to a state that has no code");
        if (session.ReplyLineCount < 0 || session.ReplyLineCount > std::max<int>(kMaxReplyLines, session.CommandCount + 1))
            fuzz::Finding("the reply line count left its range");
        if (session.RxLine.size() > CommsLink::kMaxLineLength)
            fuzz::Finding("a received line grew past its limit");
    }
    return 0;
}
