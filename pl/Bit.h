#pragma once

#include <cstdint>

// Field helpers on 32-bit register values. Bit numbers run 0 to 31; ranges are
// inclusive, low to high.
class Bit
{
public:
    static unsigned int bitSet(uint8_t n);
    static unsigned int bitSet(uint8_t low, uint8_t high);
    static void bitSet(unsigned int &value, uint8_t n);
    static unsigned int bitSet(unsigned int &value, uint8_t low, uint8_t high);

    static unsigned int bitClear(uint8_t n);
    static unsigned int bitClear(uint8_t low, uint8_t high);
    static void bitClear(unsigned int &value, uint8_t n);
    static void bitClear(unsigned int &value, uint8_t low, uint8_t high);

    static void bitXor(unsigned int &value, uint8_t n);
    static unsigned int bitXor(unsigned int &value, uint8_t low, uint8_t high);

    static void bitGetValue(const unsigned int &value, uint8_t n, bool &out);
    static void bitSetValue(unsigned int &value, uint8_t n, bool on);
};
