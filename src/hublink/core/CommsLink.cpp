#include "hublink/core/CommsLink.h"

#include "hublink/core/AnswerForms.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkText.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/ProgLog.h"
#include "hublink/core/UnitQueries.h"
#include "model/Convert.h"
#include "model/FileNames.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/base/CodePage.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace hublink {

using namespace linktext;

using enum CommsStateCode;

namespace {

const char* const kFailureText = "Communications Failure,  Please check Comms Port";

std::string ErrorText(const LinkError& error)
{
    return "Unexpected Communications Error - " + std::to_string(error.Number) + "\r\n" + error.Description;
}

// The unit a delete's echo (or command) names: the word after "DELETE DEVICE".
std::string_view DeletedUnit(std::string_view line)
{
    const std::string_view words = "DELETE DEVICE";
    const size_t at = line.find(words);
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = line.substr(at + words.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    return rest.substr(0, rest.find(' '));
}

// The echo of a delete of another unit than the command's.
bool EchoesAnotherDelete(const std::string& line, const std::string& command)
{
    return Contains(line, "DELETE DEVICE") && DeletedUnit(line) != DeletedUnit(command);
}

// What the log says of a delete the line reports done; nullptr when it
// reports none.
const char* DeleteDoneText(const std::string& line)
{
    if (!forms::IsPlainText(line))
        return nullptr;
    if (Contains(line, "DELETE DEVICE") || BeginsWith(line, "DEVICE DELETED"))
        return "Device Successfully Deleted";
    if (BeginsWith(line, "DELETE NODE"))
        return "RCC Successfully Deleted";
    if (BeginsWith(line, "DEVICE NO RESPONSE"))
        return "Device Deleted, but did not Respond ";
    if (BeginsWith(line, "DEVICE DELETE TIMEOUT"))
        return "Device Deleted, but RCC did not Respond ";
    return nullptr;
}

// The hub holds the relation a RELATION ADD asks for.
bool HoldsRelation(const std::string& line)
{
    if (!forms::IsPlainText(line))
        return false;
    const std::string upper = model::Upper(line);
    return Contains(upper, "RELATION ALREADY EXISTS") || Contains(upper, "NODE RELATION ALREADY DEFINED");
}

// What a line says of the programming command in flight: its echo, or for a
// relation one the hub already holds, acknowledges it; a failed populate or
// a command error rejects it.
enum class ListAnswer
{
    None,
    Acknowledged,
    PopulateFailed,
    CommandError,
};

// A line saying the relation is already as a relation command asks: one
// that says the hub holds it answers only an add.
bool RelationAlreadyAsAsked(const std::string& line, const std::string& command)
{
    if (HoldsRelation(line))
        return BeginsWith(command, "RELATION ADD");
    return Contains(line, "Relation already") && forms::IsPlainText(line) && BeginsWith(command, "RELATION ");
}

// Each whole: an echo with a byte corrupted in it, or a refusal garbled on
// its way, says nothing of the command.
ListAnswer ReadListAnswer(const std::string& line, const std::string& command)
{
    if (forms::IsEchoOf(line, command) || RelationAlreadyAsAsked(line, command))
        return ListAnswer::Acknowledged;
    if (!forms::IsPlainText(line))
        return ListAnswer::None;
    if (Contains(line, "POPULATE FAIL"))
        return ListAnswer::PopulateFailed;
    if (Contains(line, "ERROR "))
        return ListAnswer::CommandError;
    return ListAnswer::None;
}

// The answers of the waits whose handler reads them.
bool IsListAnswer(const std::string& line, const std::string& command)
{
    return ReadListAnswer(line, command) != ListAnswer::None;
}

bool RefusesListCommand(const std::string& line, const std::string& command)
{
    const ListAnswer answer = ReadListAnswer(line, command);
    return answer == ListAnswer::PopulateFailed || answer == ListAnswer::CommandError;
}

bool IsDownloadStart(const std::string& line, const std::string&)
{
    return Contains(line, "EXPORT SYSCONFIG");
}

bool IsAssignmentStart(const std::string& line, const std::string&)
{
    return BeginsWith(line, "ASSIGN RCCS") || BeginsWith(line, "ASSIGN ALL");
}

// A line of another exchange or of the unit's own talk: a line of a
// configuration download or of another list, a status line, an assignment
// result. It answers no delete, done or refused.
bool IsOtherExchangesLine(const std::string& line)
{
    for (const char* head : {"EXPORT ", "END OF DATA", "POPULATE ", "RELATION ADD ", "XPROTRADIOCHANNELS",
                             "YPROTRADIOCHANNELS", "DS ", "ASSIGN "})
        if (BeginsWith(line, head))
            return true;
    return false;
}

// A delete's answers that say it was done (not the echo of another
// delete, which answers that one).
bool IsDeleteAnswer(const std::string& line, const std::string& command)
{
    return DeleteDoneText(line) != nullptr && !EchoesAnotherDelete(line, command);
}

// A delete is refused by any line that neither says a delete was done nor
// belongs to another exchange: a relation held answers a relation added,
// and a relation's answers a relation delete.
bool RefusesDelete(const std::string& line, const std::string&)
{
    return DeleteDoneText(line) == nullptr && !HoldsRelation(line) && !BeginsWith(line, "RELATION ") &&
           !BeginsWith(line, "DELETE RELATION") && !IsOtherExchangesLine(line);
}

bool IsRelationDeleteAnswer(const std::string& line, const std::string& command)
{
    return forms::IsEchoOf(line, command) ||
           (BeginsWith(line, "DELETE RELATION") && forms::IsPlainText(line)) ||
           RelationAlreadyAsAsked(line, command);
}

// A relation delete is refused by any line that says neither that, nor that
// a device was deleted, nor belongs to another exchange.
bool RefusesRelationDelete(const std::string& line, const std::string& command)
{
    return !IsRelationDeleteAnswer(line, command) && !HoldsRelation(line) &&
           DeleteDoneText(line) == nullptr && !IsOtherExchangesLine(line);
}

// A whole form of the answers, as the wait rows test it.
template <bool (*Form)(std::string_view)> bool Whole(const std::string& line, const std::string&)
{
    return Form(line);
}

// A command as the unit echoes it: the unit reads an underscore as a blank.
std::string AsEchoed(std::string command)
{
    std::replace(command.begin(), command.end(), '_', ' ');
    return command;
}

// Time-outs of the link, and answers of later commands, for which the
// sends of a command no longer in flight may still be refused (as many as
// a command's own sends take); the most sends owed at once, and the most
// commands remembered as sent.
constexpr int kOwedAge = kMaxResends + 1;
constexpr size_t kMaxOwedSends = 64;
constexpr size_t kRecentCommands = 32;

} // namespace

CommsLink::CommsLink(ISerialTransport& port, ILinkTimer& timer, IMessageLoop& loop, ICommsWindow& window,
                     ISiteLink& site)
    : port_(port), timer_(timer), loop_(loop), window_(window), site_(site)
{
}

void CommsLink::SendCommand(bool Retry, int32_t TimeoutMs)
{
    session_.RxLine.clear();
    discarding_ = false; // an over-long line in progress ends with the send too
    LogLine("-> " + session_.CommandText, false);
    if (!Retry) {
        session_.RetryCount = 0;
        session_.AcceptedReply.clear();
        refusedLine_.clear();
        cutShort_ = false;
    }
    linesSinceSend_ = 0;
    timer_.Stop();
    LinkError error;
    portFailed_ = false;
    if (!port_.Output(platform::Utf8ToWin1252(session_.CommandText) + "\r", error)) {
        const bool reported = portFailed_; // the write found the port gone: PortLost told already
        portFailed_ = true;
        owed_.clear(); // nothing more comes through a port that is gone
        session_.CommsState = CommsFailed;
        loop_.StateChanged();
        if (!reported)
            window_.ShowCommsError(ErrorText(error));
        return;
    }
    Owe(Retry);
    timer_.Start(TimeoutMs);
}

// Records a send that went out. The wake-up, sent while nothing waits, asks
// for no answer. A resend means a send went unanswered in time, so that a
// later line may answer either: the exchanges are irregular.
void CommsLink::Owe(bool retry)
{
    if (!IsWaiting(session_.CommsState))
        return;
    const std::string command = AsEchoed(session_.CommandText);
    if (retry) {
        irregular_ = true;
    } else {
        flight_ = Flight();
        flight_.number = ++commandCount_;
        flight_.irregularBefore = irregular_;
        std::erase(recent_, command);
        recent_.push_back(command);
        if (recent_.size() > kRecentCommands)
            recent_.pop_front();
    }
    ++flight_.sends;
    owed_.push_back(Send{command, session_.CommsState, flight_.number, 0, false});
    if (owed_.size() > kMaxOwedSends)
        owed_.pop_front();
}

void CommsLink::StartRun()
{
    owed_.clear();
    recent_.clear();
    flight_ = Flight();
    irregular_ = false;
}

void CommsLink::SendWakeUp()
{
    session_.CommandText = "\r\n";
    SendCommand(false, kReplyTimeoutMs);
    timer_.Stop();
}

void CommsLink::Comm_OnComm(const std::string& received)
{
    pending_ += received;
    if (receiving_)
        return;
    receiving_ = true;
    // Lines handled here may open a box that yields; bytes arriving then are
    // appended to pending_ and taken by this same loop afterwards.
    for (size_t i = 0; i < pending_.size(); ++i)
        HandleByte(static_cast<unsigned char>(pending_[i]));
    pending_.clear();
    receiving_ = false;
    loop_.StateChanged();
}

void CommsLink::HandleByte(unsigned char c)
{
    if (c == '_')
        c = ' ';
    if (c == '\n')
        return;
    if (c == '\r') {
        if (discarding_) {
            discarding_ = false;
            session_.RxLine.clear();
            return;
        }
        EndOfLine();
        return;
    }
    if (discarding_)
        return;
    if (session_.RxLine.size() >= kMaxLineLength) {
        RefuseLine();
        return;
    }
    session_.RxLine += static_cast<char>(c);
}

void CommsLink::RefuseLine()
{
    refusedLine_ = "The unit sent a line longer than " + std::to_string(kMaxLineLength) +
                   " characters, which was refused: " + platform::Win1252ToUtf8(session_.RxLine.substr(0, 40)) + "...";
    session_.RxLine.clear();
    discarding_ = true;
    LogLine("<- " + refusedLine_, false);
    if (!IsWaiting(session_.CommsState))
        return;
    // The reply cannot be whole without the line: its command fails.
    LogLine(refusedLine_, true);
    if (policy_ != nullptr) {
        policy_->PortLostWhileWaiting();
        return;
    }
    FailNow();
}

void CommsLink::EndOfLine()
{
    // The unit's bytes are Windows-1252 text; the program's text is UTF-8.
    session_.LastRxLine = platform::Win1252ToUtf8(session_.RxLine);
    if (window_.DeleteTimerRunning())
        LogLine(" ", false);
    const std::string line = session_.LastRxLine;
    session_.RxLine.clear();
    if (policy_ != nullptr) {
        LogLine("<- " + line, false);
    } else {
        if (line.empty() || Contains(model::Upper(line), "CRITICAL ERROR:") ||
            Contains(model::Upper(line), "UNHANDLED PACKET") || Contains(line, "Old Added"))
            return;
        // The log holds each line as it came, whatever it is taken for.
        LogLine("<- " + line, false);
    }
    if (line.empty())
        return;
    const StateCode before = session_.CommsState;
    const bool waiting = IsWaiting(before);
    const bool refusal = forms::IsRefusal(line);
    const bool firstLine = linesSinceSend_++ == 0;
    // A delete is settled by the hub's state: any line the hub says in place
    // of its answer leaves it open, and a hub that talks is not waited on
    // for the delete's long time-out.
    const bool deleting = waiting && HubStateDecides(before);
    const Verdict verdict = Judge(line);
    if (verdict != Verdict::Own && verdict != Verdict::Refused && verdict != Verdict::Held &&
        verdict != Verdict::Unconfirmed)
        ++flight_.strays;
    switch (verdict) {
    case Verdict::Other:
        irregular_ = true;
        if (deleting) {
            HoldOpen();
            return;
        }
        // A downloaded configuration lists the hub's statements in the very
        // words that programmed them: an echo owed to an earlier send is
        // still a line of the download.
        if (waiting && (WaitsForOneAnswer(before) || refusal || policy_ != nullptr))
            return;
        break;
    case Verdict::NoVerdict:
        // No answer and no verdict: the time-out asks again, as for a lost
        // answer, and a statement is left to the hub's state.
        irregular_ = true;
        if (deleting)
            HoldOpen();
        return;
    case Verdict::Unconfirmed:
        return;
    case Verdict::Held:
        irregular_ = true;
        if (flight_.heldRefusal.empty())
            flight_.heldRefusal = line;
        else if (flight_.heldRefusal != line)
            ++flight_.strays;
        return;
    case Verdict::Open:
        irregular_ = true;
        TellRefusal(before, line);
        if (flight_.sends > 1)
            Unsettle();
        else
            HoldOpen();
        return;
    case Verdict::Refused:
        if (refusal) {
            timer_.Stop();
            session_.CommsState = UnknownCommand;
        }
        break;
    case Verdict::None:
        if (deleting) {
            irregular_ = true;
            HoldOpen();
            return;
        }
        // A refusal that no send waiting for one answer can take is the
        // refusal of the command in flight only as the first line after it
        // (a collection the unit does not know); later in a collection it is
        // a line the link cannot place, no verdict. The diagnostics' command
        // set ends any state on it.
        if (refusal && ((waiting && firstLine) || policy_ != nullptr)) {
            timer_.Stop();
            session_.CommsState = UnknownCommand;
        }
        break;
    case Verdict::Own:
        break;
    }
    ProcessReply(line);
    if (verdict == Verdict::None && session_.CommsState == before && waiting && WaitsForOneAnswer(before))
        irregular_ = true; // a line nothing waited for
}

// A delete's own answer may still follow a line the hub said in its place;
// it is waited for one reply time-out, and the hub's state settles the rest.
void CommsLink::HoldOpen()
{
    if (flight_.open)
        return;
    flight_.open = true;
    Rearm(kReplyTimeoutMs);
}

// The hub's own words for a delete it would not carry out reach the log box
// as they always did, while its state decides what became of the delete.
void CommsLink::TellRefusal(StateCode state, const std::string& line)
{
    if (forms::IsRefusal(line) || !forms::IsPlainText(line))
        return;
    if (state == DeleteWait)
        LogLine("Unable to Delete Device : " + line, true);
    else if (state == RelationDeleteWait)
        LogLine(line, true);
}

// The one rule that decides what a line is to the command in flight: a
// line settles a command only where it can be that command's answer, whole
// in its form, and no earlier send is owed it; a line the link cannot be
// sure of is no verdict, and the unit's state decides. So: another
// command's echo is that command's (a late echo, a repeat); an answer or a
// refusal that an earlier send is still owed goes to the oldest such send.
// A line with the shape of the command's answer but not its whole form was
// garbled on the line: no answer. Of the rest, an answer of the command's
// own settles it, whichever of its sends it answers; an answer whose value
// the command set does not know settles it once two sends were answered
// alike. A refusal holds a query until its last time-out, where a resend
// may still have been answered. It settles a statement or a delete only
// once every send of it was refused in a run whose exchanges have been
// regular; otherwise (the refusal of a duplicate of what the unit took, or
// of a send the link lost track of) it leaves the command open. Where the
// unit's state decides (a delete), a line that neither says it was done
// nor "Unknown Command" leaves it open too.
CommsLink::Verdict CommsLink::Judge(const std::string& line)
{
    const StateCode state = session_.CommsState;
    const bool oneAnswer = IsWaiting(state) && WaitsForOneAnswer(state);
    const std::string inFlight = AsEchoed(session_.CommandText);
    const auto settle = [this](std::deque<Send>::iterator send) {
        owed_.erase(send);
        return Verdict::Other;
    };
    const std::string* echoed = EchoedCommand(line);
    if (echoed != nullptr && *echoed != inFlight) {
        // It settles a send of that command that had no line yet. Once the
        // unit has echoed the command, another echo may be a repeat, and a
        // refusal of the duplicate may still follow it.
        const auto send = std::find_if(owed_.begin(), owed_.end(), [echoed](const Send& s) {
            return s.command == *echoed && !s.heard;
        });
        if (send != owed_.end())
            return settle(send);
        return oneAnswer ? Verdict::Other : Verdict::None;
    }
    // An earlier send's answer, until the send is given up: the echo of
    // the command in flight only where it answers a send of the same
    // command that had no line yet (its late answer). Or a refusal of a send
    // of a command the unit heard (a duplicate, or a first send refused
    // late). In a collection, the other lines are the collection's.
    const bool unknown = forms::IsRefusal(line);
    const auto earlier = std::find_if(owed_.begin(), owed_.end(), [&](const Send& s) {
        if (s.number == flight_.number)
            return false;
        const bool answers = !unknown && !s.givenUp() && Answers(s.wait, line, s.command);
        if (echoed != nullptr)
            return answers && s.command == *echoed && !s.heard;
        if (answers)
            return true;
        return s.heard &&
               (unknown || (oneAnswer && Refuses(s.wait, line, s.command) && !HubStateDecides(s.wait)));
    });
    if (earlier != owed_.end())
        return settle(earlier);
    if (!oneAnswer)
        return Verdict::None;
    if (Garbled(state, line, inFlight))
        return Verdict::NoVerdict;
    if (Refuses(state, line, inFlight)) {
        if (!unknown && HubStateDecides(state))
            return Verdict::Open;
        SettleOwn(false);
        ++flight_.refusals;
        // A query may still be answered by a send that follows: its refusal
        // waits for the last time-out (a unit that garbled one send refuses
        // it at once, and answers the resend). A statement or a delete is
        // settled once every send was refused, while the run's exchanges
        // have been regular; a refusal of a resend, or one that may be owed
        // to a send the link lost track of, leaves it open. A command that
        // is not resent is refused at once.
        const WaitState<Handler>* own = OwnWait(state);
        if (own == nullptr || own->kind != WaitKind::Resend)
            return Verdict::Refused;
        if (!DuplicatesRefused(state))
            return Verdict::Held;
        return flight_.refusals >= flight_.sends && !irregular_ ? Verdict::Refused : Verdict::Open;
    }
    if (!Answers(state, line, inFlight))
        return Verdict::None;
    if (const WaitState<Handler>* own = OwnWait(state);
        own != nullptr && own->known != nullptr && !own->known(line, inFlight)) {
        // One corrupted byte may have made the value: it is the unit's own
        // once another send is answered alike.
        SettleOwn(true);
        std::vector<std::string>& given = flight_.unconfirmed;
        if (std::find(given.begin(), given.end(), line) == given.end()) {
            if (!given.empty())
                ++flight_.strays;
            given.push_back(line);
            return Verdict::Unconfirmed;
        }
        if (given.size() == 1 && flight_.sends == 2 && flight_.strays == 0)
            irregular_ = flight_.irregularBefore; // the unit's regular answer
        return Verdict::Own;
    }
    // A statement taken on a line that does not name it ("already
    // defined") stays owed its answer: the hub may contradict it next. At
    // the list's end, only the hub's state can tell.
    const bool unnamed = state == ProgramWait && policy_ == nullptr && !forms::IsEchoOf(line, inFlight);
    SettleOwn(true, unnamed);
    if (unnamed && session_.ReplyLineCount >= session_.CommandCount)
        irregular_ = true;
    return Verdict::Own;
}

// The command in flight has had a line of its own, an answer or a
// refusal: its oldest send still owed one is settled, and its other sends
// may still be refused (the unit heard the command). The unit has gone past
// the sends of earlier commands that never had a line: it lost them. An
// answer ages the sends of earlier commands as a time-out does: a unit that
// has answered later commands owes them less and less.
void CommsLink::SettleOwn(bool answered, bool keepOwed)
{
    const auto own = std::find_if(owed_.begin(), owed_.end(),
                                  [this](const Send& s) { return s.number == flight_.number; });
    if (own != owed_.end() && !keepOwed)
        owed_.erase(own);
    for (Send& send : owed_) {
        if (send.number == flight_.number)
            send.heard = true;
        else if (answered)
            ++send.age;
    }
    std::erase_if(owed_, [this](const Send& s) {
        return s.number != flight_.number && (!s.heard || s.age > kOwedAge);
    });
}

// A line with the shape of an answer of the wait (its reply, or a refusal)
// that is not whole in its form.
bool CommsLink::Garbled(StateCode wait, const std::string& line, const std::string& command) const
{
    const WaitState<Handler>* row = OwnWait(wait);
    if (row == nullptr)
        return false;
    if (BeginsWith(line, "Unknown Command"))
        return !forms::IsRefusal(line);
    return row->form != nullptr && hublink::AnswersWait(*row, line, command) && !row->form(line, command);
}

// Whether the line is an answer a send in the wait can get besides its
// echo: what the wait takes as the answer, from the wait's own row.
bool CommsLink::Answers(StateCode wait, const std::string& line, const std::string& command) const
{
    if (policy_ != nullptr)
        return policy_->AnswersWait(wait, line, command);
    const WaitState<Handler>* row = FindWait(Waits(), wait);
    if (row == nullptr)
        return false;
    if (BeginsWith(line, "Unknown Command"))
        return forms::IsRefusal(line);
    return AnswersWait(*row, line, command) && (row->form == nullptr || row->form(line, command));
}

bool CommsLink::Refuses(StateCode wait, const std::string& line, const std::string& command) const
{
    if (policy_ != nullptr)
        return policy_->RefusesWait(wait, line, command);
    const WaitState<Handler>* row = FindWait(Waits(), wait);
    if (row == nullptr)
        return false;
    if (BeginsWith(line, "Unknown Command"))
        return forms::IsRefusal(line);
    return row->refuses != nullptr && row->refuses(line, command);
}

bool CommsLink::DuplicatesRefused(StateCode state) const
{
    if (policy_ != nullptr)
        return policy_->DuplicatesRefused(state);
    const WaitState<Handler>* wait = FindWait(Waits(), state);
    return wait != nullptr && wait->duplicatesRefused;
}

// The row of the communications window's own command set; none while
// another command set runs the link.
const WaitState<CommsLink::Handler>* CommsLink::OwnWait(StateCode state) const
{
    return policy_ != nullptr ? nullptr : FindWait(Waits(), state);
}

bool CommsLink::HubStateDecides(StateCode state) const
{
    const WaitState<Handler>* wait = OwnWait(state);
    return wait != nullptr && wait->hubStateDecides;
}

bool CommsLink::WaitsForOneAnswer(StateCode state) const
{
    if (policy_ != nullptr)
        return policy_->WaitsForOneAnswer(state);
    const WaitState<Handler>* wait = FindWait(Waits(), state);
    return wait != nullptr && hublink::WaitsForOneAnswer(*wait);
}

// The command the link sent lately that the line begins with (the longest
// such command, so that a command that begins another is no echo of it);
// nullptr when there is none. A word run on after the command makes the
// line no echo of it.
const std::string* CommsLink::EchoedCommand(const std::string& line) const
{
    const std::string* longest = nullptr;
    for (const std::string& command : recent_)
        if (!command.empty() && BeginsWith(line, command) &&
            (line.size() == command.size() || line[command.size()] == ' ') &&
            (longest == nullptr || command.size() > longest->size()))
            longest = &command;
    return longest;
}

void CommsLink::CommsTimer_Timer()
{
    AgeOwedSends();
    if (policy_ != nullptr) {
        policy_->TimerTick();
        loop_.StateChanged();
        return;
    }
    const StateCode state = session_.CommsState;
    const WaitState<Handler>* wait = FindWait(Waits(), state);
    const WaitKind kind = wait != nullptr ? wait->kind : WaitKind::Own;
    if (kind == WaitKind::Resend && flight_.open) {
        Unsettle(); // its own answer did not follow what the unit said instead
    } else if (kind == WaitKind::Resend) {
        if (session_.RetryCount < kMaxResends) {
            LinkError ignored; // a port that refuses the CR refuses the resend too, which reports it
            port_.Output("\r", ignored);
            if (portFailed_)
                return; // the port went with the CR, and PortLost has ended the wait
            ++session_.RetryCount;
            LogLine("...Retry", true);
            SendCommand(true, ResendTimeoutMs(*wait, session_.ReplyLineCount));
        } else if (!flight_.heldRefusal.empty()) {
            RefusedAtLast();
        } else {
            LogLine(std::string(kFailureText) + " and try again" + "\r\n\r\n", true);
            TimedOut();
            EndBusyUnlessDeleting(state);
        }
    } else if (kind == WaitKind::FailAtOnce) {
        TimedOut();
        // A download cut short is read again by its caller, which holds the
        // busy state until it has done with it.
        if (state == SysConfigCollect)
            cutShort_ = true;
        else
            EndBusy();
    } else if (kind == WaitKind::Silent) {
        TimedOut();
    }
    loop_.StateChanged();
}

// The last send of the command has had its time-out, and every answer
// that came for it was a refusal: the unit refused the command.
void CommsLink::RefusedAtLast()
{
    const std::string line = std::exchange(flight_.heldRefusal, {});
    // A command refused alike at every send, with nothing else from the
    // unit meanwhile, is one the unit does not know: its regular answer.
    if (flight_.refusals == flight_.sends && flight_.strays == 0)
        irregular_ = flight_.irregularBefore;
    if (forms::IsRefusal(line)) {
        timer_.Stop();
        session_.CommsState = UnknownCommand;
    }
    ProcessReply(line);
}

// The unit's answers leave it open whether the command in flight was
// carried out: a list goes on with its next statement, and the run reads
// the hub before it says anything of the whole; any other command ends
// unsettled, for its caller to ask the hub's state.
void CommsLink::Unsettle()
{
    irregular_ = true;
    flight_.open = false;
    if (session_.CommsState == ProgramWait) {
        NextListCommand();
        return;
    }
    timer_.Stop();
    session_.CommsState = Unsettled;
}

void CommsLink::TimedOut()
{
    timer_.Stop();
    session_.CommsState = CommsFailed;
}

// A time-out of the link: the sends of commands no longer in flight have
// waited one more reply time-out, and are given up: what comes now is no
// longer their answer (and so once the unit has answered a later command). A send whose command never had an answer was lost
// (the unit was off, or the line garbled) and is forgotten; the others may
// still be refused late, in turn, for as long as a command's own sends
// take.
void CommsLink::AgeOwedSends()
{
    const bool waiting = IsWaiting(session_.CommsState);
    for (Send& send : owed_)
        if (send.number != flight_.number || !waiting)
            ++send.age;
    std::erase_if(owed_, [](const Send& s) { return s.age > kOwedAge || (s.givenUp() && !s.heard); });
}

void CommsLink::FailNow()
{
    timer_.Stop();
    EndBusyUnlessDeleting(session_.CommsState);
    session_.CommsState = CommsFailed;
}

// The deletes go on after one fails, and the sequence that runs them holds
// the window busy until the last has ended.
void CommsLink::EndBusyUnlessDeleting(StateCode failedState)
{
    if (failedState != DeleteWait && failedState != RelationDeleteWait)
        EndBusy();
}

void CommsLink::PortLost(const LinkError& error)
{
    portFailed_ = true;
    owed_.clear(); // nothing more comes through a port that is gone
    PortEnabled = false; // the next command opens the port again
    timer_.Stop();
    session_.RxLine.clear();
    if (policy_ != nullptr && policy_->IsWaitingState(session_.CommsState)) {
        policy_->PortLostWhileWaiting();
    } else if (policy_ == nullptr && IsWaiting(session_.CommsState)) {
        LogLine(std::string(kFailureText) + " and try again" + "\r\n\r\n", true);
        FailNow();
    }
    loop_.StateChanged();
    window_.ShowCommsError(ErrorText(error));
}

void CommsLink::Rearm(int32_t ms)
{
    timer_.Stop();
    timer_.Start(ms);
}

bool CommsLink::CollectLine(const std::string& line)
{
    if (session_.AddReplyLine(line))
        return true;
    TooManyLines();
    return false;
}

void CommsLink::TooManyLines()
{
    LogLine("The unit sent more than " + std::to_string(kMaxReplyLines) + " lines, transfer stopped", true);
    FailNow();
}

void CommsLink::ProcessReply(const std::string& Line)
{
    session_.LastRxLine = Line;
    const std::string& line = Line;
    const StateCode before = session_.CommsState;
    if (policy_ != nullptr)
        policy_->Dispatch(line);
    else
        Dispatch(line);
    if (session_.CommsState != before)
        session_.AcceptedReply = line;
}

bool CommsLink::IsWaiting(StateCode state) const
{
    return policy_ != nullptr ? policy_->IsWaitingState(state) : FindWait(Waits(), state) != nullptr;
}

// The communications window's command set. The two unassign states fail at
// once: their wait must end even when the unit stays silent.
std::span<const WaitState<CommsLink::Handler>> CommsLink::Waits()
{
    using W = WaitState<Handler>;
    using enum WaitKind;
    using enum ReplyMatch;
    const auto plain = &Whole<forms::IsPlainText>;
    // clang-format off
    static const W kWaits[] = {
        {.wait = ProgramWait, .kind = Resend, .handler = &CommsLink::ProgramReply, .answers = &IsListAnswer,
         .refuses = &RefusesListCommand, .duplicatesRefused = true},
        {.wait = IdentReadWait, .kind = Resend, .reply = "IDENTREAD", .done = IdentReadDone,
         .form = &Whole<forms::IsIdentAnswer>},
        {.wait = IdentProgWait, .kind = Resend, .reply = "IDENTPROG OK", .match = Contains, .done = IdentProgDone,
         .form = plain},
        {.wait = SysConfigWait, .kind = Resend, .handler = &CommsLink::SysConfigStart, .answers = &IsDownloadStart},
        {.wait = SysConfigCollect, .kind = FailAtOnce, .handler = &CommsLink::SysConfigLine},
        {.wait = UnassignClearWait, .kind = FailAtOnce, .reply = "UNASSIGN CLEAR", .done = UnassignClearDone,
         .form = plain},
        {.wait = UnassignAllWait, .kind = FailAtOnce, .reply = "UNASSIGN ALL", .done = UnassignAllDone,
         .form = plain},
        {.wait = AssignWait, .kind = FailAtOnce, .handler = &CommsLink::AssignStart, .answers = &IsAssignmentStart,
         .form = plain},
        {.wait = Assigning, .kind = FailAtOnce, .handler = &CommsLink::AssignLine},
        {.wait = PopulateClearWait, .kind = Resend, .reply = "CLEAR", .match = Contains, .done = PopulateClearDone,
         .resendMs = kLongResendTimeoutMs, .form = plain},
        {.wait = DebugOffWait, .kind = Silent, .reply = "DEBUGOFF", .match = Contains, .done = DebugOffDone,
         .form = plain},
        {.wait = StatusMonitorOffWait, .kind = Resend, .reply = "DS MON STOP", .match = Contains,
         .done = StatusMonitorOffDone, .form = plain},
        {.wait = SoftwareVersionWait, .kind = Resend, .handler = &CommsLink::VersionReply, .answers = &IsVersionReply,
         .form = &Whole<forms::IsVersionAnswer>},
        {.wait = LoopProtocolWait, .kind = Resend, .reply = "LP", .done = LoopProtocolDone,
         .form = &Whole<forms::IsLoopProtocolAnswer>, .known = &Whole<forms::IsKnownLoopProtocol>},
        {.wait = LoopCountWait, .kind = Resend, .reply = "QUERY LOOPCOUNT", .done = LoopCountDone,
         .form = &Whole<forms::IsLoopCountAnswer>, .known = &Whole<forms::IsKnownLoopCount>},
        {.wait = DeleteWait, .kind = Resend, .handler = &CommsLink::DeleteReply, .answers = &IsDeleteAnswer,
         .refuses = &RefusesDelete, .duplicatesRefused = true, .hubStateDecides = true},
        {.wait = RelationDeleteWait, .kind = Resend, .handler = &CommsLink::RelationDeleteReply,
         .answers = &IsRelationDeleteAnswer, .refuses = &RefusesRelationDelete, .duplicatesRefused = true,
         .hubStateDecides = true},
        {.wait = AllStatusCollect, .kind = FailAtOnce, .handler = &CommsLink::StatusLine},
    };
    // clang-format on
    return kWaits;
}

void CommsLink::Dispatch(const std::string& line)
{
    if (session_.CommsState == Idle) {
        LogLine(line, false);
        return;
    }
    const WaitState<Handler>* wait = FindWait(Waits(), session_.CommsState);
    if (wait != nullptr)
        TakeReply(*this, *wait, line, session_.CommsState, timer_);
}

// A header with more on its line (a line run into it) starts the download,
// which then cannot be trusted alone.
void CommsLink::SysConfigStart(const std::string& line)
{
    if (!IsDownloadStart(line, session_.CommandText))
        return;
    session_.CommsState = SysConfigCollect;
    Rearm(kConfigLineTimeoutMs);
    AdvanceProgress();
    session_.EmptyReplyLines();
    session_.StrayLines = forms::IsDownloadHeader(line) ? 0 : 1;
    downloadLines_ = 0;
}

// Only a statement of the configuration keeps the download alive, and every
// line counts toward the limit: a unit that talks of other things (debug
// output) without ever ending the download fails it. Each line that is not
// a statement whole in its form (garbled, chatter, a refusal no send could
// take, an end with more on its line) is counted: the caller reads such a
// download again before it trusts it.
void CommsLink::SysConfigLine(const std::string& line)
{
    AdvanceProgress();
    if (Contains(line, "END OF DATA")) {
        if (!forms::IsDownloadEnd(line))
            ++session_.StrayLines;
        timer_.Stop();
        session_.CommsState = SysConfigDone;
        return;
    }
    if (++downloadLines_ > kMaxReplyLines) {
        TooManyLines();
        return;
    }
    const std::string head = line.substr(0, 4);
    const bool statement = head == "POPU" || head == "RELA" || head == "XPRO" || head == "YPRO";
    if (!forms::IsDownloadLine(line)) {
        ++session_.StrayLines;
        if (!statement && !forms::IsOtherExchangesTalk(line))
            session_.UnreadLines.push_back(line);
    }
    if (statement) {
        Rearm(kConfigLineTimeoutMs);
        CollectLine(line);
    }
}

void CommsLink::AssignStart(const std::string& line)
{
    if (IsAssignmentStart(line, session_.CommandText)) {
        session_.CommsState = Assigning;
        Rearm(kAssignLineTimeoutMs);
    }
}

void CommsLink::AssignLine(const std::string& line)
{
    if (BeginsWith(line, "ASSIGN OK")) {
        AssignResult(line, 10, true, "Assigned ");
    } else if (BeginsWith(line, "ASSIGN FAIL")) {
        AssignResult(line, 12, false, "Failed ");
    } else if (BeginsWith(line, "ASSIGN FINISH")) {
        timer_.Stop();
        session_.CommsState = AssignDone;
        LogLine("Assign Process Completed", true);
    }
}

// The reply ends the query; the caller reads which unit it names.
void CommsLink::VersionReply(const std::string& line)
{
    if (!IsVersionReply(line, session_.CommandText))
        return;
    timer_.Stop();
    session_.CommsState = SoftwareVersionDone;
}

// A delete ends done on a line that says so. A line that refuses it never
// reaches here unless it is "Unknown Command" (the link ends the wait on
// that itself): any other is no verdict, and the hub's state settles the
// delete.
void CommsLink::DeleteReply(const std::string& line)
{
    if (!IsDeleteAnswer(line, session_.CommandText))
        return;
    timer_.Stop();
    LogLine(DeleteDoneText(line), true);
    session_.CommsState = DeleteDone;
}

void CommsLink::RelationDeleteReply(const std::string& line)
{
    if (!IsRelationDeleteAnswer(line, session_.CommandText))
        return;
    timer_.Stop();
    session_.CommsState = DeleteDone;
}

void CommsLink::StatusLine(const std::string& line)
{
    timer_.Stop();
    if (BeginsWith(line, "END OF DATA")) {
        LogLine("Device Status Successfully Obtained", true);
        session_.CommsState = AllStatusDone;
    } else if (CollectLine(line)) {
        Rearm(kStatusLineTimeoutMs);
    }
}

// A result garbled on the line names no unit; the unit is still talking.
void CommsLink::AssignResult(const std::string& line, size_t identAt, bool assigned, const char* logWord)
{
    timer_.Stop();
    const int32_t owner = forms::IsAssignmentResult(line) ? site_.FindNodeByIdent(Mid(line, identAt, 5)) : -1;
    if (owner != -1) {
        const int node = owner / 100;
        const int slot = owner % 100;
        site_.SetAssigned(node, slot, assigned);
        LogLine(logWord + std::to_string(node) + ":" + std::to_string(slot), false);
    }
    Rearm(kAssignLineTimeoutMs);
}

void CommsLink::ProgramReply(const std::string& line)
{
    const ListAnswer answer = ReadListAnswer(line, session_.CommandText);
    if (answer == ListAnswer::Acknowledged) {
        NextListCommand();
        return;
    }
    if (answer == ListAnswer::None) {
        LogLine("...Comms Error, Retrying", true);
        return;
    }
    const char* abortText = answer == ListAnswer::PopulateFailed ? "Programming Aborted Due to Failed Populate Command"
                                                                 : "Programming Aborted Due to Command Error";
    timer_.Stop();
    EndBusy();
    LogLine(abortText, true);
    window_.ShowMessage(abortText, 16);
    session_.CommsState = ProgramAborted;
}

// The statement in flight is done with: the next one goes out, or the list
// has ended.
void CommsLink::NextListCommand()
{
    ++session_.ReplyLineCount;
    if (session_.ReplyLineCount <= session_.CommandCount) {
        AdvanceProgress();
        const auto index = static_cast<size_t>(session_.ReplyLineCount);
        session_.CommandText = index < session_.ReplyLines.size() ? session_.ReplyLines[index] : std::string();
        if (index < session_.CommandCaptions.size() && !session_.CommandCaptions[index].empty())
            LogLine(session_.CommandCaptions[index], true);
        SendCommand(false, kReplyTimeoutMs);
        return;
    }
    timer_.Stop();
    if (!ProgramEndIsFinal || irregular_) {
        session_.CommsState = ProgramDone;
        return;
    }
    EndBusy();
    LogLine("Programming Completed Successfully", true);
    window_.ShowMessage("Programming Completed Successfully", 64);
    session_.CommsState = ProgramDone;
}

StateCode CommsLink::Transact(StateCode waitCode, const std::string& command, int32_t timeoutMs)
{
    session_.CommsState = waitCode;
    session_.CommandText = command;
    SendCommand(false, timeoutMs);
    WaitWhileState({waitCode});
    return session_.CommsState;
}

void CommsLink::WaitWhileState(std::initializer_list<StateCode> codes)
{
    loop_.WaitWhile([this, codes] {
        return std::find(codes.begin(), codes.end(), session_.CommsState) != codes.end();
    });
}

void CommsLink::LogLine(const std::string& Text, bool ToBox)
{
    if (policy_ != nullptr) {
        policy_->LogLine(Text, ToBox);
        return;
    }
    if (ToBox)
        window_.AppendToLogBox(Text);
    if (LogProg)
        AppendProgLog(Text);
}

void CommsLink::BeginBusy()
{
    window_.SetControlsBusy(true);
    busy_ = true;
}

// However the run ended, nothing is in progress any more: a bar left
// standing would tell the engineer otherwise.
void CommsLink::EndBusy()
{
    window_.HideProgress();
    window_.SetControlsBusy(false);
    busy_ = false;
}

void CommsLink::AdvanceProgress()
{
    const int next = window_.ProgressValue() + ProgressStep;
    if (next < window_.ProgressMax())
        window_.SetProgressValue(next);
}

} // namespace hublink
