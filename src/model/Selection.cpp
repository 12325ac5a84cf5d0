#include "model/Selection.h"

int16_t SelectedNode = -1;
int16_t PreviousSelectedNode = -1;

void ResetSelection()
{
    SelectedNode = -1;
    PreviousSelectedNode = -1;
}
