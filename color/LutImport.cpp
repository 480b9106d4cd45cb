#include "LutImport.h"

#include "Console.h"
#include "DeviceUSB.h"

<<<<<<< HEAD
#include <cstdio>
=======
>>>>>>> main
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char *cubeSuffix = ".cube";
constexpr const char *partSuffix = ".part";

<<<<<<< HEAD
bool syncFile(const std::filesystem::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
=======
// A name as a folder listing gives it: no folder part, nothing that leads out.
bool isPlainName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The file's data on the medium, not only in the page cache.
bool flush(const std::filesystem::path &path)
{
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool flushed = fsync(fd) == 0;
    close(fd);
    return flushed;
}

// The copy goes to a hidden temporary name beside the target, reaches the
// medium, and only then takes the target's name in one rename, so that a
// failed copy or a power cut leaves either the old file or the new one whole.
bool importFile(const std::filesystem::path &source, const std::filesystem::path &target)
{
    const std::filesystem::path part = target.parent_path() / ("." + target.filename().string() + partSuffix);
    std::error_code error;
    std::filesystem::copy_file(source, part, std::filesystem::copy_options::overwrite_existing, error);
    if (!error && !flush(part))
        error = std::make_error_code(std::errc::io_error);
    if (!error)
        std::filesystem::rename(part, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        return false;
    }
    return true;
>>>>>>> main
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
<<<<<<< HEAD
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
=======
        if (!isPlainName(name) ||
            !importFile(std::filesystem::path(fromDir) / name, std::filesystem::path(toDir) / name)) {
>>>>>>> main
            console::error("import %s failed\n", name.c_str());
            ok = false;
        }
    }
    sync();
    return ok;
}
