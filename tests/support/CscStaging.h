#pragma once

#include "PLModel.h"

#include <cstdint>
#include <vector>

// The seven words of the colour record staged for the next load strobe, as
// the logic reads them.
inline std::vector<uint32_t> stagedCscWords(sim::PLModel &pl)
{
    std::vector<uint32_t> words;
    for (FunctionTypeIndex r : {CSC_MATRIX_VAL0, CSC_MATRIX_VAL1, CSC_MATRIX_VAL2, CSC_MATRIX_VAL3, CSC_MATRIX_VAL4,
                                CSC_MATRIX_VAL5, CSC_MATRIX_VAL6})
        words.push_back(pl.get(r));
    return words;
}
