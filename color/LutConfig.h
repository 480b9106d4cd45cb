#pragma once

#include "Singleton.h"

#include <string>
#include <vector>

// The LUT index: which file is selected in each slot (0 the preset LUT, 1 the
// user LUT), "invalid" for none, kept in "Lut/LutFile.ini" one line a slot.
class LutConfig : public Singleton<LutConfig>
{
    friend class Singleton<LutConfig>;

public:
    static constexpr int slotCount = 2;
    static constexpr const char *invalid = "invalid";

    // Reads the index, or creates it with both slots "invalid".
    void init();
    // Writes the index back and syncs it to storage.
    bool save();
    // In memory only, until save(); false for a slot other than 0 and 1.
    bool modify(int slot, const std::string &path);
    // The path selected in a slot ("invalid" for none or an unknown slot).
    std::string getLutFile(int slot) const;
    // Removes the index and every user LUT, then starts afresh.
    void reset();

private:
    LutConfig();

    std::vector<std::string> list;
};
