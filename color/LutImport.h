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
    // name is replaced only once its copy is complete and on the medium, so a
    // failed copy or a power cut leaves it as it was. Names are bare file
    // names; any other is refused. False when a file was not imported.
    static bool importFiles(const std::string &fromDir, const std::vector<std::string> &names,
                            const std::string &toDir);
};
