#pragma once
// ResetToEmptySite() for the editors' tests.
#include "model/TestSites.h"
