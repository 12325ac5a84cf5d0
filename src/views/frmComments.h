#pragma once
// STAND-IN for the Comments window: only showing and closing, so the main window
// has something to open. The real window replaces this class.
#include "platform/FormInstance.h"

#include <QWidget>

class frmComments : public QWidget, public platform::FormInstance<frmComments>
{
    Q_OBJECT
public:
    frmComments();
};
