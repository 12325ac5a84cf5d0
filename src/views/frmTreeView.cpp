#include "views/frmTreeView.h"

frmTreeView::frmTreeView()
{
    setObjectName("frmTreeView");
    setWindowTitle("Tree View");
}
