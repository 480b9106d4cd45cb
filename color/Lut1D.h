#pragma once

#include "Singleton.h"

#include <cstdint>

// The reader of 1D curve files: 1024 data lines of three numbers in 0-1 (red,
// green and blue output for the input code values 0 to 1023), with keyword,
// title or comment lines before them.
class Lut1D : public Singleton<Lut1D>
{
    friend class Singleton<Lut1D>;

public:
    static constexpr int tableWords = 1024;

    // Fills table with one word per input code value, R in bits 20-29, G in
    // 10-19, B in 0-9. True exactly when 1024 data lines were read; lines after
    // them are not read. A file that fails leaves table as it was.
    bool load(const char *path, int *table);

private:
    Lut1D() = default;
};
