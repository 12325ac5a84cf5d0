#include "editors/EditorsHost.h"

EditorsHost& Editors()
{
    static EditorsHost host;
    return host;
}
