#pragma once
// Adding and deleting RCCs in the site: the slot and start position a new RCC
// takes, and what a delete clears, frees and re-parents.
#include "model/SiteState.h"
#include "model/clsNode.h"

#include <string>

namespace app {

inline constexpr int32_t kRccStartPosition = 200; // twips
inline constexpr int32_t kRccStartStep = 250;     // twips

// The text shown when every RCC slot is in use.
std::string RccLimitMessage();

// Puts a new RCC into the lowest free slot 1..31 at the first start position
// not taken: from (200, 200), each in-use RCC below the free slot whose Left
// (Top) equals the current x (y) pushes x (y) 250 twips on. The RCC is
// numbered and sized as its slot, and keeps nothing an earlier site left in
// the slot. The previously active node is deactivated and the new RCC becomes
// active. Returns the new RCC's number, or -1 (nothing changed) when all 31
// slots are in use.
int AddRcc(model::NodeArray& nodes, int16_t& activeNode);

// The confirmation question for deleting RCC index: one line, and a second
// one when any of its slots holds a device.
std::string DeleteRccQuestion(const model::NodeArray& nodes, int index);

// Deletes RCC index (1..31): frees the owner cells it and its devices hold
// (both cells of a combination head), empties its identity, radio channels
// and device slots, takes it out of the site and hands its children to its
// own parent. Only cells that name this RCC or one of its slots are freed, so
// another unit sharing the address keeps its cell. Position, live values and
// status texts stay until the slot is reused.
void DeleteRcc(model::NodeArray& nodes, int index, OwnerTable& owners);

} // namespace app
