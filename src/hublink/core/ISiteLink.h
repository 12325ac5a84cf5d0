#pragma once
// The site data that the link reads and writes: node idents for the ident
// check and the assigned flags that assignment results set.
#include <cstdint>
#include <string>

namespace hublink {

class ISiteLink
{
public:
    virtual ~ISiteLink() = default;
    // NodeIdent of node 0..31 of the site.
    virtual std::string NodeIdent(int node) const = 0;
    // Owner code (node x 100 + slot) of the first unit with the ident, or -1.
    virtual int32_t FindNodeByIdent(const std::string& ident) = 0;
    // Slot 0 sets the node's Assigned flag, 1..31 the slot's DeviceAssigned.
    virtual void SetAssigned(int node, int slot, bool assigned) = 0;
};

} // namespace hublink
