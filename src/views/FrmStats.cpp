#include "views/FrmStats.h"

FrmStats::FrmStats()
{
    setObjectName("FrmStats");
    setWindowTitle("Configuration Statistics");
}
