#pragma once
// A programming run against the simulated hub inside a fuzzer: the link
// talks to the unit in-process, every answer is delivered as soon as the
// link waits, and the reply timer ticks only when no answer is pending. The
// bench is the communications window too: it answers the run's questions
// and keeps the texts of its boxes, and it keeps every command the unit was
// sent with the unit's answer, to tell which ones the unit applied; and it
// keeps what a run could only have said on the unit's words: each box with
// the sends before it, and the deletes whose whole time-out ran out after
// the unit had sent a line.
#include "FuzzFiles.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/HubConfigParser.h"
#include "hublink/core/HubDeletes.h"
#include "hublink/core/ICommsForm.h"
#include "hublink/core/NodesSiteLink.h"
#include "hublink/core/support/QuietProgrammingWindow.h"
#include "support/SimulatedUnit.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace fuzz {

class ProgramBench : public hublink::ISerialTransport,
                     public hublink::ILinkTimer,
                     public hublink::IMessageLoop,
                     public hublink::ICommsWindow,
                     public hublink::ICommsForm,
                     public QuietProgrammingWindow
{
    // An answer of the unit on its way to the link.
    struct Pending
    {
        std::string Bytes;
        int Index;
    };
    struct Late
    {
        int TicksLeft;
        std::string Bytes;
        bool SentInTick = false;
        int Index = -1;
        bool Overtaken = false; // the answers after it may pass it
        bool HoldsBack = false; // drawn late in turn: the answers after it wait for it
    };

public:
    explicit ProgramBench(SimulatedUnit& unit) : unit_(unit), link_(*this, *this, *this, *this, site_) {}

    hublink::CommsLink& Link() { return link_; }

    // A command as the unit took it and the lines it answered.
    struct Exchange
    {
        std::string Command;
        std::vector<std::string> Answer;
    };
    std::vector<Exchange> Exchanges;
    std::vector<std::string> Boxes;
    // Every box of the bench's life (Boxes may be cleared between runs):
    // its text, how many Exchanges came before it, and whether the port
    // had failed then.
    struct Box
    {
        std::string Text;
        size_t Sends;
        bool PortFailed;
    };
    std::vector<Box> Said;
    // The deletes and relation deletes (their commands) whose first time-out
    // ran out after the unit had sent a line while they waited.
    std::vector<std::string> WaitedOutWhileTalking;
    // The answer to the clear question (the parse's question is always Yes).
    bool ClearAnswer = true;
    // The answers to the LateCommand-th send (0 the first) and the one after
    // it come only after LateTicks ticks of the reply timer, so that the link
    // resends, and the answers sent meanwhile overtake them. -1: none is
    // late.
    int LateCommand = -1;
    int LateTicks = 1;
    // The answers come in the order of the sends instead: a late answer holds
    // back every answer after it, and the ticks of a late send count from the
    // first tick after it went out.
    bool InTurn = false;
    // What the link wrote to the log box.
    std::vector<std::string> Log;
    // Every line of the unit handed to the link: the command line it answers
    // (its place among the lines the unit received, from 0), and the command
    // the link had in flight when it came.
    struct Delivery
    {
        int Index;
        std::string Bytes;
        std::string InFlight;
    };
    std::vector<Delivery> Delivered;
    // For each command line written (a bare carriage return not counted):
    // no answer of the unit was on its way when it went out.
    std::vector<bool> QuietAtSend;

    // ISerialTransport
    bool Output(const std::string& bytes, hublink::LinkError&) override
    {
        const bool late = bytes != "\r" && LateCommand >= 0 && sent_ >= LateCommand && sent_ <= LateCommand + 1;
        const int index = sent_ - 1 + (bytes != "\r" ? 1 : 0);
        lineUnderWay_ = false; // a send drops the line the link was assembling
        if (bytes != "\r") {
            ++sent_;
            QuietAtSend.push_back(pending_.empty() && late_.empty());
        }
        std::string answer;
        for (const UnitOutput& out : unit_.Receive(bytes, 0)) {
            // A late answer the unit drew counts its ticks from the first
            // tick after its send, and the answers behind one drawn in turn
            // wait for it.
            const bool heldBack = std::any_of(late_.begin(), late_.end(), [](const Late& l) { return l.HoldsBack; });
            if (out.LateBy > 0)
                late_.push_back(Late{out.LateBy, out.Bytes, ticking_, index, !out.InTurn, out.InTurn});
            else if (InTurn)
                late_.push_back(Late{late ? LateTicks : 0, out.Bytes, ticking_, index});
            else if (late)
                late_.push_back(Late{LateTicks, out.Bytes, false, index});
            else if (heldBack)
                late_.push_back(Late{0, out.Bytes, false, index, false, true});
            else
                pending_.push_back(Pending{out.Bytes, index});
            answer += out.Bytes;
        }
        Answered(bytes, answer);
        return true;
    }
    // ILinkTimer
    void Start(int32_t ms) override
    {
        timerOn_ = true;
        armedMs_ = ms;
        heardSinceArmed_ = false;
    }
    void Stop() override { timerOn_ = false; }
    bool Enabled() const override { return timerOn_; }
    // IMessageLoop: the unit's answers first, then ticks of the timer; a wait
    // that neither can end is a finding.
    void WaitWhile(const std::function<bool()>& keepWaiting) override
    {
        for (int steps = 0; keepWaiting(); ++steps) {
            if (steps > 100000)
                Finding("a wait of the programming run never ended");
            if (InTurn) {
                AnswerInTurn();
                continue;
            }
            const auto due = NextDue();
            if (!pending_.empty()) {
                const Pending answer = pending_.front();
                pending_.pop_front();
                Deliver(answer.Bytes, answer.Index);
            } else if (due != late_.end()) {
                // One late answer at a time: what it brings about comes
                // before the next one.
                pending_.push_back(Pending{due->Bytes, due->Index});
                late_.erase(due);
            } else if (timerOn_) {
                Tick();
            } else if (!late_.empty()) {
                for (Late& late : late_)
                    late.TicksLeft = 0;
            } else {
                Finding("the programming run waits for what nothing can bring");
            }
        }
    }
    // ICommsWindow
    void AppendToLogBox(const std::string& text) override { Log.push_back(text); }
    void SetControlsBusy(bool) override {}
    int ProgressValue() const override { return progress_; }
    int ProgressMax() const override { return progressMax_; }
    void SetProgressValue(int value) override { progress_ = value; }
    void HideProgress() override {}
    int32_t ShowMessage(const std::string& text, int32_t) override
    {
        Tell(text);
        return 1;
    }
    void ShowCommsError(const std::string& text) override { Tell(text); }
    bool DeleteTimerRunning() const override { return false; }
    // The window
    int32_t Display(const std::string& text, int32_t style, const std::string&) override
    {
        Tell(text);
        if (style != 36)
            return 1;
        const bool clear = text.rfind("Do You Wish to Clear", 0) == 0;
        return !clear || ClearAnswer ? 6 : 7;
    }
    int16_t ParseDownload(bool programming) override
    {
        return hublink::ParseHubConfiguration(link_.Session(), {ActiveNode, programming});
    }
    void SetProgressMaximum(int maximum) override { progressMax_ = maximum; }
    bool DebugOutputStopped() const override { return true; }
    // ICommsForm: the read and the opening sequence tell the bench only
    // through their boxes and the log.
    void SetCaption(const std::string&) override {}
    void ClearLogBox() override {}
    void SetCancelCaption(const std::string&) override {}
    void EnableCancelOnly() override {}
    void ClosePort() override {}
    void EnableAssignmentItems() override {}
    void ResetProgress(int) override {}
    void FillProgress() override {}
    void ShowParseErrors() override {}
    void ShowReadSite() override {}

private:
    // One step of a wait while the unit answers in turn: the first answer
    // when it is due, else a tick of the timer, else (nothing can tick) the
    // answers at last.
    void AnswerInTurn()
    {
        if (const auto due = NextDue(); due != late_.end()) {
            const Late answer = *due;
            late_.erase(due);
            Deliver(answer.Bytes, answer.Index);
        } else if (timerOn_) {
            Tick();
        } else if (!late_.empty()) {
            for (Late& late : late_)
                late.TicksLeft = 0;
        } else {
            Finding("the programming run waits for what nothing can bring");
        }
    }

    // The first late answer that is due and that no answer before it holds
    // back (only an answer drawn late and overtaken lets the later ones pass).
    std::deque<Late>::iterator NextDue()
    {
        for (auto it = late_.begin(); it != late_.end(); ++it) {
            if (it->TicksLeft <= 0)
                return it;
            if (!it->Overtaken)
                break;
        }
        return late_.end();
    }
    // A tick of the reply timer: the late answers come a tick nearer,
    // except those sent in the tick itself.
    void Tick()
    {
        const hublink::StateCode state = link_.Session().CommsState;
        if (armedMs_ == hublink::kDeleteTimeoutMs && heardSinceArmed_ &&
            (state == hublink::CommsStateCode::DeleteWait || state == hublink::CommsStateCode::RelationDeleteWait))
            WaitedOutWhileTalking.push_back(link_.Session().CommandText);
        ticking_ = true;
        link_.CommsTimer_Timer();
        ticking_ = false;
        for (Late& late : late_)
            late.TicksLeft -= late.SentInTick ? 0 : 1;
        for (Late& late : late_)
            late.SentInTick = false;
    }
    void Tell(const std::string& text)
    {
        Boxes.push_back(text);
        Said.push_back(Box{text, Exchanges.size(), link_.PortFailed()});
    }
    void Deliver(const std::string& bytes, int index)
    {
        Delivered.push_back(Delivery{index, bytes, link_.Session().CommandText});
        // A line that ends here was heard: the link rearms its timer on it
        // or not, as it takes it.
        for (const char c : bytes) {
            if (c == '\r') {
                heardSinceArmed_ = heardSinceArmed_ || lineUnderWay_;
                lineUnderWay_ = false;
            } else if (c != '\n' && c != ' ' && c != '_') {
                lineUnderWay_ = true;
            }
        }
        link_.Comm_OnComm(bytes);
    }

    // The link writes one command, with its carriage return, at a time.
    void Answered(const std::string& sent, const std::string& bytes)
    {
        Exchange exchange{sent.substr(0, sent.find('\r')), {}};
        std::string line;
        for (const char c : bytes) {
            if (c == '\r' || c == '\n') {
                if (!line.empty())
                    exchange.Answer.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        if (!line.empty())
            exchange.Answer.push_back(line);
        Exchanges.push_back(exchange);
    }

    SimulatedUnit& unit_;
    hublink::NodesSiteLink site_;
    hublink::CommsLink link_;
    std::deque<Pending> pending_;
    std::deque<Late> late_;
    bool ticking_ = false;
    int sent_ = 0;
    bool timerOn_ = false;
    int32_t armedMs_ = 0;
    bool heardSinceArmed_ = false, lineUnderWay_ = false;
    int progress_ = 0;
    int progressMax_ = 100;
};

} // namespace fuzz
