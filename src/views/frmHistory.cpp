#include "views/frmHistory.h"

frmHistory::frmHistory()
{
    setObjectName("frmHistory");
    setWindowTitle("History");
}
