#pragma once

#include <string>
#include <vector>

// Where files live: the USB stick the system mounts by itself and the LUT
// folders below the working directory. Static operations only; the mount
// directory of the last stick found is kept process-wide. Used from the
// user-interface thread only.
class DeviceUSB
{
public:
    DeviceUSB() = delete;

    // A stick is in; on success the USB directory is updated.
    static bool isActive();
    // The mount directory of the last stick found, with a trailing "/".
    static std::string getUSBdir();

    // Folders on the stick: false when no stick is in (dir left alone),
    // otherwise dir is set and the folder created if missing.
    static bool getFrameSaveDir(std::string &dir);
    static bool getUSBLutDir(std::string &dir);
    static bool getUSBCalibrateDir(std::string &dir);

    // Folders in the working directory, created if missing.
    static bool getLocalLutDir(std::string &dir);
    static bool getPreLutDir(std::string &dir);
    static bool getLocalCalibrateDir(std::string &dir);

    // False when the file is not there or could not be removed.
    static bool removeFile(const std::string &path);
    // The bare names of the regular files in dir ending with suffix, sorted
    // byte-wise. names is left alone when dir cannot be read.
    static bool getDirectoryFile(const std::string &dir, const std::string &suffix,
                                 std::vector<std::string> &names);

private:
    static bool getUSBSubDir(const char *subDir, std::string &dir);
    static bool getLocalDir(const char *localDir, std::string &dir);

    static std::string USBDirectory;
};
