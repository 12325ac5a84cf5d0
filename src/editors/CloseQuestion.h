#pragma once
// The editors' close question: the pending edits of a window that closes
// are offered ("Do You Want To Save Them?"), Yes to apply them, No to drop
// them; before the program ends the question offers Cancel besides, which
// keeps the window and its edits and stops the exit.
#include <functional>
#include <string>

class QWidget;

namespace editors {

// While changed, asks the close question titled title: apply runs on Yes,
// drop on any other answer, and changed is cleared. With cancellable the
// question offers Cancel too: anything but Yes or No (Cancel, the box closed
// or refused) returns false and leaves the edits pending.
bool SettlePendingEdits(QWidget* owner, const std::string& title, bool cancellable, bool& changed,
                        const std::function<void()>& apply, const std::function<void()>& drop);

} // namespace editors
