// Compare Config and the change list over a site file: the input up to its
// first NUL byte is opened as a site and copied into HubNodes, as a hub
// programmed with it would download; the bytes after the NUL change the hub's
// copy, three bytes a change (what, node, value). Then the address maps,
// Compare Config (for the hub and each RCC, as the first change byte picks)
// and the change list run as the communications window runs them. Neither
// may change the site: saved before and after, it gives the same bytes. For
// a site that programming takes, compared from the hub, the change list is
// empty exactly when Compare Config finds no difference.
// (The site's own address map is built before the first save.)
#include "FuzzFiles.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/ChangeList.h"
#include "hublink/core/ConfigCompare.h"
#include "model/ConfigurationCheck.h"

using namespace hublink;

using model::HubNodes;
using model::Nodes;

namespace {

// One change of the hub's copy. Values run a little past what the site
// holds, so that the setters' limits are met too.
void Change(uint8_t what, uint8_t which, uint8_t value)
{
    model::clsNode& node = HubNodes[which % model::kNodeCount];
    const int slot = value % model::kLastSlot + 1;
    const model::clsNode& other = Nodes[value % model::kNodeCount];
    switch (what % 11) {
    case 0: node.SetInUse(!node.InUse()); break;
    case 1: node.SetNodeIdent(other.NodeIdent()); break;
    case 2: node.SetNodeLoop(value % 7 - 1); break;
    case 3: node.SetNodeAddress(value); break;
    case 4: node.SetParent(value % 34 - 1); break;
    case 5: node.SetDeviceType(slot, value / 32 * 3 - 1); break;
    case 6: node.SetDeviceIdent(slot, other.DeviceIdent(which % model::kLastSlot + 1)); break;
    case 7: node.SetDeviceLoop(slot, value / 32 - 1); break;
    case 8: node.SetDeviceAddress(slot, value % 128 + (value & 1) * 127); break;
    case 9:
        node.SetX_ChannelA(value % 45 - 1);
        node.SetY_ChannelB(value / 5 - 1);
        break;
    default:
        // Emptied of its type, the slot keeps loop, address and ident; with
        // an odd what / 11 it takes the place and ident of a site device,
        // as a download line whose type word the program does not know is
        // read.
        node.SetDeviceType(slot, 0);
        if (what / 11 % 2 == 1) {
            const int from = which % model::kLastSlot + 1;
            node.SetDeviceLoop(slot, other.DeviceLoop(from));
            node.SetDeviceAddress(slot, other.DeviceAddress(from));
            node.SetDeviceIdent(slot, other.DeviceIdent(from));
        }
        break;
    }
}

void CheckOwners(const OwnerTable& table)
{
    for (int loop = 1; loop < kOwnerLoops; ++loop)
        for (int address = 1; address < kOwnerAddresses; ++address) {
            const int owner = table[loop][address];
            if (owner != -1 && (owner < 0 || owner / 100 >= model::kNodeCount || owner % 100 > model::kLastSlot))
                fuzz::Finding("an owner table holds a code that names no unit");
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string input = fuzz::FuzzFile("input.qvs");
    static const std::string before = fuzz::FuzzFile("before.qvs");
    static const std::string after = fuzz::FuzzFile("after.qvs");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t cut = std::min(bytes.find('\0'), bytes.size());
    fuzz::WriteFile(input, bytes.substr(0, cut));
    if (!fuzz::OpenSiteAfresh(input))
        return 0;
    // The site's own map first: on a loop-interface site it puts the RLM in
    // use, which is the map's to do, not the comparison's.
    BuildAddressMap();
    std::string error;
    if (!model::SaveSiteFile(before, &error))
        fuzz::Finding("a site that was opened could not be saved");
    CopyNodeArray(Nodes, HubNodes, 100);
    for (int n = 0; n < model::kNodeCount; ++n) // a download numbers its nodes by place
        HubNodes[n].SetNodeNumber(n);
    const std::string changes = cut < bytes.size() ? bytes.substr(cut + 1) : std::string();
    for (size_t k = 0; k + 2 < changes.size(); k += 3)
        Change(static_cast<uint8_t>(changes[k]), static_cast<uint8_t>(changes[k + 1]),
               static_cast<uint8_t>(changes[k + 2]));

    // A site that programming would take (the check uses the hub's owner
    // table as its scratch, so it goes first), its nodes in use numbered by
    // place as the program saves them (another number changes the hop
    // counts that Compare Config compares).
    bool numbered = true;
    for (int n = 0; n < model::kNodeCount; ++n)
        numbered = numbered && (!Nodes[n].InUse() || Nodes[n].NodeNumber() == n);
    const bool programmable = numbered && model::CheckConfiguration() == 0;
    BuildAddressMap();
    BuildHubAddressMap();
    CheckOwners(LoopAddressOwner);
    CheckOwners(HubLoopAddressOwner);
    model::MessageList.clear();
    ActiveNode = changes.empty() ? 0 : static_cast<uint8_t>(changes[0]) % 34 - 1;
    const int16_t differences = CompareHubWithConfiguration();
    if (differences != model::MessageCount())
        fuzz::Finding("Compare Config counts other lines than it lists");
    const int16_t listed = BuildChangeList();
    // The count may take repeats that the list leaves out, never fewer.
    if (listed < kChangeListChannelsFirst || (listed >= 0 && listed < model::MessageCount() - 1))
        fuzz::Finding("the change list counts fewer changes than it lists");
    // Programming says the hub matches exactly when Compare Config does.
    if (programmable && ActiveNode == 0 && (listed == 0) != (differences == 0))
        fuzz::Finding(listed == 0 ? "the change list finds nothing where Compare Config lists differences"
                                  : "the change list finds changes where Compare Config lists none");

    if (!model::SaveSiteFile(after, &error))
        fuzz::Finding("the site could not be saved after the comparison");
    if (fuzz::ReadFile(after) != fuzz::ReadFile(before))
        fuzz::Finding("the comparison changed the site");
    return 0;
}
