#pragma once

#include "Singleton.h"

#include <atomic>
#include <string>
#include <vector>

// The software upgrade from a USB stick: unpacks the package PAVORX.tar.gz into
// /tmp/PAVORX, reads its description Upgrade.xml, checks every listed file
// against its MD5 digest, notes MCU firmware, installs the files and restarts
// the system. Each step is reported through the state callback, from the
// upgrade's own thread.
class Upgrade : public Singleton<Upgrade>
{
    friend class Singleton<Upgrade>;

public:
    enum UpgradeState {
        UNPACK_START = 0,
        UNPACK_FAILED = 1,
        READ_XML = 2,
        READ_XML_FAILED = 3,
        CHECK_FILE = 4,
        CHECK_FILE_FAILED = 5,
        UPGRADE_MCU = 6,
        COPY_FILE = 9,
        COPY_FILE_FAILED = 10,
        COMPLETE = 11,
        RESTART = 12,
    };

    using StateCallback = void (*)(UpgradeState state);

    // One file of the package: its digest as 32 lowercase hexadecimal digits,
    // its name inside the package folder and the absolute path it goes to.
    struct package {
        std::string Md5;
        std::string FileName;
        std::string DestFile;
    };

    // A stick is in and holds the package in its root.
    static bool isExistUpgradePackage();
    // Writes a description, each file's elements in the order Md5, FileName,
    // DestFile, indented.
    static bool writeXml(const std::string &path, const std::vector<package> &packages);

    // Starts the upgrade thread with the package of the stick that is in now;
    // refused while an upgrade runs.
    void start(StateCallback callback);
    // Reports the restart, syncs and restarts the machine.
    void restart();

    UpgradeState getState() const { return state; }

private:
    Upgrade() = default;
    void process();
    bool unPackage();
    bool readXml();
    bool checkFile();
    bool isUpgradeMcu() const;
    bool copyApp();
    void complete();
    void report(UpgradeState newState);

    std::atomic<UpgradeState> state{UNPACK_START};
    std::atomic<StateCallback> callback{nullptr};
    std::atomic<bool> running{false};
    std::string packageFile;
    std::vector<package> packages;
};
