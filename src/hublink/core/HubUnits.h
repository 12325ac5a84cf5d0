#pragma once
// The units a downloaded configuration holds, also those of a device type
// this program does not know. Such a line is read into a device slot with
// its ident, loop and address but no type; the hub still holds the unit, so
// it still answers its loop address and still holds its ident. Compare
// Config, the change list and the deletes therefore treat it as a unit the
// site does not have, unless the site holds it as it stands: a site read
// from the hub keeps it as a slot without a type, on the same ident, loop
// and address, and nothing else of the site takes that address or ident.
#include "model/SiteState.h"
#include "model/clsNode.h"

#include <array>
#include <map>
#include <string>

namespace hublink {

// The downloaded slot holds a unit: a device type, or the ident, loop or
// address of a line whose type word is unknown.
bool HoldsUnit(const model::clsNode& node, int slot);
// ... a unit whose type word is unknown.
bool HoldsUnknownUnit(const model::clsNode& node, int slot);
// The name of the held unit's type: "Device of Unknown Type" for such a
// unit, else the type's name.
std::string HeldTypeName(const model::clsNode& node, int slot);

// The loop addresses and idents that programming gives the units of the
// site: its nodes in use and the slots with a device type of its RCCs in
// use, a combination head on two addresses; and apart from them those its
// slots without a type keep. Idents are counted without regard to case.
class SiteUnits
{
public:
    explicit SiteUnits(const model::NodeArray& nodes);
    bool AddressTaken(int loop, int address) const;
    int IdentCount(const std::string& ident) const;
    // Slots without a type that keep the address, the ident.
    int KeptAt(int loop, int address) const;
    int KeptIdentCount(const std::string& ident) const;

private:
    OwnerTable owners_;
    std::array<std::array<int, kOwnerAddresses>, kOwnerLoops> kept_{};
    std::map<std::string, int> idents_, keptIdents_;
};

// Idents as a hub may match them: without regard to case.
std::string IdentKey(const std::string& ident);

// The unit of unknown type in slot s of downloaded RCC n stays in the hub:
// the site holds the RCC with the hub's ident, and in slot s no type and
// the unit's ident, loop and address, which no other unit or slot of the
// site takes.
bool SiteKeepsUnknownUnit(const model::NodeArray& Nodes, const model::NodeArray& HubNodes, int n, int s,
                          const SiteUnits& site);

} // namespace hublink
