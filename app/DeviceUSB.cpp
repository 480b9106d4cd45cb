#include "DeviceUSB.h"

#include "Console.h"
#include "HardwarePath.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system mounts a stick's first partition as sda1 to sdj1.
constexpr char firstDrive = 'a';
constexpr char lastDrive = 'j';
constexpr const char *mountFormat = "/run/media/sd%c1/";
constexpr const char *nodeFormat = "/dev/sd%c1";

constexpr const char *frameSaveSubDir = "Image/";
constexpr const char *usbLutSubDir = "Lut/";
constexpr const char *usbCalibrateSubDir = "/Lut/Calibrate/";
constexpr const char *localLutDir = "Lut/User/";
constexpr const char *preLutDir = "Lut/Pre/";
constexpr const char *localCalibrateDir = "Lut/Calibrate/";

constexpr mode_t directoryMode = 0640;

std::string drivePath(const char *format, char drive)
{
    char path[32];
    std::snprintf(path, sizeof(path), format, drive);
    return hw::path(path);
}

bool exists(const std::string &path)
{
    return access(path.c_str(), F_OK) == 0;
}

bool isDirectory(const std::string &path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Creates dir together with any missing parent; parents that exist already
// just refuse with EEXIST.
void makeDirectory(const std::string &dir)
{
    if (isDirectory(dir))
        return;
    for (size_t end = dir.find('/', 1); end != std::string::npos; end = dir.find('/', end + 1))
        mkdir(dir.substr(0, end).c_str(), directoryMode);
    mkdir(dir.c_str(), directoryMode);
}

bool endsWith(const std::string &name, const std::string &suffix)
{
    return name.size() >= suffix.size()
        && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

std::string DeviceUSB::USBDirectory;

bool DeviceUSB::isActive()
{
    for (char drive = firstDrive; drive <= lastDrive; ++drive) {
        const std::string mountDir = drivePath(mountFormat, drive);
        if (isDirectory(mountDir) && exists(drivePath(nodeFormat, drive))) {
            USBDirectory = mountDir;
            return true;
        }
    }
    return false;
}

std::string DeviceUSB::getUSBdir()
{
    return USBDirectory;
}

bool DeviceUSB::getFrameSaveDir(std::string &dir)
{
    return getUSBSubDir(frameSaveSubDir, dir);
}

bool DeviceUSB::getUSBLutDir(std::string &dir)
{
    return getUSBSubDir(usbLutSubDir, dir);
}

bool DeviceUSB::getUSBCalibrateDir(std::string &dir)
{
    return getUSBSubDir(usbCalibrateSubDir, dir);
}

bool DeviceUSB::getLocalLutDir(std::string &dir)
{
    return getLocalDir(localLutDir, dir);
}

bool DeviceUSB::getPreLutDir(std::string &dir)
{
    return getLocalDir(preLutDir, dir);
}

bool DeviceUSB::getLocalCalibrateDir(std::string &dir)
{
    return getLocalDir(localCalibrateDir, dir);
}

bool DeviceUSB::getUSBSubDir(const char *subDir, std::string &dir)
{
    if (!isActive())
        return false;
    dir = USBDirectory + subDir;
    makeDirectory(dir);
    return true;
}

bool DeviceUSB::getLocalDir(const char *localDir, std::string &dir)
{
    dir = localDir;
    makeDirectory(dir);
    return true;
}

bool DeviceUSB::removeFile(const std::string &path)
{
    if (!exists(path))
        return false;
    if (std::remove(path.c_str()) != 0) {
        console::warning("remove %s failed\n", path.c_str());
        return false;
    }
    return true;
}

bool DeviceUSB::getDirectoryFile(const std::string &dir, const std::string &suffix,
                                 std::vector<std::string> &names)
{
    if (!exists(dir)) {
        console::warning("%s is not exist\n", dir.c_str());
        return false;
    }
    DIR *directory = opendir(dir.c_str());
    if (directory == nullptr) {
        console::error("open %s failed\n", dir.c_str());
        return false;
    }
    names.clear();
    // The entry type decides; no stat per file.
    while (const dirent *entry = readdir(directory)) {
        if (entry->d_type == DT_REG && endsWith(entry->d_name, suffix))
            names.emplace_back(entry->d_name);
    }
    closedir(directory);
    std::sort(names.begin(), names.end());
    return true;
}
