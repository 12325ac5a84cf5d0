#include "views/frmGrid.h"

frmGrid::frmGrid()
{
    setObjectName("frmGrid");
    setWindowTitle("Grid View");
}
