#include "DeviceTree.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace sim {

namespace {

// Room temperature for the die: raw = (40 °C + 273.15) * 4096 / 503.975.
constexpr const char *roomTemperatureRaw = "2545\n";
// Where pulled sticks keep their files, outside every path the application uses.
const std::string stickShelf = "/.sticks/";

} // namespace

DeviceTree::DeviceTree(const std::string &root) : m_root(root)
{
    while (m_root.size() > 1 && m_root.back() == '/')
        m_root.pop_back();

    for (const char *dir : {"/dev", "/sys/class/gpio", "/sys/bus/iio/devices/iio:device0", "/tmp",
                            "/run/media", "/home/root/app", "/.sticks"})
        makeDirectory(dir);

    const std::string mem = path("/dev/mem");
    int fd = ::open(mem.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(memorySize)) != 0)
        fail("dev/mem: " + std::string(std::strerror(errno)));
    if (fd >= 0)
        ::close(fd);

    for (int line = 0; line < uioCount; ++line) {
        if (!m_uio[static_cast<size_t>(line)].open())
            fail("uio" + std::to_string(line) + " pseudo-terminal");
        else
            makeLink("/dev/uio" + std::to_string(line), m_uio[static_cast<size_t>(line)].slavePath());
    }
    if (!m_serial.open())
        fail("ttyPS1 pseudo-terminal");
    else
        makeLink("/dev/ttyPS1", m_serial.slavePath());

    writeFile(spiDevice, "");
    writeFile("/sys/class/gpio/export", "");
    for (int line : gpioLines) {
        const std::string dir = "/sys/class/gpio/gpio" + std::to_string(line + gpioBase);
        makeDirectory(dir);
        writeFile(dir + "/direction", "in\n");
        writeFile(dir + "/value", "0\n");
        writeFile(dir + "/edge", "none\n");
    }
    writeFile(temperatureFile, roomTemperatureRaw);
    writeFile(levelFile, "0\n");
}

std::string DeviceTree::path(const std::string &absolutePath) const
{
    return m_root + absolutePath;
}

bool DeviceTree::insertUsb(char letter)
{
    if (letter < 'a' || letter > 'j')
        return false;
    std::lock_guard<std::mutex> lock(m_usbMutex);
    if (m_usbLetter != 0)
        return m_usbLetter == letter;
    const std::string name = std::string("sd") + letter + "1";
    const std::string mount = path("/run/media/" + name);
    // A stick that was in before comes back with its files.
    if (rename(path(stickShelf + name).c_str(), mount.c_str()) != 0 && mkdir(mount.c_str(), 0755) != 0
        && errno != EEXIST)
        return false;
    if (!writeFile("/dev/" + name, ""))
        return false;
    m_usbLetter = letter;
    return true;
}

bool DeviceTree::removeUsb()
{
    std::lock_guard<std::mutex> lock(m_usbMutex);
    if (m_usbLetter == 0)
        return false;
    const std::string name = std::string("sd") + m_usbLetter + "1";
    m_usbLetter = 0;
    const bool nodeGone = unlink(path("/dev/" + name).c_str()) == 0;
    return rename(path("/run/media/" + name).c_str(), path(stickShelf + name).c_str()) == 0 && nodeGone;
}

char DeviceTree::usbLetter() const
{
    std::lock_guard<std::mutex> lock(m_usbMutex);
    return m_usbLetter;
}

bool DeviceTree::writeFile(const std::string &absolutePath, const std::string &content) const
{
    std::ofstream file(path(absolutePath), std::ios::binary | std::ios::trunc);
    file << content;
    return static_cast<bool>(file);
}

std::string DeviceTree::readFile(const std::string &absolutePath) const
{
    std::ifstream file(path(absolutePath), std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

bool DeviceTree::makeDirectory(const std::string &absolutePath)
{
    std::string partial = m_root;
    if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
        fail(partial + ": " + std::strerror(errno));
        return false;
    }
    std::istringstream parts(absolutePath);
    std::string part;
    while (std::getline(parts, part, '/')) {
        if (part.empty())
            continue;
        partial += "/" + part;
        if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
            fail(partial + ": " + std::strerror(errno));
            return false;
        }
    }
    return true;
}

bool DeviceTree::makeLink(const std::string &absolutePath, const std::string &target)
{
    const std::string link = path(absolutePath);
    unlink(link.c_str());
    if (symlink(target.c_str(), link.c_str()) != 0) {
        fail(link + ": " + std::strerror(errno));
        return false;
    }
    return true;
}

void DeviceTree::fail(const std::string &what)
{
    if (m_error.empty())
        m_error = what;
}

} // namespace sim
