#include "Bit.h"

unsigned int Bit::bitSet(uint8_t n)
{
    return n < 32 ? 1u << n : 0u;
}

unsigned int Bit::bitSet(uint8_t low, uint8_t high)
{
    if (low > high || low >= 32)
        return 0;
    const unsigned int upTo = high >= 31 ? 0xFFFFFFFFu : (1u << (high + 1)) - 1u;
    return upTo & ~((1u << low) - 1u);
}

void Bit::bitSet(unsigned int &value, uint8_t n)
{
    value |= bitSet(n);
}

unsigned int Bit::bitSet(unsigned int &value, uint8_t low, uint8_t high)
{
    value |= bitSet(low, high);
    return value;
}

unsigned int Bit::bitClear(uint8_t n)
{
    return ~bitSet(n);
}

unsigned int Bit::bitClear(uint8_t low, uint8_t high)
{
    return ~bitSet(low, high);
}

void Bit::bitClear(unsigned int &value, uint8_t n)
{
    value &= bitClear(n);
}

void Bit::bitClear(unsigned int &value, uint8_t low, uint8_t high)
{
    value &= bitClear(low, high);
}

void Bit::bitXor(unsigned int &value, uint8_t n)
{
    value ^= bitSet(n);
}

unsigned int Bit::bitXor(unsigned int &value, uint8_t low, uint8_t high)
{
    value ^= bitSet(low, high);
    return value;
}

void Bit::bitGetValue(const unsigned int &value, uint8_t n, bool &out)
{
    out = (value & bitSet(n)) != 0;
}

void Bit::bitSetValue(unsigned int &value, uint8_t n, bool on)
{
    if (on)
        bitSet(value, n);
    else
        bitClear(value, n);
}
