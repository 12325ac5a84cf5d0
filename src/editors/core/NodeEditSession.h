#pragma once
// The node the properties window is editing, with the values it had when the
// window loaded it (or last applied it), so that an edit can be applied to it
// or put back into it whatever node is active meanwhile. Loop, address and
// parent go into the node as soon as they are chosen, keeping the site's
// loop-address owner map in step; the other fields wait for Apply. A node
// no longer in use is left alone.
#include "model/SiteState.h"
#include "model/clsNode.h"

#include <optional>
#include <string>

namespace editors {

// The node's values as the window loaded them.
struct SavedNodeValues
{
    int loop = -1;
    int address = -1;
    int parent = -1;
    int yChannelA = -1;
    int yChannelB = -1;
    int xChannelA = -1;
    int xChannelB = -1;
    std::string ident;
    std::string name;
};

// What the window holds for Apply. A channel, loop count or protocol of -1
// is a list without a selection; a parent without a value keeps the node's,
// and so does a channel without a value (a list the user did not touch,
// which cannot show every stored channel).
struct NodeEdits
{
    std::optional<int> parent;
    std::string name;
    std::string ident;
    std::optional<int> channelA;
    std::optional<int> channelB;
    int loopCount = -1;
    int protocol = -1;
};

struct ApplyResult
{
    bool changed = false;
    // Owner code of another holder of the node's loop address, -1 for none;
    // the node's loop and address were cleared for it.
    int duplicateOwner = -1;
};

class NodeEditSession
{
public:
    // Starts editing node (-1 none) from its present values.
    void Load(int node);
    int Node() const { return node_; }
    const SavedNodeValues& Saved() const { return saved_; }
    // The hub of a hub site (its Y pair is edited), as opposed to an RCC or
    // the RLM (their X pair).
    bool IsHub() const;

    // A loop chosen in the list: the node's address is cleared. True when the
    // loop differs from the node's.
    bool ChooseLoop(int loop);
    // An address chosen on the listed loop (-1 when no loop is listed): the
    // owner map moves with the node. True when it differs from the node's.
    bool ChooseAddress(int loop, int address);
    // True when the parent differs from the node's; the parent highlight
    // moves to the new parent.
    bool ChooseParent(int parent);

    // Puts the loaded values back into the node, the owner cells and the
    // parent highlight as well: the cell the edits took is freed and the
    // loaded cell gets back the owner it had.
    void Restore();

    // Writes the held fields into the node after checking its loop address
    // against the whole site, keeps the owner map in step and makes the
    // result the new loaded values. changed tells whether the apply changed
    // the node (a loop address cleared as a duplicate included).
    ApplyResult Apply(const NodeEdits& edits);

private:
    model::clsNode* NodePtr() const;
    int16_t SelfCode() const { return static_cast<int16_t>(node_ * 100); }
    // The parent highlight goes from node's parent to parent.
    static void MoveParentHighlight(const model::clsNode& node, int parent);
    void StoreSaved();

    int node_ = -1;
    SavedNodeValues saved_;
    int16_t savedCellOwner_ = -1;
};

// The canvas highlights of node's parent (green) and descendants (magenta)
// as its last ScanForChildren found them; HideRelatives takes every child
// highlight down and node's parent highlight. Node -1 has none.
void ShowRelatives(int node);
void HideRelatives(int node);

} // namespace editors
