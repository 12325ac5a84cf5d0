#include "support/SimulatedUnit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ' '))
        out.push_back(field);
    return out;
}

std::string Field(const std::vector<std::string>& fields, size_t i)
{
    return i < fields.size() ? fields[i] : std::string();
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

} // namespace

SimulatedUnit::SimulatedUnit(UnitKind kind) : kind_(kind)
{
    InstallCommands();
    InstallDiagnosticsCommands();
}

void SimulatedUnit::SetSignalStrengths(const std::string& ident, const std::vector<int>& fourValues)
{
    std::lock_guard lock(mutex_);
    strengths_[ident] = fourValues;
}

void SimulatedUnit::SetDailyMaximum(const std::string& ident, int value)
{
    std::lock_guard lock(mutex_);
    dailyMax_[ident] = value;
}

void SimulatedUnit::SetLinkBudgets(const std::string& ident, const std::vector<int>& fourValues)
{
    std::lock_guard lock(mutex_);
    budgets_[ident] = fourValues;
}

void SimulatedUnit::SetScanLevel(int level)
{
    std::lock_guard lock(mutex_);
    scanLevel_ = level;
}

std::vector<std::vector<std::string>> SimulatedUnit::Units() const
{
    std::vector<std::vector<std::string>> units;
    for (const Entry& e : config_) {
        const auto f = Fields(e.Line);
        if (Begins(e.Line, "POPULATE ") && f.size() >= 6)
            units.push_back(f);
    }
    return units;
}

void SimulatedUnit::SetKind(UnitKind kind)
{
    std::lock_guard lock(mutex_);
    kind_ = kind;
}

void SimulatedUnit::SetIdent(const std::string& ident)
{
    std::lock_guard lock(mutex_);
    ident_ = ident;
}

std::string SimulatedUnit::Ident() const
{
    std::lock_guard lock(mutex_);
    return ident_;
}

void SimulatedUnit::SetVersion(const std::string& version)
{
    std::lock_guard lock(mutex_);
    version_ = version;
}

void SimulatedUnit::SetLoopCount(int count)
{
    SetLoopCountText(std::to_string(count));
}

void SimulatedUnit::SetLoopCountText(const std::string& text)
{
    std::lock_guard lock(mutex_);
    loopCountText_ = text;
}

void SimulatedUnit::SetProtocolWord(const std::string& word)
{
    std::lock_guard lock(mutex_);
    protocolWord_ = word;
}

void SimulatedUnit::SetRlmWord(const std::string& word)
{
    std::lock_guard lock(mutex_);
    rlmWord_ = word;
}

void SimulatedUnit::SetSoftwareVersionLine(const std::string& line)
{
    std::lock_guard lock(mutex_);
    swvLine_ = line;
}

void SimulatedUnit::SetLineGapMs(int ms)
{
    std::lock_guard lock(mutex_);
    lineGapMs_ = ms;
}

void SimulatedUnit::SetFailure(FailureMode mode, const std::string& prefix, int times)
{
    std::lock_guard lock(mutex_);
    failure_ = Failure{mode, prefix, times};
}

void SimulatedUnit::ClearFailure()
{
    SetFailure(FailureMode::None);
}

void SimulatedUnit::SetLateDelayMs(int ms)
{
    std::lock_guard lock(mutex_);
    lateDelayMs_ = ms;
}

void SimulatedUnit::AddNoiseBeforeNextAnswer(const std::string& line)
{
    std::lock_guard lock(mutex_);
    noise_.push_back(line);
}

void SimulatedUnit::SetLineEnd(const std::string& ending)
{
    std::lock_guard lock(mutex_);
    lineEnd_ = ending;
}

std::vector<std::string> SimulatedUnit::Configuration() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> lines;
    for (const Entry& e : config_)
        lines.push_back(e.Line);
    return lines;
}

void SimulatedUnit::SetConfiguration(const std::vector<std::string>& lines)
{
    std::lock_guard lock(mutex_);
    config_.clear();
    for (size_t i = 0; i < lines.size(); ++i)
        config_.push_back(Entry{"L" + std::to_string(i), lines[i]});
}

void SimulatedUnit::SetAssignFailures(const std::set<std::string>& idents)
{
    std::lock_guard lock(mutex_);
    assignFailures_ = idents;
}

void SimulatedUnit::SetStatus(const std::string& ident, const std::string& tokens)
{
    std::lock_guard lock(mutex_);
    status_[ident] = tokens;
}

void SimulatedUnit::AddCommand(const std::string& prefix, Handler handler)
{
    std::lock_guard lock(mutex_);
    for (auto& entry : commands_) {
        if (entry.first == prefix) {
            entry.second = std::move(handler);
            return;
        }
    }
    commands_.emplace_back(prefix, std::move(handler));
}

std::string SimulatedUnit::Wire() const
{
    std::lock_guard lock(mutex_);
    return wire_;
}

std::vector<ReceivedCommand> SimulatedUnit::Commands() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::string> SimulatedUnit::CommandLines() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> lines;
    for (const ReceivedCommand& c : received_)
        if (!c.Line.empty())
            lines.push_back(c.Line);
    return lines;
}

void SimulatedUnit::ClearRecord()
{
    std::lock_guard lock(mutex_);
    wire_.clear();
    received_.clear();
}

std::vector<UnitOutput> SimulatedUnit::Receive(const std::string& bytes, int64_t nowMs)
{
    std::lock_guard lock(mutex_);
    std::vector<UnitOutput> outputs;
    wire_ += bytes;
    for (char c : bytes) {
        if (c == '\n')
            continue;
        if (c != '\r') {
            partial_ += c;
            continue;
        }
        const std::string line = partial_;
        partial_.clear();
        received_.push_back(ReceivedCommand{nowMs, line});
        if (line.empty())
            continue;
        FailureMode mode = TakeFailure(line);
        std::vector<std::string> answer;
        if (mode == FailureMode::UnknownCommand) {
            answer = {"Unknown Command"};
            mode = FailureMode::None;
        } else if (mode != FailureMode::Silent && mode != FailureMode::PortGone) {
            answer = Answer(line);
        }
        for (UnitOutput& out : Deliver(answer, mode))
            outputs.push_back(std::move(out));
    }
    return outputs;
}

FailureMode SimulatedUnit::TakeFailure(const std::string& command)
{
    if (failure_.Mode == FailureMode::None || failure_.Times == 0)
        return FailureMode::None;
    if (!failure_.Prefix.empty() && !Begins(command, failure_.Prefix))
        return FailureMode::None;
    if (failure_.Times > 0)
        --failure_.Times;
    return failure_.Mode;
}

std::vector<UnitOutput> SimulatedUnit::Deliver(const std::vector<std::string>& answer, FailureMode mode)
{
    std::vector<UnitOutput> outputs;
    if (mode == FailureMode::Silent)
        return outputs;
    if (mode == FailureMode::PortGone) {
        outputs.push_back(UnitOutput{0, {}, true});
        return outputs;
    }
    std::vector<std::string> lines = noise_;
    noise_.clear();
    lines.insert(lines.end(), answer.begin(), answer.end());
    const int base = mode == FailureMode::Late ? lateDelayMs_ : 0;
    size_t whole = lines.size();
    if (mode == FailureMode::DropMidReply)
        whole = lines.size() / 2;
    for (size_t i = 0; i < whole; ++i) {
        const std::string text = mode == FailureMode::Garbled ? Garble(lines[i]) : lines[i];
        outputs.push_back(UnitOutput{base + static_cast<int>(i) * lineGapMs_, text + lineEnd_, false});
    }
    if (mode == FailureMode::DropMidReply && whole < lines.size()) {
        const std::string& cut = lines[whole];
        outputs.push_back(UnitOutput{base + static_cast<int>(whole) * lineGapMs_,
                                     cut.substr(0, (cut.size() + 1) / 2), false});
    }
    return outputs;
}

std::vector<std::string> SimulatedUnit::Answer(const std::string& command)
{
    const std::pair<std::string, Handler>* best = nullptr;
    for (const auto& entry : commands_)
        if (Begins(command, entry.first) && (best == nullptr || entry.first.size() > best->first.size()))
            best = &entry;
    if (best == nullptr)
        return {"Unknown Command"};
    return best->second(command);
}

std::string SimulatedUnit::KindLine() const
{
    if (!swvLine_.empty())
        return swvLine_;
    switch (kind_) {
    case UnitKind::Hub:
        return "HUB V" + version_;
    case UnitKind::Rcc:
        return "RCC V" + version_;
    case UnitKind::Rlm:
        return rlmWord_ + " V" + version_;
    }
    return {};
}

void SimulatedUnit::Store(const std::string& key, const std::string& line)
{
    for (Entry& e : config_) {
        if (e.Key == key) {
            e.Line = line;
            return;
        }
    }
    config_.push_back(Entry{key, line});
}

bool SimulatedUnit::Erase(const std::string& key)
{
    const auto before = config_.size();
    config_.erase(
        std::remove_if(config_.begin(), config_.end(), [&](const Entry& e) { return e.Key == key; }),
        config_.end());
    return config_.size() != before;
}

void SimulatedUnit::InstallCommands()
{
    auto echo = [](const std::string& c) { return std::vector<std::string>{c}; };
    commands_ = {
        {"DEBUGOFF ALL", echo},
        {"DS MON DIS", [](const std::string&) { return std::vector<std::string>{"DS MON STOP"}; }},
        {"GET SWV", [this](const std::string&) { return std::vector<std::string>{KindLine()}; }},
        {"IDENTREAD", [this](const std::string&) { return std::vector<std::string>{"IDENTREAD " + ident_}; }},
        {"IDENTPROG ",
         [this](const std::string& c) {
             ident_ = c.substr(10);
             return std::vector<std::string>{"IDENTPROG OK"};
         }},
        {"QUERY LOOPCOUNT",
         [this](const std::string&) {
             return std::vector<std::string>{"QUERY LOOPCOUNT " + loopCountText_};
         }},
        {"GET LP", [this](const std::string&) { return std::vector<std::string>{"LP " + protocolWord_}; }},
        {"GET SYSCONFIG",
         [this](const std::string&) {
             std::vector<std::string> lines{"EXPORT SYSCONFIG"};
             for (const Entry& e : config_)
                 lines.push_back(e.Line);
             lines.push_back("END OF DATA");
             return lines;
         }},
        {"POPULATE CLEAR",
         [this](const std::string& c) {
             config_.clear();
             return std::vector<std::string>{c};
         }},
        {"POPULATE ",
         [this](const std::string& c) {
             const auto f = Fields(c);
             if (f.size() < 6 || !Begins(f[1], "LOOP"))
                 return std::vector<std::string>{"POPULATE FAIL"};
             Store(f[2] == "NODE" ? "N:" + f[4] : "D:" + f[4] + ":" + f[5], c);
             return std::vector<std::string>{c};
         }},
        {"YPROTRADIOCHANNELS",
         [this](const std::string& c) {
             Store("Y", c);
             return std::vector<std::string>{c};
         }},
        {"XPROTRADIOCHANNELS",
         [this](const std::string& c) {
             Store("X:" + Field(Fields(c), 3), c);
             return std::vector<std::string>{c};
         }},
        {"RELATION ADD ",
         [this](const std::string& c) {
             const std::string key = "R:" + Field(Fields(c), 2);
             for (const Entry& e : config_)
                 if (e.Key == key)
                     return std::vector<std::string>{"Relation already exists"};
             Store(key, c);
             return std::vector<std::string>{c};
         }},
        {"RELATION DEL ",
         [this](const std::string& c) {
             Erase("R:" + Field(Fields(c), 2));
             return std::vector<std::string>{c};
         }},
        {"FDELETE DEVICE ",
         [this](const std::string& c) {
             const std::string ident = c.substr(15);
             bool found = false;
             for (size_t i = 0; i < config_.size(); ++i) {
                 if (Begins(config_[i].Line, "POPULATE ") && Field(Fields(config_[i].Line), 5) == ident) {
                     config_.erase(config_.begin() + static_cast<long>(i));
                     found = true;
                     break;
                 }
             }
             return std::vector<std::string>{found ? c : "DEVICE NOT FOUND"};
         }},
        {"UNASSIGN ALL", echo},
        {"UNASSIGN CLEAR", echo},
        {"ASSIGN ",
         [this](const std::string& c) {
             std::vector<std::string> lines{c};
             for (const Entry& e : config_) {
                 if (!Begins(e.Line, "POPULATE "))
                     continue;
                 const std::string ident = Field(Fields(e.Line), 5);
                 if (assignFailures_.count(ident) != 0) {
                     lines.push_back("ASSIGN FAIL " + ident);
                 } else {
                     lines.push_back("ASSIGN_OK_" + ident);
                     status_[ident] = "OK";
                 }
             }
             lines.push_back("ASSIGN FINISH");
             return lines;
         }},
    };
}

// The answers of the radio diagnostics commands. Units are the POPULATE
// lines of the configuration: field 1 "LOOP<n>", field 3 the address,
// field 5 the ident.
void SimulatedUnit::InstallDiagnosticsCommands()
{
    auto statusOf = [this](const std::string& ident) {
        const auto found = status_.find(ident);
        return found == status_.end() ? std::string("UCF") : found->second;
    };
    auto values = [](const std::map<std::string, std::vector<int>>& table, const std::string& ident,
                     std::vector<int> fallback) {
        const auto found = table.find(ident);
        return found == table.end() ? fallback : found->second;
    };
    commands_.insert(
        commands_.end(),
        {
            {"GET DS ALL",
             [this, statusOf](const std::string& c) {
                 std::vector<std::string> lines{c};
                 for (const auto& f : Units())
                     lines.push_back("DS " + f[1] + " " + f[3] + " " + statusOf(f[5]));
                 lines.push_back("END OF DATA");
                 return lines;
             }},
            {"GET DS LOOP",
             [this, statusOf](const std::string& c) {
                 const auto asked = Fields(c);
                 for (const auto& f : Units())
                     if ("LOOP" + Field(asked, 2).substr(std::min<size_t>(4, Field(asked, 2).size())) ==
                             f[1] &&
                         Field(asked, 3) == f[3])
                         return std::vector<std::string>{"DS " + f[1] + " " + f[3] + " " + statusOf(f[5])};
                 return std::vector<std::string>{};
             }},
            {"GET SS ALL",
             [this, values](const std::string& c) {
                 std::vector<std::string> lines{c};
                 for (const auto& f : Units()) {
                     const auto v = values(strengths_, f[5], {40, 41, 42, 43});
                     lines.push_back("SS " + f[1] + " " + f[3] + " " + f[5] + " 0 " +
                                     std::to_string(v.at(0)) + " " + std::to_string(v.at(1)) + " " +
                                     std::to_string(v.at(2)) + " " + std::to_string(v.at(3)));
                 }
                 lines.push_back("END OF DATA");
                 return lines;
             }},
            {"GET DM ALL",
             [this](const std::string&) {
                 std::vector<std::string> lines{"EXPORT DM ALL"};
                 for (const auto& f : Units()) {
                     const auto found = dailyMax_.find(f[5]);
                     const int value = found == dailyMax_.end() ? 45 : found->second;
                     lines.push_back("IDENT=" + f[5] + " " + f[1] + " " + f[3] + " " + std::to_string(value) +
                                     "dBm");
                 }
                 lines.push_back("END OF DATA");
                 return lines;
             }},
            {"GET_MANUAL_UPDATE_",
             [this, values](const std::string& c) {
                 // GET_MANUAL_UPDATE_<loop>_<address, three digits>
                 std::vector<std::string> lines{c};
                 const size_t cut = c.find('_', 18);
                 if (cut == std::string::npos)
                     return lines;
                 const std::string loop = c.substr(18, cut - 18);
                 const int address = std::atoi(c.c_str() + cut + 1);
                 for (const auto& f : Units()) {
                     if (f[1] != "LOOP" + loop || std::atoi(f[3].c_str()) != address)
                         continue;
                     const auto b = values(budgets_, f[5], {30, 31, 32, 33});
                     lines.push_back("MANUAL UPDATE " + loop + " " + f[3] + " " + version_ + " " +
                                     std::to_string(b.at(0)) + " " + std::to_string(b.at(1)) + " " +
                                     std::to_string(b.at(2)) + " " + std::to_string(b.at(3)));
                 }
                 return lines;
             }},
            {"GET RADIO ALL",
             [this](const std::string&) {
                 std::vector<std::string> lines{"EXPORT RADIO INFO ALL"};
                 for (const auto& f : Units())
                     lines.push_back("RADIO " + f[5] + " " + f[1] + " " + f[3]);
                 lines.push_back("END OF DATA");
                 return lines;
             }},
            {"SF CS ",
             [](const std::string&) {
                 return std::vector<std::string>{"SF CS START", "SF CS RUNNING 1", "SF CS STOP"};
             }},
            {"SF CS DIS", [](const std::string&) { return std::vector<std::string>{"SF CS STOP"}; }},
            {"GET SF CS RESULT",
             [this](const std::string&) {
                 std::string line = "SF CS";
                 char token[8];
                 for (int channel = 1; channel <= 32; ++channel) {
                     std::snprintf(token, sizeof token, " %02X%02X", channel, scanLevel_ & 0xFF);
                     line += token;
                 }
                 return std::vector<std::string>{line};
             }},
            {"SF MON EN ",
             [this](const std::string& c) {
                 const auto f = Fields(c);
                 const int first = std::atoi(Field(f, 3).c_str());
                 const int last = std::atoi(Field(f, 4).c_str());
                 std::string levels = "SFR ";
                 char pair[4];
                 for (int channel = first; channel <= last && channel - first < 64; ++channel) {
                     std::snprintf(pair, sizeof pair, "%02X", scanLevel_ & 0xFF);
                     levels += pair;
                 }
                 return std::vector<std::string>{"SF MON START", levels};
             }},
            {"SF MON DIS", [](const std::string&) { return std::vector<std::string>{"SF MON STOP"}; }},
        });
}
