#pragma once
// One node of a site: node 0 is the Radio Hub (or the RLM of a loop-interface
// site), nodes 1..31 are the RCCs. A node holds its identity, loop position,
// place in the radio tree, channel indices, 31 device slots, canvas geometry,
// live diagnostic values, status flags and change flags.
//
// Naming: every property is a getter named as the property (NodeIdent()) and
// a setter with "Set" in front (SetNodeIdent(...)). Setters never fail: a
// value outside the property's range is dropped and the old value stays; an
// Integer property also drops a value that does not fit 16 bits. Slot
// properties with a slot outside 1..31 do nothing when set and give their
// neutral value when read. The live and change values of slots 0..31 and the
// reading indices 0..4 throw std::out_of_range for an index outside them.
//
// Drawing: a NodeView may be bound (non-owning); "the shape is bound" means
// a view is bound. The node keeps and computes its own geometry whether or not
// a view is bound, and tells the view about moves, hiding and highlighting.
// A copied node starts without a view; assigning one node to another keeps
// the target's view, so the canvas bindings survive a site being copied in.
#include "model/DeviceTypes.h"

#include <array>
#include <cstdint>
#include <string>

namespace model {

class clsNode;
class NodeView;

inline constexpr int kNodeCount = 32;   // node indices 0..31
inline constexpr int kLastSlot = 31;    // device slots 1..31
inline constexpr int kReadingCount = 5; // reading indices 0..4 (1..4 used)
inline constexpr int kStatusFlagCount = 34;

// The site array a node belongs to (Nodes or HubNodes).
using NodeArray = std::array<clsNode, kNodeCount>;

class clsNode
{
public:
    clsNode();
    clsNode(const clsNode& other);
    clsNode& operator=(const clsNode& other);
    ~clsNode() = default;

    // --- drawing seam -------------------------------------------------------
    void BindView(NodeView* view) { view_ = view; }
    void UnbindView() { view_ = nullptr; }
    NodeView* View() const { return view_; }
    bool IsViewBound() const { return view_ != nullptr; }

    // Highlight state; each operation reports the border colour it calls for
    // to a bound view. Activate and DeActivate override a parent or child
    // colour without touching those flags; the two "Not" operations restore
    // the colour the remaining flags call for.
    void Activate();
    void DeActivate();
    void ShowAsParent();
    void NotAsParent();
    void ShowAsChild();
    void NotAsChild();
    bool IsActive() const { return active_; }
    bool IsShownAsParent() const { return shownAsParent_; }
    bool IsShownAsChild() const { return shownAsChild_; }
    void Hide();
    void Show();

    // --- radio tree ---------------------------------------------------------
    // Result of the last ScanForChildren for i = 0..31, False for 32..64;
    // std::out_of_range for any other i.
    bool GetChild(int i) const;
    // True when nodes[i]'s Parent is this node's NodeNumber.
    bool IsParentOf(int i, const NodeArray& nodes) const;
    // Marks every node of which this node is an ancestor within 10 levels.
    void ScanForChildren(const NodeArray& nodes);
    // True when node target is an ancestor of this node within depth levels.
    bool IsInPath(int target, const NodeArray& nodes, int depth) const;
    // True when node i is an ancestor or a descendant of this node.
    bool IsRelated(int i, const NodeArray& nodes);
    // Hops from this node to the hub; -1 for a broken, looping or too long
    // parent chain. Callers pass depth 10.
    int16_t Hop(const NodeArray& nodes, int depth) const;

    // --- geometry (twips) ---------------------------------------------------
    void SetLeft(int32_t value);
    int32_t Left() const { return left_; }
    void SetTop(int32_t value);
    int32_t Top() const { return top_; }
    int16_t Width() const { return width_; }
    int16_t Height() const { return height_; }
    int32_t CentreX() const { return centreX_; }
    int32_t CentreY() const { return centreY_; }
    // Top + Height, in 32 bits.
    int32_t Bottom() const;

    // --- identity and position ----------------------------------------------
    // Assigning False hides the node's controls when a view is bound.
    void SetInUse(bool value);
    bool InUse() const { return inUse_; }
    void SetAssigned(bool value) { slots_[0].assigned = value; }
    bool Assigned() const { return slots_[0].assigned; }

    // Channel indices: 1..42 or -1.
    void SetY_ChannelA(int value);
    int16_t Y_ChannelA() const { return yChannelA_; }
    void SetY_ChannelB(int value);
    int16_t Y_ChannelB() const { return yChannelB_; }
    void SetX_ChannelA(int value);
    int16_t X_ChannelA() const { return xChannelA_; }
    void SetX_ChannelB(int value);
    int16_t X_ChannelB() const { return xChannelB_; }

    // 0..31. Whether accepted or not, the size is set again from the current
    // number (hub 870 x 525, anything else 450 x 420) and the centre follows.
    void SetNodeNumber(int value);
    int16_t NodeNumber() const { return nodeNumber_; }
    void SetName(const std::string& value) { name_ = value; }
    const std::string& Name() const { return name_; }
    // -1..31: -1 none, 0 the hub.
    void SetParent(int value);
    int16_t Parent() const { return parent_; }
    // -1..4.
    void SetNodeLoop(int value);
    int16_t NodeLoop() const { return nodeLoop_; }
    // -1..255.
    void SetNodeAddress(int value);
    int16_t NodeAddress() const { return nodeAddress_; }
    // Stores the unit's status text and decodes it into NodeStatus at once.
    void SetNodeStatusString(const std::string& value);
    const std::string& NodeStatusString() const { return slots_[0].statusString; }
    const std::string& NodeStatus() const { return slots_[0].status; }

    // Upper-cased; dropped unless every character is 0-9 or A-F; cut to 5
    // characters; a shorter non-empty ident is padded with leading "0"; the
    // empty text clears the ident.
    void SetNodeIdent(const std::string& value);
    std::string NodeIdent() const { return nodeIdent_.substr(0, 5); }

    // --- live values and change flags of the node ---------------------------
    int16_t NodeSignalStrength(int i) const;
    void SetNodeSignalStrength(int i, int value);
    int16_t NodeLinkBudget(int i) const;
    void SetNodeLinkBudget(int i, int value);
    // Clamped to 0..125.
    int16_t NodeDailyMax() const { return nodeDailyMax_; }
    void SetNodeDailyMax(int value);
    bool NodeAdd() const { return nodeAdd_; }
    void SetNodeAdd(bool value) { nodeAdd_ = value; }
    bool NodeDelete() const { return nodeDelete_; }
    void SetNodeDelete(bool value) { nodeDelete_ = value; }
    bool NodeChange() const { return nodeChange_; }
    void SetNodeChange(bool value) { nodeChange_ = value; }
    void SetAddressChange(bool value) { addressChange_ = value; }
    bool AddressChange() const { return addressChange_; }
    void SetParentChange(bool value) { parentChange_ = value; }
    bool ParentChange() const { return parentChange_; }
    void SetChannelChange(bool value) { channelChange_ = value; }
    bool ChannelChange() const { return channelChange_; }
    const std::string& NodeVersion() const { return nodeVersion_; }
    void SetNodeVersion(const std::string& value) { nodeVersion_ = value; }
    bool GotNodeLiveStatus() const { return gotNodeLiveStatus_; }
    void SetGotNodeLiveStatus(bool value) { gotNodeLiveStatus_ = value; }
    int16_t NodeGridRow() const { return nodeGridRow_; }
    void SetNodeGridRow(int value);

    // --- device slots 1..31 -------------------------------------------------
    void SetDeviceType(int i, DeviceTypeCode value);
    DeviceTypeCode DeviceType(int i) const; // -1 outside 1..31
    void SetDeviceIdent(int i, const std::string& value);
    std::string DeviceIdent(int i) const;    // empty outside 1..31
    void SetDeviceLoop(int i, int value);    // 1..4 or -1
    int16_t DeviceLoop(int i) const;         // 0 outside 1..31
    void SetDeviceAddress(int i, int value); // 1..254 or -1
    int16_t DeviceAddress(int i) const;      // 0 outside 1..31
    void SetDeviceName(int i, const std::string& value);
    std::string DeviceName(int i) const; // "0" outside 1..31

    // Loop addresses the devices take: 1 per device, 2 for types 10..19.
    int16_t DetectorCount() const;
    // Occupied slots.
    int16_t DetectorCountRCC() const;

    void SetDeviceAssigned(int i, bool value);
    bool DeviceAssigned(int i) const; // False outside 1..31
    // Stores the slot's status text and decodes it at once.
    void SetDeviceStatusString(int i, const std::string& value);
    std::string DeviceStatusString(int i) const; // empty outside 1..31
    std::string DeviceStatus(int i) const;       // empty outside 1..31

    // --- live values and change flags of slots 0..31 ------------------------
    int16_t DeviceSignalStrength(int i, int j) const;
    void SetDeviceSignalStrength(int i, int j, int value);
    int16_t DeviceLinkBudget(int i, int j) const;
    void SetDeviceLinkBudget(int i, int j, int value);
    int16_t DeviceDailyMaxSignal(int i) const;
    void SetDeviceDailyMaxSignal(int i, int value);
    bool DeviceAdd(int i) const;
    void SetDeviceAdd(int i, bool value);
    bool DeviceDelete(int i) const;
    void SetDeviceDelete(int i, bool value);
    bool DeviceChange(int i) const;
    void SetDeviceChange(int i, bool value);
    bool DeviceAddressChange(int i) const;
    void SetDeviceAddressChange(int i, bool value);
    void SetDeviceVersion(int i, const std::string& value);
    const std::string& DeviceVersion(int i) const;
    void SetGotDeviceLiveStatus(int i, bool value);
    bool GotDeviceLiveStatus(int i) const;
    int16_t DeviceGridRow(int i) const;
    void SetDeviceGridRow(int i, int value);

    // --- status flags (index 0 the node, 1..31 its slots) -------------------
    // A negative index throws std::out_of_range; an index above 31 gives the
    // neutral result named with each accessor.
    bool AssignedState(int i) const; // True unless reported not assigned; False above 31
    bool AlarmState(int i) const;    // False above 31
    bool PreAlarm(int i) const;      // False above 31
    int InputState(int i) const;     // 1 input 1, 2 input 2; 0 above 31
    int FaultStatus(int i) const;    // fault bit sum; 0 above 31
    int TamperState(int i) const;    // 13, 14 or 27; 0 above 31
    int SignalState(int i) const;    // 24..28 + 2900 background + 3000 radio fault; 32 above 31
    int BatteryState(int i) const;   // battery bit sum 0..4095; 0 above 31
    // Decodes the status text of index i into its flags; nothing outside 0..31.
    void UpdateSingleStatus(int i);
    void UpdateAllStatus();
    void ClearLiveStatusFlags();
    // Flags of the node and slots 1..31 back to all "F"; the texts stay.
    void ClearStatus();

    int16_t ReportedHop() const { return reportedHop_; }
    void SetReportedHop(int value); // 1..4

    // Clears the node's change flags and those of slots 1..31.
    void ResetNodeFlags();
    // Empties the node for reuse by another site; keeps NodeNumber, Left, Top,
    // the centre and the view, and leaves the live values (version, grid row,
    // link budgets, daily maxima, reported hop) as they are. Takes the RCC
    // size even for node 0: a caller reusing node 0 sets NodeNumber again.
    void InitializeNode();
    // Makes the node what a node built anew and numbered number is: the size
    // the number gives, no live values, flags or highlight, not in use. Keeps
    // the view only; the caller places the node.
    void Renew(int number);

private:
    struct Slot
    {
        DeviceTypeCode type = 0;
        std::string ident;
        int16_t loop = -1;
        int16_t address = -1;
        std::string name;
        bool assigned = false;
        std::string statusString;
        std::string status;
        std::array<int16_t, kReadingCount> signalStrength{};
        std::array<int16_t, kReadingCount> linkBudget{};
        int16_t dailyMaxSignal = 0;
        std::string version;
        bool gotLiveStatus = false;
        int16_t gridRow = 0;
        bool add = false;
        bool remove = false;
        bool change = false;
        bool addressChange = false;
    };

    // A view pointer that a copy does not take over.
    class ViewBinding
    {
    public:
        ViewBinding() = default;
        ViewBinding(const ViewBinding&) {}
        ViewBinding& operator=(const ViewBinding&) { return *this; }
        ViewBinding& operator=(NodeView* view)
        {
            view_ = view;
            return *this;
        }
        operator NodeView*() const { return view_; }

    private:
        NodeView* view_ = nullptr;
    };

    void SetSizeFromNumber();
    void RecomputeCentre();
    void ClearIdentityAndSlots();
    void ReportBorder(uint32_t colour) const;
    static bool IsDeviceSlot(int i) { return i >= 1 && i <= kLastSlot; }
    const Slot& LiveSlot(int i) const;
    Slot& LiveSlot(int i);
    const std::string* FlagsOf(int i) const;

    ViewBinding view_;
    bool active_ = false;
    bool shownAsParent_ = false;
    bool shownAsChild_ = false;

    int16_t nodeNumber_ = -1;
    std::string name_;
    std::string nodeIdent_;
    int16_t nodeLoop_ = -1;
    int16_t nodeAddress_ = -1;
    int16_t parent_ = -1;
    int16_t yChannelA_ = -1;
    int16_t yChannelB_ = -1;
    int16_t xChannelA_ = -1;
    int16_t xChannelB_ = -1;
    bool inUse_ = false;

    int32_t left_ = 0;
    int32_t top_ = 0;
    int16_t width_ = 450;
    int16_t height_ = 420;
    int32_t centreX_ = 0;
    int32_t centreY_ = 0;

    std::string nodeVersion_;
    bool gotNodeLiveStatus_ = false;
    int16_t nodeGridRow_ = 0;
    std::array<int16_t, kReadingCount> nodeSignalStrength_{};
    std::array<int16_t, kReadingCount> nodeLinkBudget_{};
    int16_t nodeDailyMax_ = 0;
    int16_t reportedHop_ = 0;
    bool nodeAdd_ = false;
    bool nodeDelete_ = false;
    bool nodeChange_ = false;
    bool addressChange_ = false;
    bool parentChange_ = false;
    bool channelChange_ = false;

    std::array<bool, 65> children_{};
    // Index 0 holds the node's own status text, flags and Assigned; 1..31 the
    // device slots. Live and change values of slot 0 are those of DeviceXxx(0).
    std::array<Slot, kNodeCount> slots_;
};

} // namespace model
