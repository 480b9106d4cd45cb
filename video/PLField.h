#pragma once

#include "PLControl.h"

// Read-modify-write of register fields (inclusive bit ranges, low to high),
// the one way the video controllers change a part of a register.
namespace plfield {

// The field of a word, shifted down to bit 0.
inline unsigned int get(unsigned int word, unsigned int low, unsigned int high)
{
    const unsigned int width = high - low + 1;
    const unsigned int mask = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u;
    return (word >> low) & mask;
}

// The word with one field replaced; value bits beyond the field are dropped.
inline unsigned int put(unsigned int word, unsigned int low, unsigned int high, unsigned int value)
{
    const unsigned int width = high - low + 1;
    const unsigned int mask = (width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u) << low;
    return (word & ~mask) | ((value << low) & mask);
}

inline void write(PLControl *pl, FunctionTypeIndex id, unsigned int low, unsigned int high, unsigned int value)
{
    pl->setValue(id, put(pl->getValue(id), low, high, value));
}

inline void setBit(PLControl *pl, FunctionTypeIndex id, unsigned int bit, bool on)
{
    write(pl, id, bit, bit, on ? 1u : 0u);
}

inline bool bit(PLControl *pl, FunctionTypeIndex id, unsigned int n)
{
    return get(pl->getValue(id), n, n) != 0;
}

} // namespace plfield
