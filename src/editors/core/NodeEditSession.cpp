#include "editors/core/NodeEditSession.h"

#include "editors/core/NodeSettingsRules.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

namespace editors {

namespace {

bool IsSet(int loop, int address)
{
    return loop != -1 && address != -1;
}

model::clsNode* NodeAt(int node)
{
    if (node < 0 || node >= model::kNodeCount)
        return nullptr;
    return &model::Nodes[static_cast<std::size_t>(node)];
}

} // namespace

void NodeEditSession::Load(int node)
{
    node_ = NodeAt(node) != nullptr ? node : -1;
    StoreSaved();
}

void NodeEditSession::StoreSaved()
{
    const model::clsNode* node = NodePtr();
    if (node == nullptr) {
        saved_ = {};
        savedCellOwner_ = -1;
        return;
    }
    saved_ = {node->NodeLoop(),   node->NodeAddress(), node->Parent(),    node->Y_ChannelA(), node->Y_ChannelB(),
              node->X_ChannelA(), node->X_ChannelB(),  node->NodeIdent(), node->Name()};
    savedCellOwner_ = GetOwner(LoopAddressOwner, saved_.loop, saved_.address);
}

model::clsNode* NodeEditSession::NodePtr() const
{
    // A node taken out of the site meanwhile (an RCC deleted on the canvas)
    // is neither written nor given owner cells.
    model::clsNode* node = NodeAt(node_);
    return node != nullptr && node->InUse() ? node : nullptr;
}

bool NodeEditSession::IsHub() const
{
    return node_ == 0 && !IsLoopInterface;
}

bool NodeEditSession::ChooseLoop(int loop)
{
    model::clsNode* node = NodePtr();
    if (node == nullptr || loop == node->NodeLoop())
        return false;
    node->SetNodeLoop(loop);
    node->SetNodeAddress(-1);
    return true;
}

bool NodeEditSession::ChooseAddress(int loop, int address)
{
    model::clsNode* node = NodePtr();
    if (node == nullptr || address == node->NodeAddress())
        return false;
    if (loop != -1) {
        if (IsSet(node->NodeLoop(), node->NodeAddress()))
            SetOwner(LoopAddressOwner, node->NodeLoop(), node->NodeAddress(), -1);
        SetOwner(LoopAddressOwner, loop, address, SelfCode());
        node->SetNodeLoop(loop);
    }
    node->SetNodeAddress(address);
    return true;
}

bool NodeEditSession::ChooseParent(int parent)
{
    model::clsNode* node = NodePtr();
    if (node == nullptr || parent == node->Parent())
        return false;
    MoveParentHighlight(*node, parent);
    node->SetParent(parent);
    return true;
}

void NodeEditSession::MoveParentHighlight(const model::clsNode& node, int parent)
{
    if (model::clsNode* old = NodeAt(node.Parent()))
        old->NotAsParent();
    if (model::clsNode* chosen = NodeAt(parent))
        chosen->ShowAsParent();
}

void NodeEditSession::Restore()
{
    model::clsNode* node = NodePtr();
    if (node == nullptr)
        return;
    const int loop = node->NodeLoop();
    const int address = node->NodeAddress();
    const bool moved = loop != saved_.loop || address != saved_.address;
    if (moved && IsSet(loop, address) && GetOwner(LoopAddressOwner, loop, address) == SelfCode())
        SetOwner(LoopAddressOwner, loop, address, -1);
    if (IsSet(saved_.loop, saved_.address))
        SetOwner(LoopAddressOwner, saved_.loop, saved_.address, savedCellOwner_);
    if (node->Parent() != saved_.parent)
        MoveParentHighlight(*node, saved_.parent);
    node->SetNodeLoop(saved_.loop);
    node->SetNodeAddress(saved_.address);
    node->SetParent(saved_.parent);
    node->SetY_ChannelA(saved_.yChannelA);
    node->SetY_ChannelB(saved_.yChannelB);
    node->SetX_ChannelA(saved_.xChannelA);
    node->SetX_ChannelB(saved_.xChannelB);
    node->SetNodeIdent(saved_.ident);
    node->SetName(saved_.name);
}

ApplyResult NodeEditSession::Apply(const NodeEdits& edits)
{
    ApplyResult result;
    model::clsNode* node = NodePtr();
    if (node == nullptr)
        return result;

    // Another holder of the node's loop address keeps it; the node must be
    // given a new one.
    if (IsSet(node->NodeLoop(), node->NodeAddress())) {
        int holder = model::FindByLoopAddress(node->NodeLoop(), node->NodeAddress());
        while (holder == SelfCode())
            holder = model::FindByLoopAddress(-1, -1);
        if (holder != -1) {
            SetOwner(LoopAddressOwner, node->NodeLoop(), node->NodeAddress(), static_cast<int16_t>(holder));
            node->SetNodeLoop(-1);
            node->SetNodeAddress(-1);
            result.duplicateOwner = holder;
            result.changed = true;
        }
    }
    // The cell held at load time is released only while the node holds it.
    if (IsSet(saved_.loop, saved_.address) &&
        GetOwner(LoopAddressOwner, saved_.loop, saved_.address) == SelfCode())
        SetOwner(LoopAddressOwner, saved_.loop, saved_.address, -1);
    if (IsSet(node->NodeLoop(), node->NodeAddress()))
        SetOwner(LoopAddressOwner, node->NodeLoop(), node->NodeAddress(), SelfCode());

    if (model::clsNode* parent = NodeAt(node->Parent()))
        parent->NotAsParent();
    const int parent = IsHub() ? -1 : edits.parent.value_or(node->Parent());
    if (node_ != 0 && parent != node->Parent())
        result.changed = true;
    node->SetParent(parent);
    node->SetName(edits.name);
    node->ScanForChildren(model::Nodes);
    if (edits.ident != node->NodeIdent()) {
        node->SetNodeIdent(edits.ident);
        result.changed = true;
    }

    using model::clsNode;
    auto write = [&](int16_t (clsNode::*get)() const, void (clsNode::*set)(int), std::optional<int> value) {
        if (value && *value != (node->*get)()) {
            (node->*set)(*value);
            result.changed = true;
        }
    };
    if (IsHub()) {
        write(&clsNode::Y_ChannelA, &clsNode::SetY_ChannelA, edits.channelA);
        write(&clsNode::Y_ChannelB, &clsNode::SetY_ChannelB, edits.channelB);
        if (edits.loopCount >= 1 && edits.loopCount <= 4)
            LoopCount = static_cast<int16_t>(edits.loopCount);
        if (edits.protocol >= 1 && edits.protocol <= 3)
            LoopProtocol = static_cast<int16_t>(edits.protocol);
        MaxLoopAddress = MaxLoopAddressFor(LoopProtocol);
    } else {
        write(&clsNode::X_ChannelA, &clsNode::SetX_ChannelA, edits.channelA);
        write(&clsNode::X_ChannelB, &clsNode::SetX_ChannelB, edits.channelB);
    }
    StoreSaved();
    return result;
}

void ShowRelatives(int node)
{
    const model::clsNode* shown = NodeAt(node);
    if (shown == nullptr)
        return;
    for (int i = 1; i < model::kNodeCount; ++i) {
        if (shown->GetChild(i))
            model::Nodes[static_cast<std::size_t>(i)].ShowAsChild();
        else
            model::Nodes[static_cast<std::size_t>(i)].NotAsChild();
    }
    if (model::clsNode* parent = NodeAt(shown->Parent()))
        parent->ShowAsParent();
}

void HideRelatives(int node)
{
    for (auto& each : model::Nodes)
        each.NotAsChild();
    const model::clsNode* shown = NodeAt(node);
    if (shown == nullptr)
        return;
    if (model::clsNode* parent = NodeAt(shown->Parent()))
        parent->NotAsParent();
}

} // namespace editors
