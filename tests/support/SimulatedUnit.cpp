#include "support/SimulatedUnit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>

namespace {

using Lines = SimulatedUnit::Lines;

std::string Field(const std::string& line, size_t i)
{
    const Lines f = UnitWords(line);
    return i < f.size() ? f[i] : std::string();
}

bool Begins(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Garble(const std::string& line)
{
    std::string out = "~";
    for (unsigned char c : line)
        out += static_cast<char>(std::isalpha(c) ? (c ^ 0x20) : c);
    return out;
}

std::string Numbers(const std::vector<int>& values)
{
    std::string out;
    for (int v : values)
        out += " " + std::to_string(v);
    return out;
}

std::string Hex(int value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

template <typename Map, typename Value> Value Lookup(const Map& map, const std::string& key, Value fallback)
{
    const auto found = map.find(key);
    return found == map.end() ? fallback : found->second;
}

} // namespace

// Split by hand: the unit scans its whole memory for every statement, so a
// full configuration is programmed in no more time than the link takes.
std::vector<std::string_view> WordViews(std::string_view line, bool underscores)
{
    std::vector<std::string_view> words;
    ForEachWord(line, underscores, [&words](std::string_view word) {
        words.push_back(word);
        return true;
    });
    return words;
}

std::vector<std::string> UnitWords(const std::string& line)
{
    const std::vector<std::string_view> views = WordViews(line);
    return std::vector<std::string>(views.begin(), views.end());
}

SimulatedUnit::SimulatedUnit(UnitKind kind) : kind_(kind)
{
    InstallCommands();
    InstallAssignmentCommands();
}

Lines SimulatedUnit::CommandLines() const
{
    Lines lines;
    for (const ReceivedCommand& c : Commands())
        if (!c.Line.empty())
            lines.push_back(c.Line);
    return lines;
}

bool SimulatedUnit::Acknowledged(const std::string& command) const
{
    std::lock_guard lock(mutex_);
    return std::any_of(exchanges_.begin(), exchanges_.end(), [&command](const UnitExchange& e) {
        if (e.Command != command || !e.Taken || e.Answer.empty())
            return false;
        std::string upper = e.Answer.front();
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        return Begins(e.Answer.front(), command) || upper.find("RELATION ALREADY") != std::string::npos;
    });
}

std::vector<UnitOutput> SimulatedUnit::Receive(const std::string& bytes, int64_t nowMs)
{
    std::lock_guard lock(mutex_);
    std::vector<UnitOutput> outputs;
    wire_ += bytes;
    for (char c : bytes) {
        if (c != '\r') {
            if (c != '\n')
                partial_ += c;
            continue;
        }
        const std::string line = std::exchange(partial_, {});
        received_.push_back(ReceivedCommand{nowMs, line});
        // The link resends a command after a bare carriage return.
        const bool resent = std::exchange(afterBareCr_, line.empty());
        if (line.empty())
            continue;
        FailureMode mode = TakeFailure(line);
        const FaultContext context = Context(line, resent);
        const AnswerFault fault = faultDraw_ ? faultDraw_(context) : AnswerFault();
        auto best = commands_.end();
        for (auto it = commands_.begin(); it != commands_.end(); ++it)
            if (Begins(line, it->first) && (best == commands_.end() || it->first.size() > best->first.size()))
                best = it;
        const bool known = best != commands_.end() && (exact_.count(best->first) == 0 || line == best->first);
        const auto matches = [&line](const std::string& prefix) { return Begins(line, prefix); };
        const bool duplicate = resent && line == lastTaken_ &&
                               std::any_of(refusedResends_.begin(), refusedResends_.end(), matches);
        const bool unheard = fault.What == AnswerFault::Kind::Unheard;
        const bool refused = duplicate || unheard || fault.What == AnswerFault::Kind::Refused ||
                             std::any_of(refused_.begin(), refused_.end(), matches);
        const bool answers = known && !refused && mode != FailureMode::UnknownCommand &&
                             mode != FailureMode::Silent && mode != FailureMode::PortGone &&
                             mode != FailureMode::Rejected;
        const bool rejected = known && !refused && mode == FailureMode::Rejected;
        Lines answer = answers    ? best->second(line)
                       : rejected ? Lines{"ERROR IN COMMAND"}
                       : fault.What == AnswerFault::Kind::Refused && !fault.Line.empty()
                           ? Lines{fault.Line}
                           : Lines{"Unknown Command"};
        if (std::any_of(repeated_.begin(), repeated_.end(), matches))
            for (size_t i = 0; i < answer.size(); i += 2)
                answer.insert(answer.begin() + static_cast<std::ptrdiff_t>(i), answer[i]);
        const bool silent = mode == FailureMode::Silent || mode == FailureMode::PortGone || unheard;
        exchanges_.push_back(UnitExchange{line, silent ? Lines{} : answer, answers});
        for (const StrayLine& stray : fault.Strays)
            exchanges_.back().Strays.push_back(stray.Text);
        if (answers) {
            lastTaken_ = line;
            taken_.insert(line);
        }
        for (const auto& [prefix, before] : linesBefore_)
            if (Begins(line, prefix))
                noise_.push_back(before);
        if (!fault.Before.empty())
            noise_.push_back(fault.Before);
        const Lines sent = FaultedAnswer(fault, answer, mode);
        std::vector<UnitOutput> answered =
            Deliver(WithStrays(sent, fault.What != AnswerFault::Kind::Chatter, fault.Strays), mode,
                    AnswerDelayMs(line) + fault.LateBy * lateDelayMs_, fault.Bytes);
        if (!silent && (fault.What == AnswerFault::Kind::Repeated ||
                        std::any_of(answeredTwice_.begin(), answeredTwice_.end(), matches)))
            noise_.insert(noise_.end(), sent.begin(), sent.end());
        // Each answer waits for the one before it to have been sent when the
        // unit answers in turn, and for a late answer drawn in turn.
        const int wait =
            static_cast<int>(std::max<int64_t>(0, (inTurn_ ? answeredUntil_ : heldUntil_) - nowMs));
        for (UnitOutput& out : answered) {
            out.DelayMs += wait;
            out.LateBy = fault.LateBy;
            out.InTurn = fault.InTurn;
            if (inTurn_)
                answeredUntil_ = std::max(answeredUntil_, nowMs + out.DelayMs);
            if (fault.LateBy > 0 && fault.InTurn)
                heldUntil_ = std::max(heldUntil_, nowMs + out.DelayMs);
        }
        for (UnitOutput& out : answered)
            outputs.push_back(std::move(out));
    }
    return outputs;
}

FaultContext SimulatedUnit::Context(const std::string& line, bool resent)
{
    const bool again = resent && line == lastLine_;
    if (again) {
        ++sends_;
    } else {
        ++ordinal_;
        sends_ = 0;
    }
    lastLine_ = line;
    return FaultContext{line, lines_++, ordinal_, sends_, again, taken_.count(line) > 0};
}

Lines SimulatedUnit::FaultedAnswer(const AnswerFault& fault, const Lines& answer, FailureMode& mode) const
{
    switch (fault.What) {
    case AnswerFault::Kind::Lost:
    case AnswerFault::Kind::Unheard: return {};
    case AnswerFault::Kind::Chatter: return {fault.Line};
    case AnswerFault::Kind::Garbled:
        if (mode == FailureMode::None)
            mode = FailureMode::Garbled;
        return answer;
    default: return answer;
    }
}

FailureMode SimulatedUnit::TakeFailure(const std::string& command)
{
    if (failure_.Times == 0 || !Begins(command, failure_.Prefix))
        return FailureMode::None;
    if (failure_.Times > 0)
        --failure_.Times;
    return failure_.Mode;
}

int SimulatedUnit::AnswerDelayMs(const std::string& command) const
{
    int delay = 0;
    size_t longest = 0;
    for (const auto& [prefix, ms] : answerDelays_)
        if (Begins(command, prefix) && prefix.size() >= longest) {
            longest = prefix.size();
            delay = ms;
        }
    return delay;
}

std::vector<SimulatedUnit::Outgoing> SimulatedUnit::WithStrays(const Lines& answer, bool ofAnswer,
                                                               const std::vector<StrayLine>& strays)
{
    std::vector<Outgoing> lines;
    const size_t last = answer.empty() ? 0 : answer.size() - 1;
    for (size_t i = 0; i <= answer.size(); ++i) {
        for (const StrayLine& stray : strays)
            if (std::min(stray.At, last) == i)
                lines.push_back(Outgoing{stray.Text, false});
        if (i < answer.size())
            lines.push_back(Outgoing{answer[i], ofAnswer});
    }
    return lines;
}

bool SimulatedUnit::Corrupt(std::string& line, size_t index, const std::vector<ByteFault>& bytes)
{
    bool cr = true;
    for (const ByteFault& fault : bytes) {
        if (fault.Line != index)
            continue;
        using enum ByteFault::Kind;
        if (fault.What == RunOn) {
            cr = false;
        } else if (fault.What == Inserted) {
            line.insert(fault.At % (line.size() + 1), 1, static_cast<char>(fault.Value));
        } else if (!line.empty()) {
            const size_t at = fault.At % line.size();
            if (fault.What == Replaced)
                line[at] = static_cast<char>(fault.Value);
            else if (fault.What == Dropped)
                line.erase(at, 1);
            else if (fault.What == BitFlipped)
                line[at] = static_cast<char>(line[at] ^ (1 << (fault.Value % 8)));
            else
                line.resize(at);
        }
    }
    return cr;
}

std::vector<UnitOutput> SimulatedUnit::Deliver(std::vector<Outgoing> answer, FailureMode mode, int delayMs,
                                               const std::vector<ByteFault>& bytes)
{
    if (mode == FailureMode::Silent)
        return {};
    if (mode == FailureMode::PortGone)
        return {UnitOutput{0, {}, true}};
    std::vector<Outgoing> lines;
    for (std::string& line : std::exchange(noise_, {}))
        lines.push_back(Outgoing{std::move(line), false});
    lines.insert(lines.end(), answer.begin(), answer.end());
    if (mode == FailureMode::EndlessDebug)
        std::erase_if(lines, [](const Outgoing& l) { return l.Text == "END OF DATA"; });
    const int base = delayMs + (mode == FailureMode::Late ? lateDelayMs_ : 0);
    const size_t whole = mode == FailureMode::DropMidReply ? lines.size() / 2 : lines.size();
    std::vector<UnitOutput> outputs;
    // A line that went out other than meant is recorded for the command
    // received last (Receive has recorded it); one that lost its CR gets the
    // line it ran into.
    const auto record = [this](const std::string& meant, bool ofAnswer) {
        std::vector<CorruptedLine>& corrupted = exchanges_.back().Corrupted;
        corrupted.push_back(CorruptedLine{meant, {}, ofAnswer});
        return std::make_pair(exchanges_.size() - 1, corrupted.size() - 1);
    };
    const auto ranInto = [this](const std::string& line) {
        const std::string joined = runOn_.Bytes + line;
        for (const auto& [exchange, index] : std::exchange(runOn_, RunOn()).Records)
            if (exchange < exchanges_.size() && index < exchanges_[exchange].Corrupted.size())
                exchanges_[exchange].Corrupted[index].Sent = joined;
        return joined;
    };
    for (size_t i = 0; i < whole; ++i) {
        const std::string meant = mode == FailureMode::Garbled ? Garble(lines[i].Text) : lines[i].Text;
        std::string sent = meant;
        const bool cr = Corrupt(sent, i, bytes);
        const bool joined = runOn_.Any();
        if (sent != meant || !cr || joined) {
            const auto place = record(meant, lines[i].OfAnswer);
            if (!cr)
                runOn_.Records.push_back(place);
        }
        if (!cr) {
            runOn_.Bytes += sent;
            continue;
        }
        if (joined) {
            sent = ranInto(sent);
            exchanges_.back().Corrupted.back().Sent = sent;
        } else if (sent != meant) {
            exchanges_.back().Corrupted.back().Sent = sent;
        }
        outputs.push_back(UnitOutput{base + static_cast<int>(i) * lineGapMs_, sent + "\r"});
    }
    if (whole < lines.size())
        outputs.push_back(UnitOutput{base + static_cast<int>(whole) * lineGapMs_,
                                     ranInto(lines[whole].Text.substr(0, (lines[whole].Text.size() + 1) / 2))});
    if (mode == FailureMode::EndlessDebug && !debugStream_.Cycle.empty()) {
        const int after = base + static_cast<int>(whole) * lineGapMs_;
        const Lines& cycle = debugStream_.Cycle;
        for (int i = 0; i < debugStream_.Count; ++i)
            outputs.push_back(UnitOutput{after + (i + 1) * debugStream_.GapMs,
                                         ranInto(cycle[static_cast<size_t>(i) % cycle.size()]) + "\r"});
    }
    return outputs;
}

// The POPULATE lines of the configuration, split into fields: 1 "LOOP<n>",
// 3 the address, 5 the ident.
std::vector<Lines> SimulatedUnit::Units() const
{
    std::vector<Lines> units;
    for (const std::string& line : config_)
        if (Begins(line, "POPULATE ") && UnitWords(line).size() >= 6)
            units.push_back(UnitWords(line));
    return units;
}

Lines SimulatedUnit::List(const std::string& head, const std::function<std::string(const Lines&)>& line) const
{
    Lines out{head};
    for (const Lines& unit : Units())
        out.push_back(line(unit));
    out.push_back("END OF DATA");
    return out;
}

void SimulatedUnit::InstallCommands()
{
    auto reply = [](const Lines& lines) { return [lines](const std::string&) { return lines; }; };
    auto echo = [](const std::string& c) { return Lines{c}; };
    auto status = [this](const Lines& f) { return "DS " + f[1] + " " + f[3] + " " + StatusOf(f[5]); };
    commands_ = {
        {"DEBUGOFF ALL", echo},
        {"DS MON DIS", reply({"DS MON STOP"})},
        {"GET SWV",
         [this](const std::string&) {
             static const char* const names[] = {"HUB V", "RCC V", "ZRLM V"};
             return Lines{swvLine_.empty() ? names[static_cast<int>(kind_)] + std::string("3.10") : swvLine_};
         }},
        {"IDENTREAD", [this](const std::string&) { return Lines{"IDENTREAD " + ident_}; }},
        {"QUERY LOOPCOUNT", [this](const std::string&) { return Lines{"QUERY LOOPCOUNT " + loopCount_}; }},
        {"GET LP", [this](const std::string&) { return Lines{"LP " + protocol_}; }},
        {"GET DS ALL", [this, status](const std::string& c) { return List(c, status); }},
        {"GET DS LOOP",
         [this, status](const std::string& c) {
             for (const Lines& f : Units())
                 if (f[1] == "LOOP" + Field(c, 2).substr(std::min<size_t>(4, Field(c, 2).size())) &&
                     f[3] == Field(c, 3))
                     return Lines{status(f)};
             return Lines{};
         }},
        {"GET SS ALL",
         [this](const std::string& c) {
             return List(c, [this](const Lines& f) {
                 return "SS " + f[1] + " " + f[3] + " " + f[5] + " 0" +
                        Numbers(Lookup(strengths_, f[5], std::vector<int>{40, 41, 42, 43}));
             });
         }},
        {"GET DM ALL",
         [this](const std::string&) {
             return List("EXPORT DM ALL", [this](const Lines& f) {
                 return "IDENT=" + f[5] + " " + f[1] + " " + f[3] + Numbers({Lookup(dailyMax_, f[5], 45)}) +
                        "dBm";
             });
         }},
        {"GET_MANUAL_UPDATE_",
         [this](const std::string& c) {
             // GET_MANUAL_UPDATE_<loop>_<address>
             Lines lines{c};
             const size_t cut = c.find('_', 18);
             const std::string loop = c.substr(18, cut == std::string::npos ? std::string::npos : cut - 18);
             const int address = cut == std::string::npos ? 0 : std::atoi(c.c_str() + cut + 1);
             for (const Lines& f : Units())
                 if (cut != std::string::npos && f[1] == "LOOP" + loop && std::atoi(f[3].c_str()) == address)
                     lines.push_back("MANUAL UPDATE " + loop + " " + f[3] + " 3.10" +
                                     Numbers(Lookup(budgets_, f[5], std::vector<int>{30, 31, 32, 33})));
             // A unit not on the radio is answered for by the hub: version
             // 255.255 and no budgets, so the tool need not wait out its time-out.
             if (lines.size() == 1)
                 lines.push_back("MANUAL UPDATE " + loop + " " + std::to_string(address) + " 255.255 0 0 0 0");
             return lines;
         }},
        {"GET RADIO ALL",
         [this](const std::string&) {
             return List("EXPORT RADIO INFO ALL",
                         [](const Lines& f) { return "RADIO " + f[5] + " " + f[1] + " " + f[3]; });
         }},
        {"SF CS ", reply({"SF CS START", "SF CS RUNNING 1", "SF CS STOP"})},
        {"SF CS DIS", reply({"SF CS STOP"})},
        {"GET SF CS RESULT",
         [this](const std::string&) {
             std::string line = "SF CS";
             for (int channel = 1; channel <= 32; ++channel)
                 line += " " + Hex(channel) + Hex(scanLevel_);
             return Lines{line};
         }},
        {"SF MON EN ",
         [this](const std::string& c) {
             const int channels = std::atoi(Field(c, 4).c_str()) - std::atoi(Field(c, 3).c_str()) + 1;
             std::string levels = "SFR ";
             for (int i = 0; i < std::clamp(channels, 0, 64); ++i)
                 levels += Hex(scanLevel_);
             return Lines{"SF MON START", levels};
         }},
        {"SF MON DIS", reply({"SF MON STOP"})},
    };
    // Commands without arguments: one with extra words is not known.
    exact_ = {"DEBUGOFF ALL",     "DS MON DIS",   "GET SWV",        "IDENTREAD",     "QUERY LOOPCOUNT",
              "GET LP",           "UNASSIGN ALL", "UNASSIGN CLEAR", "ASSIGN ALL",    "ASSIGN RCCS",
              "GET DS ALL",       "GET SS ALL",   "GET DM ALL",     "GET RADIO ALL", "SF CS DIS",
              "GET SF CS RESULT", "SF MON DIS"};
    InstallConfigurationCommands();
}
