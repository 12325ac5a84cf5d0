#pragma once
// The command/reply engine of the serial link: framing of commands, assembly
// and filtering of received lines, the reply time-out with its resends, the
// reply dispatcher that moves CommsState on, the link's session (its state,
// command and received lines), and the window services every serial
// operation uses (LogLine, the busy state, the progress step).
// It runs on the program's one event-loop thread; the port, the timer, the
// wait and the window are reached through small interfaces.
#include "hublink/core/ICommsWindow.h"
#include "hublink/core/ILinkPolicy.h"
#include "hublink/core/ILinkTimer.h"
#include "hublink/core/IMessageLoop.h"
#include "hublink/core/ISerialTransport.h"
#include "hublink/core/ISiteLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/WaitTable.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace hublink {

class CommsLink
{
public:
    // No unit sends a line this long: a longer one is refused, and the
    // command waiting for a reply fails with the reason in the log box.
    static constexpr size_t kMaxLineLength = 64 * 1024;

    CommsLink(ISerialTransport& port, ILinkTimer& timer, IMessageLoop& loop, ICommsWindow& window,
              ISiteLink& site);

    // Writes CommandText (in Windows-1252) and a carriage return and arms
    // the time-out. Retry false starts a new command (RetryCount 0, no
    // AcceptedReply).
    void SendCommand(bool Retry, int32_t TimeoutMs);
    // The opening wake-up: CR LF sent as a command (the wire carries
    // CR LF CR), neither waited for nor retried.
    void SendWakeUp();
    // Receive event: the bytes that arrived, in order (Windows-1252 text,
    // turned into UTF-8 line by line). Bytes that arrive while an earlier
    // call is still handling a line (a message box opened from the
    // dispatcher yields) are queued and handled after it, in order.
    void Comm_OnComm(const std::string& received);
    // Tick of the reply time-out timer.
    void CommsTimer_Timer();
    // The port reported that it is gone (device removed, read error): a
    // waiting command fails at once with the failure text, PortEnabled
    // becomes False and the error is shown.
    void PortLost(const LinkError& error);
    // The reply dispatcher, called for every complete, filtered, non-empty
    // line. The line that moves the state on is kept in AcceptedReply.
    void ProcessReply(const std::string& Line);
    // The port is gone or refused the last command; cleared by the next
    // command the port takes.
    bool PortFailed() const { return portFailed_; }
    // Why the reply to the last command was refused (a line over
    // kMaxLineLength); empty when none was. Cleared by the next new command.
    const std::string& RefusedLine() const { return refusedLine_; }
    // The last command was a download that ended by its line time-out after
    // its header: cut short, to be read again. Cleared by the next command.
    bool CutShort() const { return cutShort_; }

    // The calling convention: sets the waiting code and the command, sends
    // it and yields while the state holds the waiting code. Returns the
    // final state.
    StateCode Transact(StateCode waitCode, const std::string& command, int32_t timeoutMs);
    // Yields while CommsState is one of the codes. The wait looks again
    // after each receive event, time-out tick and port loss of the link;
    // code that sets CommsState itself while a wait runs (a cancel) calls
    // Loop().StateChanged() after it.
    void WaitWhileState(std::initializer_list<StateCode> codes);

    // The status box (ToBox) and, while LogProg is on, ProgLog.txt.
    void LogLine(const std::string& Text, bool ToBox);
    // The window takes no input while a run is busy. Ending the busy state
    // ends the run's progress bar too, on success and failure alike.
    void BeginBusy();
    void EndBusy();
    bool Busy() const { return busy_; }
    // Moves the progress bar on by ProgressStep while it stays below its
    // maximum.
    void AdvanceProgress();
    int16_t ProgressStep = 1;
    // False while a programming run has another pass to go, or ends with
    // what it could not change: the end of the list then only sets
    // ProgramDone (no completion line or box; the busy state and the
    // progress bar stay for the run to end). So does the end of a list
    // whose exchanges were irregular: the run reads the hub back first.
    bool ProgramEndIsFinal = true;

    // Runs the link with another command set (nullptr: the communications
    // window's own). The policy must outlive the link or be taken off first.
    void SetPolicy(ILinkPolicy* policy) { policy_ = policy; }

    // Since the run began, something in the exchanges was out of place: a
    // resend, a line owed to an earlier send or echoing another command, a
    // line no send waited for, a refusal that could not settle its command,
    // or a statement taken on a line that does not name it. The link could
    // then have taken a line for the wrong command's answer, and only the
    // unit's own state can say what it holds.
    bool ExchangesIrregular() const { return irregular_; }
    // A run begins: nothing is owed from an earlier one, and nothing in its
    // exchanges has been out of place yet.
    void StartRun();

    LinkSession& Session() { return session_; }
    const LinkSession& Session() const { return session_; }
    ILinkTimer& Timer() { return timer_; }
    IMessageLoop& Loop() { return loop_; }
    ICommsWindow& Window() { return window_; }
    ISiteLink& Site() { return site_; }

private:
    void HandleByte(unsigned char c);
    void EndOfLine();
    void Rearm(int32_t ms);
    void FailNow();
    void RefuseLine();
    void EndBusyUnlessDeleting(StateCode failedState);
    void TimedOut();
    void RefusedAtLast();
    void Unsettle();
    void AgeOwedSends();
    void Dispatch(const std::string& line);
    bool IsWaiting(StateCode state) const;
    // What a line is to the command in flight, once the link's account of
    // the sends owed an answer has taken it.
    enum class Verdict
    {
        None,    // no send's answer: a line of a collection, or of nobody's exchange
        Own,     // the command's own answer
        Refused, // a refusal that settles the command: every send of it was refused
        Held,    // a refusal of one send while another may still be answered
        Open,    // a refusal or a line that cannot say whether the unit took the command
        Other,   // owed to an earlier command, or another command's echo
        NoVerdict, // the shape of the command's answer but not its whole form
        Unconfirmed, // a value the command set does not know, not yet given alike twice
    };
    // A send still owed its answer: its command as the unit echoes it, the
    // wait it was sent in, the command it is a send of, how many time-outs
    // of the link and answers of later commands have passed since that
    // command left flight (from the first, the send is given up: no answer
    // is taken for it any more), and
    // whether the unit heard the command (it had a line of its own, so the
    // unit may still refuse this send, as a duplicate or late).
    struct Send
    {
        std::string command;
        StateCode wait;
        uint32_t number = 0;
        int age = 0;
        bool heard = false;
        bool givenUp() const { return age > 0; }
    };
    // The command in flight: its number, its sends, the refusals taken for
    // it, the first of them while it is held, whether a line has left its
    // outcome open, the answers of values the command set does not know
    // (each taken once another send gives it alike), the lines the unit
    // sent meanwhile that were neither, and whether the run's exchanges were
    // irregular before it.
    struct Flight
    {
        uint32_t number = 0;
        int sends = 0;
        int refusals = 0;
        std::string heldRefusal;
        bool open = false;
        std::vector<std::string> unconfirmed;
        int strays = 0;
        bool irregularBefore = false;
    };
    void Owe(bool retry);
    Verdict Judge(const std::string& line);
    bool Garbled(StateCode wait, const std::string& line, const std::string& command) const;
    void HoldOpen();
    void TellRefusal(StateCode state, const std::string& line);
    void SettleOwn(bool answered, bool keepOwed = false);
    bool Answers(StateCode wait, const std::string& line, const std::string& command) const;
    bool Refuses(StateCode wait, const std::string& line, const std::string& command) const;
    bool DuplicatesRefused(StateCode state) const;
    bool HubStateDecides(StateCode state) const;
    bool WaitsForOneAnswer(StateCode state) const;
    const std::string* EchoedCommand(const std::string& line) const;
    void NextListCommand();
    bool CollectLine(const std::string& line);
    void TooManyLines();
    void AssignResult(const std::string& line, size_t identAt, bool assigned, const char* logWord);

    // The states with work beyond ending their wait.
    using Handler = void (CommsLink::*)(const std::string& line);
    static std::span<const WaitState<Handler>> Waits();
    const WaitState<Handler>* OwnWait(StateCode state) const;
    void ProgramReply(const std::string& line);
    void SysConfigStart(const std::string& line);
    void SysConfigLine(const std::string& line);
    void AssignStart(const std::string& line);
    void AssignLine(const std::string& line);
    void VersionReply(const std::string& line);
    void DeleteReply(const std::string& line);
    void RelationDeleteReply(const std::string& line);
    void StatusLine(const std::string& line);

    ISerialTransport& port_;
    ILinkTimer& timer_;
    IMessageLoop& loop_;
    ICommsWindow& window_;
    ISiteLink& site_;
    LinkSession session_;
    ILinkPolicy* policy_ = nullptr;
    bool busy_ = false;
    std::string pending_;
    bool receiving_ = false;
    bool discarding_ = false;
    bool portFailed_ = false;
    std::string refusedLine_;
    // The sends still owed their answer, oldest first, across the
    // operations of a run: the unit may answer a send late, twice or out of
    // turn, and an answer counts only for a send it can answer.
    std::deque<Send> owed_;
    // The latest commands sent, newest last, as the unit echoes them: a
    // line that echoes one of them never answers another command.
    std::deque<std::string> recent_;
    Flight flight_;
    uint32_t commandCount_ = 0;
    bool irregular_ = false;
    // Lines of any kind received since the download's header.
    int downloadLines_ = 0;
    // Lines received since the last send.
    int linesSinceSend_ = 0;
    bool cutShort_ = false;
};

} // namespace hublink
