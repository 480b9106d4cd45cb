#pragma once

#include "PLControl.h"

#include <cstdint>

// One colour matrix in the register form of the logic's matrix blocks: three
// offsets (4 fraction bits, 16 is one 10-bit code value) added to the output
// components, then the coefficients row by row (12 fraction bits, 4096 is 1.0);
// a row is an output component, a column an input component. Every word is a
// signed 16-bit value.
struct CscMatrix {
    int16_t offset[3] = {0, 0, 0};
    int16_t coefficient[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};

    // value x 4096 and value x 16, truncated toward zero.
    static int16_t toCoefficient(float value);
    static int16_t toOffset(float value);

    // Writes the record into the shared staging registers CSC_MATRIX_VAL0 to
    // VAL5, two words a register (first word in bits 0-15, second in 16-31),
    // each register read, modified and written back, VAL0 first. A block takes
    // the staged record on its load strobe.
    void stage(PLControl &pl) const;
};
