#include "LutImport.h"

#include "Console.h"
#include "DeviceUSB.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char *cubeSuffix = ".cube";
constexpr const char *partSuffix = ".part";

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
        if (!isPlainName(name) ||
            !importFile(std::filesystem::path(fromDir) / name, std::filesystem::path(toDir) / name)) {
            console::error("import %s failed\n", name.c_str());
            ok = false;
        }
    }
    sync();
    return ok;
}
