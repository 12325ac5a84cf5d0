#include "editors/CloseQuestion.h"

#include "platform/ProgramMessage.h"
#include "platform/base/MessageStyle.h"

namespace editors {

bool SettlePendingEdits(QWidget* owner, const std::string& title, bool cancellable, bool& changed,
                        const std::function<void()>& apply, const std::function<void()>& drop)
{
    if (!changed)
        return true;
    const int32_t buttons = cancellable ? MessageStyle::YesNoCancel : MessageStyle::YesNo;
    const int32_t answer = platform::ShowProgramMessage(
        owner, "Changes Have Been Made, Do You Want To Save Them?", MessageStyle::Question | buttons, title);
    if (cancellable && answer != MessageResult::Yes && answer != MessageResult::No)
        return false;
    if (answer == MessageResult::Yes)
        apply();
    else
        drop();
    changed = false;
    return true;
}

} // namespace editors
