#include "LutImport.h"

#include "Console.h"
#include "DeviceUSB.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char *cubeSuffix = ".cube";
constexpr const char *partSuffix = ".part";

bool syncFile(const std::filesystem::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

bool LutImport::importFiles(const std::string &fromDir, const std::vector<std::string> &names,
                            const std::string &toDir)
{
    std::vector<std::string> stored;
    DeviceUSB::getDirectoryFile(toDir, cubeSuffix, stored);
    if (names.size() + stored.size() > maxFiles)
        return false;
    bool ok = true;
    for (const std::string &name : names) {
        const std::filesystem::path target = std::filesystem::path(toDir) / name;
        // Hidden while it is written, so that no listing shows half a file.
        const std::filesystem::path part = std::filesystem::path(toDir) / ("." + name + partSuffix);
        std::error_code error;
        std::filesystem::copy_file(std::filesystem::path(fromDir) / name, part,
                                   std::filesystem::copy_options::overwrite_existing, error);
        // On storage before it takes the name: a power cut after the rename
        // must not leave an empty file where the old one was.
        if (!error && !syncFile(part))
            error = std::make_error_code(std::errc::io_error);
        if (!error)
            std::filesystem::rename(part, target, error);
        if (error) {
            console::error("import %s failed\n", name.c_str());
            std::filesystem::remove(part, error);
            ok = false;
        }
    }
    sync();
    return ok;
}
