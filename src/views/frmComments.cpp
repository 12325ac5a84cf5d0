#include "views/frmComments.h"

frmComments::frmComments()
{
    setObjectName("frmComments");
    setWindowTitle("Comments");
}
