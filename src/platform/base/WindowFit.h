#pragma once
// Where a window with a stored rectangle opens: on a screen, with its title
// bar on it, and no larger than the screen's free area.
namespace platform {

// One axis (across, then down) of a window stored at `place` with `extent`
// (twips, frame included), changed to what is shown. The extent is the
// stored one, at least the window's minimum and at most the free area's (the
// screen less its panels); a minimum larger than the free area wins. The
// place first follows the desktop rule: a window running past the desktop's
// far edge is put 300 twips inside it. It is then moved just enough to lie
// within the free area; a window larger than the free area keeps its near
// edge on the free area's, so its title bar and menus are on the screen.
void FitOnScreen(long& place, long& extent, long minimum, long desktopExtent, long freeStart,
                 long freeExtent);

} // namespace platform
