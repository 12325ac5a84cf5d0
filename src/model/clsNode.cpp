#include "model/clsNode.h"

#include "model/Convert.h"
#include "model/NodeView.h"
#include "platform/base/Rounding.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace model {
namespace {

// A function rather than a constant: Nodes and HubNodes are built during
// static initialisation, possibly before a constant of this file would be.
std::string ClearFlags()
{
    return std::string(kStatusFlagCount, 'F');
}

constexpr int16_t kHubWidth = 870;
constexpr int16_t kHubHeight = 525;
constexpr int16_t kRccWidth = 450;
constexpr int16_t kRccHeight = 420;
constexpr int kTreeDepth = 10;

bool FitsInteger(int value)
{
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

// Channel indices: 1..42 or -1.
void StoreChannel(int16_t& field, int value)
{
    if (value == -1 || (value >= 1 && value <= 42)) {
        field = static_cast<int16_t>(value);
    }
}

// start + size / 2 to the nearest whole twip, a half going to the even value.
int32_t CentreOf(int32_t start, int16_t size)
{
    const int64_t twice = int64_t{start} * 2 + size;
    int64_t whole = twice / 2;
    if (twice % 2 != 0) {
        if (twice < 0) {
            --whole; // round the half down first ...
        }
        if (whole % 2 != 0) {
            ++whole; // ... then up when that is odd
        }
    }
    return platform::SaturateLong(whole);
}

// The normalised form of an ident, or false when it is to be dropped.
bool NormaliseIdent(const std::string& value, std::string& out)
{
    // Most idents are normal already: five digits 0-9 and A-F.
    if (value.size() == 5 &&
        std::all_of(value.begin(), value.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); })) {
        out = value;
        return true;
    }
    std::string text = value;
    if (!IsHexString(text)) {
        return false;
    }
    if (text.size() > 5) {
        text.resize(5);
    }
    if (!text.empty()) {
        PadWithLeadingZeros(text, 5);
    }
    out = text;
    return true;
}

void CheckReading(int j)
{
    if (j < 0 || j >= kReadingCount) {
        throw std::out_of_range("reading index out of range");
    }
}

// Flag position (1..34) a status token sets, 0 for a token that is ignored.
int FlagPosition(std::string_view token)
{
    if (token.size() < 2) {
        return 0;
    }
    const std::string_view head = token.substr(0, 2);
    const char third = token.size() > 2 ? token[2] : '\0';
    const int digit = (third >= '0' && third <= '9') ? third - '0' : 0;

    struct Plain
    {
        std::string_view head;
        int position;
    };
    static constexpr Plain kPlain[] = {{"TA", 13}, {"AT", 14}, {"HF", 15}, {"HM", 16},
                                       {"SM", 17}, {"SA", 18}, {"MF", 19}, {"IF", 20},
                                       {"BG", 29}, {"RF", 30}, {"CF", 31}, {"UC", 32}};
    for (const Plain& p : kPlain) {
        if (head == p.head) {
            return p.position;
        }
    }
    if (head == "BL" || head == "BF" || head == "BM") {
        const int base = head == "BL" ? 1 : head == "BF" ? 5 : 9;
        return digit <= 3 ? base + digit : 0;
    }
    if (head == "IN") {
        return (digit == 1 || digit == 2) ? 32 + digit : 0;
    }
    if (head == "AS") {
        const std::string_view states = "APN";
        const std::size_t k = states.find(third);
        return third != '\0' && k != std::string_view::npos ? 21 + static_cast<int>(k) : 0;
    }
    if (head == "SS") {
        const std::string_view levels = "GMLPF";
        const std::size_t k = levels.find(third);
        return third != '\0' && k != std::string_view::npos ? 24 + static_cast<int>(k) : 0;
    }
    return 0;
}

bool IsSet(const std::string& flags, int position)
{
    return flags[static_cast<std::size_t>(position - 1)] == 'T';
}

} // namespace

clsNode::clsNode()
{
    ClearIdentityAndSlots();
}

clsNode::clsNode(const clsNode& other) = default;
clsNode& clsNode::operator=(const clsNode& other) = default;

// --- drawing seam -------------------------------------------------------------

void clsNode::ReportBorder(uint32_t colour) const
{
    if (view_ != nullptr) {
        static_cast<NodeView*>(view_)->BorderColourChanged(*this, colour);
    }
}

void clsNode::Activate()
{
    active_ = true;
    ReportBorder(kBorderSelected);
}

void clsNode::DeActivate()
{
    active_ = false;
    ReportBorder(kBorderPlain);
}

void clsNode::ShowAsParent()
{
    shownAsParent_ = true;
    ReportBorder(kBorderParent);
}

void clsNode::NotAsParent()
{
    shownAsParent_ = false;
    ReportBorder(shownAsChild_ ? kBorderDescendant : active_ ? kBorderSelected : kBorderPlain);
}

void clsNode::ShowAsChild()
{
    shownAsChild_ = true;
    ReportBorder(kBorderDescendant);
}

void clsNode::NotAsChild()
{
    shownAsChild_ = false;
    ReportBorder(shownAsParent_ ? kBorderParent : active_ ? kBorderSelected : kBorderPlain);
}

void clsNode::Hide()
{
    if (view_ != nullptr) {
        static_cast<NodeView*>(view_)->NodeHidden(*this);
    }
}

void clsNode::Show()
{
    if (view_ != nullptr) {
        static_cast<NodeView*>(view_)->NodeShown(*this);
    }
}

// --- radio tree ---------------------------------------------------------------

bool clsNode::GetChild(int i) const
{
    if (i < 0 || i >= static_cast<int>(children_.size())) {
        throw std::out_of_range("child index out of range");
    }
    return i < kNodeCount && children_[static_cast<std::size_t>(i)];
}

bool clsNode::IsParentOf(int i, const NodeArray& nodes) const
{
    // A node without a number is nobody's parent, though unparented nodes
    // also hold -1.
    return nodeNumber_ >= 0 && nodes.at(static_cast<std::size_t>(i)).Parent() == nodeNumber_;
}

void clsNode::ScanForChildren(const NodeArray& nodes)
{
    for (int i = 0; i < kNodeCount; ++i) {
        children_[static_cast<std::size_t>(i)] =
            nodes[static_cast<std::size_t>(i)].IsInPath(nodeNumber_, nodes, kTreeDepth);
    }
}

bool clsNode::IsInPath(int target, const NodeArray& nodes, int depth) const
{
    // -1 is "no parent", not a node: it is nobody's ancestor.
    if (target < 0 || target == nodeNumber_) {
        return false;
    }
    if (target == parent_) {
        return true;
    }
    if (parent_ == 0 || parent_ == -1) {
        return false;
    }
    if (depth >= 2) {
        return nodes[static_cast<std::size_t>(parent_)].IsInPath(target, nodes, depth - 1);
    }
    return false;
}

bool clsNode::IsRelated(int i, const NodeArray& nodes)
{
    if (i < 0) {
        return false;
    }
    if (IsInPath(i, nodes, kTreeDepth)) {
        return true;
    }
    ScanForChildren(nodes);
    return GetChild(i);
}

int16_t clsNode::Hop(const NodeArray& nodes, int depth) const
{
    if (nodeNumber_ == 0) {
        return 0;
    }
    if (depth <= 0 || parent_ < 0) {
        return -1;
    }
    const int16_t hops = nodes[static_cast<std::size_t>(parent_)].Hop(nodes, depth - 1);
    return hops < 0 ? hops : static_cast<int16_t>(hops + 1);
}

// --- geometry -----------------------------------------------------------------

void clsNode::SetLeft(int32_t value)
{
    left_ = value;
    centreX_ = CentreOf(left_, width_);
    if (view_ != nullptr) {
        static_cast<NodeView*>(view_)->NodeMoved(*this);
    }
}

void clsNode::SetTop(int32_t value)
{
    top_ = value;
    centreY_ = CentreOf(top_, height_);
    if (view_ != nullptr) {
        static_cast<NodeView*>(view_)->NodeMoved(*this);
    }
}

int32_t clsNode::Bottom() const
{
    return platform::SaturateLong(int64_t{top_} + height_);
}

void clsNode::SetSizeFromNumber()
{
    width_ = nodeNumber_ == 0 ? kHubWidth : kRccWidth;
    height_ = nodeNumber_ == 0 ? kHubHeight : kRccHeight;
}

void clsNode::RecomputeCentre()
{
    centreX_ = CentreOf(left_, width_);
    centreY_ = CentreOf(top_, height_);
}

// --- identity and position ----------------------------------------------------

void clsNode::SetInUse(bool value)
{
    inUse_ = value;
    if (!value) {
        Hide();
    }
}

void clsNode::SetY_ChannelA(int value)
{
    StoreChannel(yChannelA_, value);
}

void clsNode::SetY_ChannelB(int value)
{
    StoreChannel(yChannelB_, value);
}

void clsNode::SetX_ChannelA(int value)
{
    StoreChannel(xChannelA_, value);
}

void clsNode::SetX_ChannelB(int value)
{
    StoreChannel(xChannelB_, value);
}

void clsNode::SetNodeNumber(int value)
{
    if (value >= 0 && value < kNodeCount) {
        nodeNumber_ = static_cast<int16_t>(value);
    }
    SetSizeFromNumber();
    RecomputeCentre();
}

void clsNode::SetParent(int value)
{
    if (value >= -1 && value < kNodeCount) {
        parent_ = static_cast<int16_t>(value);
    }
}

void clsNode::SetNodeLoop(int value)
{
    if (value >= -1 && value <= 4) {
        nodeLoop_ = static_cast<int16_t>(value);
    }
}

void clsNode::SetNodeAddress(int value)
{
    if (value >= -1 && value <= 255) {
        nodeAddress_ = static_cast<int16_t>(value);
    }
}

void clsNode::SetNodeStatusString(const std::string& value)
{
    slots_[0].statusString = value;
    UpdateSingleStatus(0);
}

void clsNode::SetNodeIdent(const std::string& value)
{
    NormaliseIdent(value, nodeIdent_);
}

// --- live values of the node --------------------------------------------------

int16_t clsNode::NodeSignalStrength(int i) const
{
    CheckReading(i);
    return nodeSignalStrength_[static_cast<std::size_t>(i)];
}

void clsNode::SetNodeSignalStrength(int i, int value)
{
    CheckReading(i);
    if (FitsInteger(value)) {
        nodeSignalStrength_[static_cast<std::size_t>(i)] = static_cast<int16_t>(value);
    }
}

int16_t clsNode::NodeLinkBudget(int i) const
{
    CheckReading(i);
    return nodeLinkBudget_[static_cast<std::size_t>(i)];
}

void clsNode::SetNodeLinkBudget(int i, int value)
{
    CheckReading(i);
    if (FitsInteger(value)) {
        nodeLinkBudget_[static_cast<std::size_t>(i)] = static_cast<int16_t>(value);
    }
}

void clsNode::SetNodeDailyMax(int value)
{
    nodeDailyMax_ = static_cast<int16_t>(value > 125 ? 125 : value < 0 ? 0 : value);
}

void clsNode::SetNodeGridRow(int value)
{
    if (FitsInteger(value)) {
        nodeGridRow_ = static_cast<int16_t>(value);
    }
}

// --- device slots -------------------------------------------------------------

void clsNode::SetDeviceType(int i, DeviceTypeCode value)
{
    if (IsDeviceSlot(i)) {
        slots_[static_cast<std::size_t>(i)].type = value;
    }
}

DeviceTypeCode clsNode::DeviceType(int i) const
{
    return IsDeviceSlot(i) ? slots_[static_cast<std::size_t>(i)].type : -1;
}

void clsNode::SetDeviceIdent(int i, const std::string& value)
{
    if (IsDeviceSlot(i)) {
        NormaliseIdent(value, slots_[static_cast<std::size_t>(i)].ident);
    }
}

std::string clsNode::DeviceIdent(int i) const
{
    return IsDeviceSlot(i) ? slots_[static_cast<std::size_t>(i)].ident : std::string();
}

void clsNode::SetDeviceLoop(int i, int value)
{
    if (IsDeviceSlot(i) && (value == -1 || (value >= 1 && value <= 4))) {
        slots_[static_cast<std::size_t>(i)].loop = static_cast<int16_t>(value);
    }
}

int16_t clsNode::DeviceLoop(int i) const
{
    return IsDeviceSlot(i) ? slots_[static_cast<std::size_t>(i)].loop : int16_t{0};
}

void clsNode::SetDeviceAddress(int i, int value)
{
    if (IsDeviceSlot(i) && (value == -1 || (value >= 1 && value <= 254))) {
        slots_[static_cast<std::size_t>(i)].address = static_cast<int16_t>(value);
    }
}

int16_t clsNode::DeviceAddress(int i) const
{
    return IsDeviceSlot(i) ? slots_[static_cast<std::size_t>(i)].address : int16_t{0};
}

void clsNode::SetDeviceName(int i, const std::string& value)
{
    if (IsDeviceSlot(i)) {
        slots_[static_cast<std::size_t>(i)].name = value;
    }
}

std::string clsNode::DeviceName(int i) const
{
    return IsDeviceSlot(i) ? slots_[static_cast<std::size_t>(i)].name : std::string("0");
}

int16_t clsNode::DetectorCount() const
{
    int16_t count = 0;
    for (int i = 1; i <= kLastSlot; ++i) {
        const DeviceTypeCode type = slots_[static_cast<std::size_t>(i)].type;
        if (type != 0) {
            count = static_cast<int16_t>(count + ((type >= 10 && type <= 19) ? 2 : 1));
        }
    }
    return count;
}

int16_t clsNode::DetectorCountRCC() const
{
    int16_t count = 0;
    for (int i = 1; i <= kLastSlot; ++i) {
        if (slots_[static_cast<std::size_t>(i)].type != 0) {
            ++count;
        }
    }
    return count;
}

void clsNode::SetDeviceAssigned(int i, bool value)
{
    if (IsDeviceSlot(i)) {
        slots_[static_cast<std::size_t>(i)].assigned = value;
    }
}

bool clsNode::DeviceAssigned(int i) const
{
    return IsDeviceSlot(i) && slots_[static_cast<std::size_t>(i)].assigned;
}

void clsNode::SetDeviceStatusString(int i, const std::string& value)
{
    if (IsDeviceSlot(i)) {
        slots_[static_cast<std::size_t>(i)].statusString = value;
        UpdateSingleStatus(i);
    }
}

std::string clsNode::DeviceStatusString(int i) const
{
    return IsDeviceSlot(i) ? slots_[static_cast<std::size_t>(i)].statusString : std::string();
}

std::string clsNode::DeviceStatus(int i) const
{
    return IsDeviceSlot(i) ? slots_[static_cast<std::size_t>(i)].status : std::string();
}

// --- live values and change flags of slots 0..31 ------------------------------

const clsNode::Slot& clsNode::LiveSlot(int i) const
{
    if (i < 0 || i >= kNodeCount) {
        throw std::out_of_range("slot index out of range");
    }
    return slots_[static_cast<std::size_t>(i)];
}

clsNode::Slot& clsNode::LiveSlot(int i)
{
    return const_cast<Slot&>(static_cast<const clsNode*>(this)->LiveSlot(i));
}

int16_t clsNode::DeviceSignalStrength(int i, int j) const
{
    const Slot& slot = LiveSlot(i);
    CheckReading(j);
    return slot.signalStrength[static_cast<std::size_t>(j)];
}

void clsNode::SetDeviceSignalStrength(int i, int j, int value)
{
    Slot& slot = LiveSlot(i);
    CheckReading(j);
    if (FitsInteger(value)) {
        slot.signalStrength[static_cast<std::size_t>(j)] = static_cast<int16_t>(value);
    }
}

int16_t clsNode::DeviceLinkBudget(int i, int j) const
{
    const Slot& slot = LiveSlot(i);
    CheckReading(j);
    return slot.linkBudget[static_cast<std::size_t>(j)];
}

void clsNode::SetDeviceLinkBudget(int i, int j, int value)
{
    Slot& slot = LiveSlot(i);
    CheckReading(j);
    if (FitsInteger(value)) {
        slot.linkBudget[static_cast<std::size_t>(j)] = static_cast<int16_t>(value);
    }
}

int16_t clsNode::DeviceDailyMaxSignal(int i) const
{
    return LiveSlot(i).dailyMaxSignal;
}

void clsNode::SetDeviceDailyMaxSignal(int i, int value)
{
    Slot& slot = LiveSlot(i);
    if (FitsInteger(value)) {
        slot.dailyMaxSignal = static_cast<int16_t>(value);
    }
}

bool clsNode::DeviceAdd(int i) const
{
    return LiveSlot(i).add;
}

void clsNode::SetDeviceAdd(int i, bool value)
{
    LiveSlot(i).add = value;
}

bool clsNode::DeviceDelete(int i) const
{
    return LiveSlot(i).remove;
}

void clsNode::SetDeviceDelete(int i, bool value)
{
    LiveSlot(i).remove = value;
}

bool clsNode::DeviceChange(int i) const
{
    return LiveSlot(i).change;
}

void clsNode::SetDeviceChange(int i, bool value)
{
    LiveSlot(i).change = value;
}

bool clsNode::DeviceAddressChange(int i) const
{
    return LiveSlot(i).addressChange;
}

void clsNode::SetDeviceAddressChange(int i, bool value)
{
    LiveSlot(i).addressChange = value;
}

void clsNode::SetDeviceVersion(int i, const std::string& value)
{
    LiveSlot(i).version = value;
}

const std::string& clsNode::DeviceVersion(int i) const
{
    return LiveSlot(i).version;
}

void clsNode::SetGotDeviceLiveStatus(int i, bool value)
{
    LiveSlot(i).gotLiveStatus = value;
}

bool clsNode::GotDeviceLiveStatus(int i) const
{
    return LiveSlot(i).gotLiveStatus;
}

int16_t clsNode::DeviceGridRow(int i) const
{
    return LiveSlot(i).gridRow;
}

void clsNode::SetDeviceGridRow(int i, int value)
{
    Slot& slot = LiveSlot(i);
    if (FitsInteger(value)) {
        slot.gridRow = static_cast<int16_t>(value);
    }
}

// --- status flags -------------------------------------------------------------

const std::string* clsNode::FlagsOf(int i) const
{
    if (i < 0) {
        throw std::out_of_range("status index out of range");
    }
    return i < kNodeCount ? &slots_[static_cast<std::size_t>(i)].status : nullptr;
}

bool clsNode::AssignedState(int i) const
{
    const std::string* flags = FlagsOf(i);
    return flags != nullptr && !IsSet(*flags, 32);
}

bool clsNode::AlarmState(int i) const
{
    const std::string* flags = FlagsOf(i);
    return flags != nullptr && IsSet(*flags, 21);
}

bool clsNode::PreAlarm(int i) const
{
    const std::string* flags = FlagsOf(i);
    return flags != nullptr && IsSet(*flags, 22);
}

int clsNode::InputState(int i) const
{
    const std::string* flags = FlagsOf(i);
    if (flags == nullptr) {
        return 0;
    }
    return (IsSet(*flags, 33) ? 1 : 0) + (IsSet(*flags, 34) ? 2 : 0);
}

int clsNode::FaultStatus(int i) const
{
    const std::string* flags = FlagsOf(i);
    if (flags == nullptr) {
        return 0;
    }
    static constexpr int kPositions[] = {15, 16, 17, 18, 19, 20, 31, 32};
    int sum = 0;
    int bit = 1;
    for (const int position : kPositions) {
        sum += IsSet(*flags, position) ? bit : 0;
        bit *= 2;
    }
    return sum;
}

int clsNode::TamperState(int i) const
{
    const std::string* flags = FlagsOf(i);
    if (flags == nullptr) {
        return 0;
    }
    return (IsSet(*flags, 13) ? 13 : 0) + (IsSet(*flags, 14) ? 14 : 0);
}

int clsNode::SignalState(int i) const
{
    const std::string* flags = FlagsOf(i);
    if (flags == nullptr || IsSet(*flags, 32)) {
        return 32;
    }
    int state = 0;
    int setCount = 0;
    for (int position = 24; position <= 28; ++position) {
        if (IsSet(*flags, position)) {
            state = position;
            ++setCount;
        }
    }
    if (setCount != 1) {
        state = 0;
    }
    return state + (IsSet(*flags, 29) ? 2900 : 0) + (IsSet(*flags, 30) ? 3000 : 0);
}

int clsNode::BatteryState(int i) const
{
    const std::string* flags = FlagsOf(i);
    if (flags == nullptr) {
        return 0;
    }
    int sum = 0;
    for (int position = 1; position <= 12; ++position) {
        sum += IsSet(*flags, position) ? 1 << (position - 1) : 0;
    }
    return sum;
}

void clsNode::UpdateSingleStatus(int i)
{
    if (i < 0 || i >= kNodeCount) {
        return;
    }
    Slot& slot = slots_[static_cast<std::size_t>(i)];
    if (slot.statusString.empty()) {
        slot.status = ClearFlags();
        return;
    }
    // Flags only gather: a text never clears what an earlier text set.
    std::string flags = slot.status;
    if (slot.statusString.find("UCF") == std::string::npos) {
        slot.assigned = true;
    }
    std::string_view rest = slot.statusString;
    while (true) {
        const std::size_t blank = rest.find(' ');
        const int position = FlagPosition(rest.substr(0, blank));
        if (position != 0) {
            flags[static_cast<std::size_t>(position - 1)] = 'T';
        }
        if (blank == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(blank + 1);
    }
    slot.status = flags;
}

void clsNode::UpdateAllStatus()
{
    for (int i = 0; i < kNodeCount; ++i) {
        UpdateSingleStatus(i);
    }
}

void clsNode::ClearLiveStatusFlags()
{
    gotNodeLiveStatus_ = false;
    for (int i = 1; i <= kLastSlot; ++i) {
        slots_[static_cast<std::size_t>(i)].gotLiveStatus = false;
    }
}

void clsNode::ClearStatus()
{
    for (Slot& slot : slots_) {
        slot.status = ClearFlags();
    }
}

// --- lifecycle ----------------------------------------------------------------

void clsNode::SetReportedHop(int value)
{
    if (value >= 1 && value <= 4) {
        reportedHop_ = static_cast<int16_t>(value);
    }
}

void clsNode::ResetNodeFlags()
{
    nodeAdd_ = false;
    nodeDelete_ = false;
    nodeChange_ = false;
    addressChange_ = false;
    parentChange_ = false;
    channelChange_ = false;
    for (int i = 1; i <= kLastSlot; ++i) {
        Slot& slot = slots_[static_cast<std::size_t>(i)];
        slot.add = false;
        slot.remove = false;
        slot.change = false;
        slot.addressChange = false;
    }
}

// What a new node and InitializeNode both set.
void clsNode::ClearIdentityAndSlots()
{
    Slot& self = slots_[0];
    self.assigned = false;
    self.statusString.clear();
    self.status = ClearFlags();
    parent_ = -1;
    nodeLoop_ = -1;
    nodeAddress_ = -1;
    yChannelA_ = -1;
    yChannelB_ = -1;
    xChannelA_ = -1;
    xChannelB_ = -1;
    name_.clear();
    nodeIdent_.clear();
    for (int j = 1; j < kReadingCount; ++j) {
        nodeSignalStrength_[static_cast<std::size_t>(j)] = 0;
    }
    ResetNodeFlags();
    for (int i = 1; i <= kLastSlot; ++i) {
        children_[static_cast<std::size_t>(i)] = false;
        Slot& slot = slots_[static_cast<std::size_t>(i)];
        slot.type = 0;
        slot.ident.clear();
        slot.loop = -1;
        slot.address = -1;
        slot.assigned = false;
        slot.statusString.clear();
        slot.status = ClearFlags();
        for (int j = 1; j < kReadingCount; ++j) {
            slot.signalStrength[static_cast<std::size_t>(j)] = 0;
        }
    }
}

void clsNode::Renew(int number)
{
    *this = clsNode(); // the view binding is not assigned
    SetNodeNumber(number);
}

void clsNode::InitializeNode()
{
    width_ = kRccWidth;
    height_ = kRccHeight;
    active_ = false;
    shownAsParent_ = false;
    shownAsChild_ = false;
    inUse_ = false; // the controls are not hidden here
    ClearIdentityAndSlots();
    for (int i = 1; i <= kLastSlot; ++i) {
        slots_[static_cast<std::size_t>(i)].name.clear();
    }
}

} // namespace model
