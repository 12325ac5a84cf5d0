#pragma once
// Whether an ident typed for a device slot is already used: by another slot
// of the node the window shows (tested in the window's own slot tables), or
// by any other unit of the site (Nodes, passing over the node shown, whose
// stored slots the window's tables replace). The answer is the message text
// to show, empty when the ident is free.
#include "editors/core/DeviceSlots.h"

#include <string>

namespace editors {

// The two checks word a clash differently: while typing the other device is
// named by its loop address ("Device at L2/017", " on RCC3"); when the
// fields are committed by its slot ("Device 17", " on RCC 3").
enum class ClashWording { WhileTyping, OnCommit };

std::string DeviceIdentClash(const DeviceSlots& slots, int selectedSlot, const std::string& ident,
                             ClashWording wording);

// The ident field's text made an ident: upper case, "0" in front to five
// characters (an empty text stays empty).
std::string PaddedIdent(std::string text);

} // namespace editors
