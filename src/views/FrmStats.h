#pragma once
// STAND-IN for the Configuration Statistics window: only showing and closing, so the main window
// has something to open. The real window replaces this class.
#include "platform/FormInstance.h"

#include <QWidget>

class FrmStats : public QWidget, public platform::FormInstance<FrmStats>
{
    Q_OBJECT
public:
    FrmStats();
};
