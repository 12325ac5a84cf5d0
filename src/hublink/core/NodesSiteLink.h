#pragma once
// The link's view of the site being edited (model::Nodes).
#include "hublink/core/ISiteLink.h"

namespace hublink {

class NodesSiteLink : public ISiteLink
{
public:
    // "" for a node outside 0..31.
    std::string NodeIdent(int node) const override;
    // The first in-use unit with the ident, in the order of the site's ident
    // search (node 0 itself, then each RCC before its slots); "X" is an
    // ident like any other, not a continuation.
    int32_t FindNodeByIdent(const std::string& ident) override;
    // A node outside 0..31 is ignored.
    void SetAssigned(int node, int slot, bool assigned) override;
};

} // namespace hublink
