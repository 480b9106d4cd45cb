#pragma once

#include <string>
#include <vector>

// Copies chosen .cube files from one folder into another (the stick's LUTs
// into the user or calibration folder), replacing files of the same name.
class LutImport
{
public:
    // A folder holds at most this many .cube files.
    static constexpr size_t maxFiles = 50;

    LutImport() = delete;

    // Refused, with nothing copied, when the chosen files and the .cube files
    // already in toDir would number more than maxFiles. A file of the same
    // name is replaced only once its copy is complete, so a failed copy
    // leaves it as it was. False when a copy failed.
    static bool importFiles(const std::string &fromDir, const std::vector<std::string> &names,
                            const std::string &toDir);
};
