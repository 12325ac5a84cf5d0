#pragma once
// The button sets of the message box and the input box: captions, default
// button, where the buttons sit, and the code each caption answers.
#include <QString>
#include <array>
#include <cstdint>

struct BoxButtonSet
{
    std::array<QString, 3> captions; // "" for a button that stays hidden
    int count = 1;                   // buttons shown, from the left
    int defaultIndex = 0;
};

// The message box's set for a style (Style And &HF07); captions carry "&".
BoxButtonSet MessageButtonSet(int32_t style);
// The input box's set (Buttons And 7); captions without "&".
BoxButtonSet ParameterButtonSet(int32_t buttons);

// The code of a caption ("&OK" or "OK" gives 1 ...); 0 for any other text.
int32_t ResultFromCaption(const QString& caption);

// What a close request from the window manager answers: Cancel, else No,
// else Abort, else OK (the only button of the OK set).
int32_t CancelLikeResult(const BoxButtonSet& set);

// The centre (twips) of button index 0..count-1 in a box of outer width W:
// one button at W / 2, two at thirds, three at quarters of W rounded to the
// nearest whole twip (halves to even).
double ButtonCentre(int index, int count, double outerWidth);

// The narrowest outer width (twips) at which `count` buttons of 915 twips,
// centred as above, keep a gap between them and from the edges. A short text
// would otherwise make the box so narrow that its buttons overlap.
double MinimumBoxWidth(int count);
