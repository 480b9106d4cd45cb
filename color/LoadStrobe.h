#pragma once

#include "PLControl.h"

// The load strobe of the table blocks (3D LUTs, gamma): bit 4 of the block's
// control register high, 5000 us, then low again. The logic latches the
// block's memory region on it.
void loadStrobe(PLControl &pl, FunctionTypeIndex identifier);
