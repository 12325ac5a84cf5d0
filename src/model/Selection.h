#pragma once
// The node selection shared by the canvas and the editors. `ActiveNode`
// (SiteState.h) is the node the user works on; a left click or a selection
// from code also moves `SelectedNode` into `PreviousSelectedNode`, which
// tells the editors which node their pending edits belong to.
#include <cstdint>

extern int16_t SelectedNode;         // -1 none
extern int16_t PreviousSelectedNode; // -1 none

// Both back to -1.
void ResetSelection();
