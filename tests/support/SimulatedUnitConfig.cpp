// The simulated unit's configuration: the programming statements it takes,
// the ones it refuses, and the listing "GET SYSCONFIG" answers with. The unit
// keeps one entry per node line, device slot, channel setting and relation;
// a statement for an entry it holds replaces it.
#include "support/SimulatedUnit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace {

using Lines = SimulatedUnit::Lines;

const char* const kPopulateFail = "POPULATE FAIL";
const char* const kCommandError = "ERROR IN COMMAND";

// A stored line's words, read as the link reads them (underscores as
// blanks).
Lines Statement(std::string line)
{
    std::replace(line.begin(), line.end(), '_', ' ');
    return UnitWords(line);
}

// A whole number in 0..max, or -1.
int NumberIn(std::string_view text, int max)
{
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return -1;
    int value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value <= max ? value : -1;
}

bool IsIdent(const std::string& text)
{
    return !text.empty() && text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

bool IsWireChannel(const std::string& text)
{
    const int n = NumberIn(text, 45);
    return (n >= 2 && n <= 17) || n >= 30;
}

bool IsTypeWord(const std::string& word)
{
    static const char* const words[] = {
        "CALLPOINT", "OPTICAL",      "HEAT",      "HIGHHEAT",      "SOUNDER",          "IO",  "MULTISENSOR",
        "COMBO",     "COMBOOPTICAL", "COMBOHEAT", "COMBOHIGHHEAT", "COMBOMULTISENSOR", "ZMIO"};
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

// The first seven words of a line, read as the link reads it (underscores as
// blanks). The unit reads every stored line for each statement it takes, so
// this allocates nothing.
struct LeadingWords
{
    std::array<std::string_view, 7> w;
    size_t count = 0;
};

LeadingWords Leading(std::string_view line)
{
    LeadingWords words;
    ForEachWord(line, true, [&words](std::string_view word) {
        words.w[words.count++] = word;
        return words.count < words.w.size();
    });
    return words;
}

// Where a stored line stands in the listing: its group (node lines, device
// lines, hub channels, RCC channels, relations, anything else), node and
// slot.
std::tuple<int, int, int> ReadPlace(const std::string& line)
{
    const LeadingWords leading = Leading(line);
    const auto& w = leading.w;
    const size_t count = leading.count;
    auto at = [&](size_t i, int max) { return i < count ? NumberIn(w[i], max) : -1; };
    if (count == 0)
        return {5, 0, 0};
    if (w[0] == "POPULATE" && count >= 6)
        return w[2] == "NODE" ? std::make_tuple(0, at(4, 255), 0)
                              : std::make_tuple(1, at(4, 255), at(6, 255));
    if (w[0] == "YPROTRADIOCHANNELS")
        return {2, 0, 0};
    if (w[0] == "XPROTRADIOCHANNELS")
        return {3, at(3, 255), 0};
    if (w[0] == "RELATION")
        return {4, at(2, 255), 0};
    return {5, 0, 0};
}

// The same, remembered: the unit reads the place of every stored line for
// each statement it takes. Each thread (each simulated port's) keeps its own.
std::tuple<int, int, int> Place(const std::string& line)
{
    thread_local std::unordered_map<std::string, std::tuple<int, int, int>> known;
    if (const auto found = known.find(line); found != known.end())
        return found->second;
    if (known.size() >= 65536)
        known.clear();
    return known.emplace(line, ReadPlace(line)).first->second;
}

} // namespace

int SimulatedUnit::LoopLimit() const
{
    const int count = NumberIn(loopCount_, 9);
    return count >= 1 && count <= 4 ? count : 4;
}

bool SimulatedUnit::HasNodeLine(int node) const
{
    return std::any_of(config_.begin(), config_.end(), [node](const std::string& l) {
        const auto [group, n, slot] = Place(l);
        return group == 0 && n == node;
    });
}

void SimulatedUnit::Store(const std::string& line)
{
    const auto place = Place(line);
    const auto found =
        std::find_if(config_.begin(), config_.end(), [&](const std::string& l) { return Place(l) == place; });
    if (found == config_.end())
        config_.push_back(line);
    else
        *found = line;
}

Lines SimulatedUnit::Listing() const
{
    Lines lines = config_;
    std::stable_sort(lines.begin(), lines.end(),
                     [](const std::string& a, const std::string& b) { return Place(a) < Place(b); });
    return lines;
}

Lines SimulatedUnit::Populate(const std::string& command)
{
    const Lines w = UnitWords(command);
    if (w.size() < 6 || w.size() > 7 || w[1].size() != 5 || w[1].compare(0, 4, "LOOP") != 0)
        return {kPopulateFail};
    const int loop = NumberIn(w[1].substr(4), 9);
    const int address = NumberIn(w[3], 128);
    const int node = NumberIn(w[4], 31);
    if (loop < 1 || loop > LoopLimit() || address < 1 || node < 0 || !IsIdent(w[5]))
        return {kPopulateFail};
    std::string stored = "POPULATE " + w[1] + " " + w[2] + " " + w[3] + " " + w[4] + " " + w[5];
    if (w[2] == "NODE") {
        Store(stored + " 0");
        return {command};
    }
    if (!IsTypeWord(w[2]))
        return {kPopulateFail};
    int slot = w.size() == 7 ? NumberIn(w[6], 30) : -1;
    if (w.size() == 7 && slot < 0)
        return {kPopulateFail};
    if (slot < 0) {
        // The node's first free slot.
        std::array<bool, 31> taken{};
        for (const std::string& l : config_)
            if (const auto [group, n, s] = Place(l); group == 1 && n == node && s >= 0 && s <= 30)
                taken[static_cast<size_t>(s)] = true;
        const auto free = std::find(taken.begin(), taken.end(), false);
        if (free != taken.end())
            slot = static_cast<int>(free - taken.begin());
    }
    if (slot < 0)
        return {kPopulateFail};
    Store(stored + " " + std::to_string(slot));
    return {command};
}

Lines SimulatedUnit::Channels(const std::string& command)
{
    const Lines w = UnitWords(command);
    const bool rcc = w[0] == "XPROTRADIOCHANNELS";
    if (w.size() != (rcc ? 4u : 3u) || !IsWireChannel(w[1]) || !IsWireChannel(w[2]))
        return {kCommandError};
    if (rcc) {
        const int node = NumberIn(w[3], 31);
        if (node < 1 || !HasNodeLine(node))
            return {kCommandError};
    }
    Store(command);
    return {command};
}

Lines SimulatedUnit::RelationAdd(const std::string& command)
{
    const Lines w = UnitWords(command);
    if (w.size() != 5 || NumberIn(w[2], 31) < 1 || NumberIn(w[3], 31) < 0 || NumberIn(w[4], 9) < 0)
        return {kCommandError};
    if (std::find(config_.begin(), config_.end(), command) != config_.end())
        return {"Node Relation already defined"};
    Store(command);
    return {command};
}

Lines SimulatedUnit::RelationDelete(const std::string& command)
{
    const Lines w = UnitWords(command);
    if (w.size() != 4)
        return {kCommandError};
    const auto held = std::find_if(config_.begin(), config_.end(), [&](const std::string& l) {
        const Lines r = Statement(l);
        return std::get<0>(Place(l)) == 4 && r.size() >= 4 && r[2] == w[2] && r[3] == w[3];
    });
    if (held == config_.end())
        return {"RELATION NOT FOUND"};
    config_.erase(held);
    return {command};
}

Lines SimulatedUnit::DeleteDevice(const std::string& command)
{
    const Lines w = UnitWords(command);
    if (w.size() != 3)
        return {kCommandError};
    const auto found = std::find_if(config_.begin(), config_.end(), [&](const std::string& l) {
        const int group = std::get<0>(Place(l));
        return (group == 0 || group == 1) && Statement(l)[5] == w[2];
    });
    if (found == config_.end())
        return {"DEVICE NOT FOUND"};
    const auto [group, node, slot] = Place(*found);
    config_.erase(found);
    // An RCC goes with its channels and its relation.
    if (group == 0)
        std::erase_if(config_, [node = node](const std::string& l) {
            const int g = std::get<0>(Place(l));
            return (g == 3 || g == 4) && std::get<1>(Place(l)) == node;
        });
    return {command};
}

Lines SimulatedUnit::IdentProg(const std::string& command)
{
    const Lines w = UnitWords(command);
    if (w.size() != 2 || !IsIdent(w[1]))
        return {"IDENTPROG FAIL"};
    std::string ident = w[1];
    std::transform(ident.begin(), ident.end(), ident.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    ident_ = std::string(5 - ident.size(), '0') + ident;
    return {"IDENTPROG OK"};
}

void SimulatedUnit::InstallConfigurationCommands()
{
    auto with = [this](Lines (SimulatedUnit::*handler)(const std::string&)) {
        return [this, handler](const std::string& c) { return (this->*handler)(c); };
    };
    commands_["POPULATE "] = with(&SimulatedUnit::Populate);
    commands_["YPROTRADIOCHANNELS"] = with(&SimulatedUnit::Channels);
    commands_["XPROTRADIOCHANNELS"] = with(&SimulatedUnit::Channels);
    commands_["RELATION ADD "] = with(&SimulatedUnit::RelationAdd);
    commands_["RELATION DEL "] = with(&SimulatedUnit::RelationDelete);
    commands_["FDELETE DEVICE "] = with(&SimulatedUnit::DeleteDevice);
    commands_["IDENTPROG "] = with(&SimulatedUnit::IdentProg);
    commands_["POPULATE CLEAR"] = [this](const std::string& c) {
        config_.clear();
        return Lines{c};
    };
    commands_["GET SYSCONFIG"] = [this](const std::string&) {
        Lines lines{"EXPORT SYSCONFIG"};
        const Lines listed = Listing();
        lines.insert(lines.end(), listed.begin(), listed.end());
        lines.push_back("END OF DATA");
        return lines;
    };
    exact_.insert({"POPULATE CLEAR", "GET SYSCONFIG"});
}
