#include "editors/EditorsHost.h"

namespace {
EditorsHost* registered = nullptr;
}

EditorsHost* Editors()
{
    return registered;
}

void SetEditorsHost(EditorsHost* host)
{
    registered = host;
}
