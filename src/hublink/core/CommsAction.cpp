#include "hublink/core/CommsAction.h"

int32_t CommsAction = 0;

void ResetCommsAction()
{
    CommsAction = 0;
}
