#include "hublink/core/HubConfigParser.h"

#include "hublink/core/HubUnits.h"
#include "hublink/core/LinkState.h"
#include "model/ConfigurationCheck.h"
#include "model/Convert.h"
#include "model/DeviceTypes.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace hublink {

namespace {

constexpr int kNoParent = 255;

std::vector<std::string> SplitAtBlanks(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ' ')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::optional<int> Number(const std::string& field)
{
    return model::WholeNumber(field);
}

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

bool IsNode(int node)
{
    return InRange(node, 0, model::kNodeCount - 1);
}

bool IsRcc(int node)
{
    return InRange(node, 1, model::kNodeCount - 1);
}

class LineReader
{
public:
    LineReader(const std::string& line, model::NodeArray& hub, const HubParseOptions& options)
        : line_(line), f_(SplitAtBlanks(line)), hub_(hub), options_(options)
    {
    }

    // Reads the line; false when it is not understood (nothing stored).
    bool Read()
    {
        const std::string keyword = model::Upper(f_[0]);
        if (keyword == "POPULATE")
            return Populate();
        if (keyword == "RELATION")
            return Relation();
        if (keyword == "YPROTRADIOCHANNELS")
            return HubChannels();
        if (keyword == "XPROTRADIOCHANNELS")
            return RccChannels();
        return false;
    }

    // The description of the line with the suffix of every failed check, or
    // the empty text when every check passed.
    std::string Findings() const { return suffix_.empty() ? std::string() : Description() + suffix_; }

private:
    std::optional<int> Field(size_t i) const { return i < f_.size() ? Number(f_[i]) : std::nullopt; }
    bool Has(size_t i) const { return i < f_.size() && !f_[i].empty(); }
    void Fail(const std::string& suffix) { suffix_ += suffix; }

    bool Populate()
    {
        if (f_.size() < 6 || f_[1].empty())
            return false;
        const std::optional<int> loop = Number(f_[1].substr(f_[1].size() - 1));
        const std::optional<int> address = Field(3);
        const std::optional<int> node = Field(4);
        if (!loop || !address || !node)
            return false;
        std::string ident = f_[5];
        loop_ = *loop;
        address_ = *address;
        node_ = *node;
        if (f_[2] == "NODE")
            return NodeLine(*loop, *address, *node, ident);
        return DeviceLine(*loop, *address, *node, ident);
    }

    bool NodeLine(int loop, int address, int node, std::string& ident)
    {
        if (Has(6) && !Field(6))
            return false;
        kind_ = Kind::Node;
        if (!IsNode(node)) {
            Fail(" / Invalid Node Number");
            return true;
        }
        model::clsNode& target = hub_[static_cast<size_t>(node)];
        target.SetInUse(true);
        if (model::IsHexString(ident))
            target.SetNodeIdent(ident);
        else
            Fail(" / Error In Ident");
        if (InRange(loop, 1, 4))
            target.SetNodeLoop(loop);
        else
            Fail(" / Error In Loop Number");
        if (InRange(address, 1, 128))
            target.SetNodeAddress(address);
        else
            Fail(" / Error In Loop Address");
        return true;
    }

    bool DeviceLine(int loop, int address, int node, std::string& ident)
    {
        // The slot (less one) is field 6, or field 7 after an empty field 6.
        std::optional<size_t> slotField;
        if (Has(6))
            slotField = 6;
        else if (f_.size() > 6 && Has(7))
            slotField = 7;
        std::optional<int> slotNumber;
        if (slotField) {
            slotNumber = Field(*slotField);
            if (!slotNumber)
                return false;
        }
        const std::string& typeWord = f_[2];
        kind_ = Kind::Device;
        slotField_ = slotField.value_or(0);
        if (!IsNode(node)) {
            Fail(" / Invalid Node Number");
            return true;
        }
        model::clsNode& target = hub_[static_cast<size_t>(node)];
        int slot = 0;
        if (slotNumber) {
            slot = *slotNumber + 1;
            if (!InRange(slot, 1, model::kLastSlot))
                Fail(" / Invalid Slot Number");
        } else {
            // A slot taken by a line of an unknown type word is not free:
            // that unit stays in the hub as well.
            for (int s = 1; s <= model::kLastSlot && slot == 0; ++s)
                if (!HoldsUnit(target, s))
                    slot = s;
            if (slot == 0)
                Fail(" / No Free Slot");
        }
        // A slot outside 1..31 stores nothing: the node's setters ignore it.
        if (model::IsHexString(ident))
            target.SetDeviceIdent(slot, ident);
        else
            Fail(" / Error In Ident");
        if (InRange(loop, 1, 4))
            target.SetDeviceLoop(slot, loop);
        else
            Fail(" / Error In Loop Number");
        if (InRange(address, 1, 127))
            target.SetDeviceAddress(slot, address);
        else
            Fail(" / Error In Loop Address");
        const model::DeviceTypeCode type = model::DeviceTypeFromName(typeWord);
        if (type == -1)
            Fail(" / Error In Device Type");
        else
            target.SetDeviceType(slot, type);
        return true;
    }

    bool Relation()
    {
        const std::optional<int> node = Field(2);
        const std::optional<int> parent = Field(3);
        const std::optional<int> hop = Field(4);
        if (!node || !parent || !hop)
            return false;
        kind_ = Kind::Relation;
        node_ = *node;
        if (!IsRcc(*node)) {
            Fail(" / Invalid Node Number (" + std::to_string(*node) + ")");
        } else if (!IsNode(*parent) && *parent != kNoParent) {
            Fail(" / Invalid Parent (" + std::to_string(*parent) + ")");
        } else {
            model::clsNode& target = hub_[static_cast<size_t>(*node)];
            target.SetParent(*parent == kNoParent ? -1 : *parent);
            target.SetReportedHop(*hop);
        }
        return true;
    }

    // The channel indices of the two wire numbers in fields 1 and 2.
    bool Channels(int& a, int& b, const char* which)
    {
        const std::optional<int> first = Field(1);
        const std::optional<int> second = Field(2);
        if (!first || !second)
            return false;
        kind_ = Kind::Channels;
        a = model::ChannelIndexFromNumber(*first);
        b = model::ChannelIndexFromNumber(*second);
        if (!InRange(a, 1, 32) || !InRange(b, 1, 32))
            Fail(std::string(" / Invalid ") + which + "-Protocol Channel(s) Specified");
        return true;
    }

    bool HubChannels()
    {
        int a = -1, b = -1;
        if (!Channels(a, b, "Y"))
            return false;
        hub_[0].SetY_ChannelA(a);
        hub_[0].SetY_ChannelB(b);
        return true;
    }

    bool RccChannels()
    {
        int node = options_.activeNode;
        if (Has(3)) {
            const std::optional<int> named = Field(3);
            if (!named)
                return false;
            node = *named;
        }
        int a = -1, b = -1;
        if (!Channels(a, b, "X"))
            return false;
        // Channels for no RCC are those of the unit on the cable (an RCC
        // answers with its own), unless programming asks for an RCC.
        int target = -1;
        if (IsRcc(node))
            target = node;
        else if (!options_.programming || node == kNoParent)
            target = options_.activeNode;
        if (!IsNode(target)) {
            Fail(" / X-Protocol Channels Specified for Invalid Node Number");
            return true;
        }
        node = target;
        hub_[static_cast<size_t>(node)].SetX_ChannelA(a);
        hub_[static_cast<size_t>(node)].SetX_ChannelB(b);
        return true;
    }

    const std::string& line_;
    std::vector<std::string> f_;
    model::NodeArray& hub_;
    const HubParseOptions& options_;
    enum class Kind
    {
        Node,
        Device,
        Relation,
        Channels
    };
    // What the message line says of the line before the suffixes of its
    // failed checks; made only for a line that failed one.
    std::string Description() const
    {
        if (kind_ == Kind::Relation)
            return "RCC " + std::to_string(node_) + " ";
        std::string text = "[" + line_ + "] ";
        if (kind_ == Kind::Channels)
            return text;
        text += node_ == 0 ? std::string("Radio Hub") : "RCC " + std::to_string(node_);
        if (kind_ == Kind::Device)
            text += " " + f_[2] + " on ";
        text += std::string(kind_ == Kind::Device ? ",  Loop " : ", Loop ") + std::to_string(loop_) + ", Address " +
                std::to_string(address_) + ", Ident " + f_[5];
        if (slotField_ != 0)
            text += ", Slot " + f_[slotField_];
        return text;
    }

    Kind kind_ = Kind::Channels;
    int loop_ = 0, address_ = 0, node_ = 0;
    size_t slotField_ = 0; // the field holding the slot, 0 for none
    std::string suffix_;
};

} // namespace

int16_t ParseHubConfiguration(std::span<const std::string> lines, model::NodeArray& hub,
                              const HubParseOptions& options)
{
    model::MessageList.clear();
    for (int i = 0; i < model::kNodeCount; ++i) {
        hub[static_cast<size_t>(i)].InitializeNode();
        hub[static_cast<size_t>(i)].SetNodeNumber(i);
    }
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        LineReader reader(line, hub, options);
        if (!reader.Read())
            model::AddErrorLine("Unrecognised data :  <" + line + ">");
        else if (const std::string findings = reader.Findings(); !findings.empty())
            model::AddErrorLine(findings);
    }
    return model::MessageCount();
}

int16_t ParseHubConfiguration(const LinkSession& session, const HubParseOptions& options)
{
    // ReplyLines keeps index 0 unused; the count never runs past the array.
    const std::span<const std::string> all(session.ReplyLines);
    const size_t count = all.empty() ? 0 : std::min(static_cast<size_t>(std::max<int16_t>(session.ReplyLineCount, 0)),
                                                     all.size() - 1);
    return ParseHubConfiguration(all.empty() ? all : all.subspan(1, count), model::HubNodes, options);
}

} // namespace hublink
