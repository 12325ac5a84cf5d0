#pragma once
// What the assignment and ident commands need of the communications window
// besides its link: its message box, its port reset and its Program button.
#include "hublink/core/PortSettings.h"

#include <cstdint>
#include <string>

namespace hublink {

class IAssignmentWindow
{
public:
    virtual ~IAssignmentWindow() = default;
    // The program's own message box with the window as owner: Style is icon
    // + button set (16 stop, 36 question with Yes/No, 48 exclamation, 64
    // information, each with OK unless it says otherwise); an empty Title
    // means the window's caption. Yields until a button is pressed and
    // returns its code (1 OK, 6 Yes, 7 No).
    virtual int32_t Display(const std::string& Text, int32_t Style, const std::string& Title) = 0;
    // Applies the port settings to the window's serial control and opens
    // it; Failed after an error (which it has shown).
    virtual PortStatus ResetPort() = 0;
    // Enables the window's Program button.
    virtual void EnableProgram() = 0;
};

} // namespace hublink
