#pragma once
// What the error-list window shows for a message list in each mode.
#include <string>
#include <vector>

namespace app {

// What the error-list window shows: 0 the configuration check, 2 a
// comparison with a connected unit, 3 the change list, 4 the parser's
// findings while programming, -1 while the change list is built.
extern long ErrorCheckMode;
void ResetErrorCheckMode();

struct ErrorListContent
{
    std::string text;      // heading and lines, each line ended by CR LF
    std::string emptyNote; // shown in blue when the list is empty (modes 0 and 2)
    bool beep = false;     // the list has lines
};

// lines are the message list's lines 1..count in order.
ErrorListContent BuildErrorList(long mode, const std::vector<std::string>& lines,
                                const std::string& siteFileName, int activeNode);

} // namespace app
