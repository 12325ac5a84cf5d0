#include "hublink/core/CommsAction.h"

namespace hublink {

int32_t CommsAction = 0;

void ResetCommsAction()
{
    CommsAction = 0;
}

} // namespace hublink
