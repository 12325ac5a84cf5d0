#pragma once
// STAND-IN for the Tree View window: only showing and closing, so the main window
// has something to open. The real window replaces this class.
#include "platform/FormInstance.h"

#include <QWidget>

class frmTreeView : public QWidget, public platform::FormInstance<frmTreeView>
{
    Q_OBJECT
public:
    frmTreeView();
};
