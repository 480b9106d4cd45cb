#include "Upgrade.h"

#include "Console.h"
#include "DeviceUSB.h"
#include "HardwarePath.h"
#include "System.h"
#include "ThreadName.h"

#include <QCryptographicHash>
#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char *packageName = "PAVORX";
constexpr const char *packageSuffix = ".tar.gz";
constexpr const char *unpackDir = "/tmp/";
constexpr const char *packageDir = "/tmp/PAVORX";
constexpr const char *descriptionFile = "Upgrade.xml";
constexpr const char *mcuFirmwareFile = "RX.bin";
constexpr std::chrono::seconds startDelay(1);

std::string shellQuoted(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

bool hasParentPart(const fs::path &path)
{
    for (const fs::path &part : path) {
        if (part == "..")
            return true;
    }
    return false;
}

// Whether path lies in root; both already free of symbolic links.
bool isWithin(const fs::path &path, const fs::path &root)
{
    auto part = path.begin();
    for (const fs::path &rootPart : root) {
        if (part == path.end() || *part != rootPart)
            return false;
        ++part;
    }
    return true;
}

// The member names of an archive, as the tar command lists them.
bool listMembers(const std::string &archive, std::vector<std::string> &members)
{
    FILE *listing = ::popen(("tar -tf " + shellQuoted(archive)).c_str(), "r");
    if (listing == nullptr)
        return false;
    std::string line;
    for (int c = std::fgetc(listing); c != EOF; c = std::fgetc(listing)) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        members.push_back(line);
        line.clear();
    }
    if (!line.empty())
        members.push_back(line);
    const int status = ::pclose(listing);
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Every member must lie in the package folder: no absolute names, no "..",
// and nothing below a member that is not a folder (a link would lead out).
bool membersStayInside(const std::vector<std::string> &members)
{
    std::set<std::string> nonFolders;
    std::vector<std::string> names;
    for (std::string name : members) {
        while (name.compare(0, 2, "./") == 0)
            name.erase(0, 2);
        if (name.empty() || name == ".")
            continue;
        const bool folder = name.back() == '/';
        while (name.size() > 1 && name.back() == '/')
            name.pop_back();
        const fs::path path(name);
        if (path.is_absolute() || hasParentPart(path) || *path.begin() != packageName) {
            console::error("upgrade package member %s lies outside the %s folder\n", name.c_str(), packageName);
            return false;
        }
        if (!folder)
            nonFolders.insert(name);
        names.push_back(name);
    }
    for (const std::string &name : names) {
        for (size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1)) {
            if (nonFolders.count(name.substr(0, slash)) != 0) {
                console::error("upgrade package member %s lies below the non-folder %s\n", name.c_str(),
                               name.substr(0, slash).c_str());
                return false;
            }
        }
    }
    return true;
}

// What was unpacked: folders, plain files and links that stay in the folder.
bool treeStaysInside(const fs::path &root)
{
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(root, error))) {
        console::error("the upgrade package holds no %s folder\n", packageName);
        return false;
    }
    const fs::path realRoot = fs::canonical(root, error);
    fs::recursive_directory_iterator entry(root, error);
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const fs::file_status status = entry->symlink_status(error);
        if (error)
            break;
        if (fs::is_directory(status))
            continue;
        if (fs::is_regular_file(status) && entry->hard_link_count(error) == 1)
            continue;
        if (fs::is_symlink(status)) {
            const fs::path target = fs::weakly_canonical(entry->path(), error);
            if (!error && isWithin(target, realRoot))
                continue;
        }
        console::error("upgrade package member %s is not a plain file inside the package\n",
                       entry->path().c_str());
        return false;
    }
    if (error) {
        console::error("cannot check the unpacked upgrade package: %s\n", error.message().c_str());
        return false;
    }
    return true;
}

bool copyData(int from, int to)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(from, buffer, sizeof(buffer));
        if (count == 0)
            return true;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < count;) {
            const ssize_t written = ::write(to, buffer + done, static_cast<size_t>(count - done));
            if (written < 0 && errno != EINTR)
                return false;
            if (written > 0)
                done += written;
        }
    }
}

// Installs source as destination without a moment in which neither the old
// nor the new file is complete: the copy goes to a file beside the
// destination, reaches the disk, and then takes the destination's name. On
// failure the old file stays as it was.
bool installFile(const std::string &source, const std::string &destination)
{
    const fs::path target(destination);
    std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".upgrade-XXXXXX")).string();
    const int to = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (to < 0)
        return false;
    const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    bool copied = from >= 0 && ::fstat(from, &info) == 0 && copyData(from, to)
               && ::fchmod(to, info.st_mode & 07777) == 0 && ::fsync(to) == 0;
    if (from >= 0)
        ::close(from);
    copied = ::close(to) == 0 && copied;
    if (!copied || ::rename(temporary.c_str(), destination.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

std::string fileMd5(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return std::string();
    return hash.result().toHex().toStdString();
}

// A name inside the package folder, and an absolute file path to install to;
// neither may climb with "..".
bool validRecord(const Upgrade::package &record, std::string &problem)
{
    const fs::path name(record.FileName);
    const fs::path destination(record.DestFile);
    if (record.Md5.empty() || record.FileName.empty() || record.DestFile.empty())
        problem = "a File element lacks its Md5, FileName or DestFile";
    else if (name.is_absolute() || hasParentPart(name))
        problem = "FileName " + record.FileName + " lies outside the package folder";
    else if (!destination.is_absolute() || hasParentPart(destination) || !destination.has_filename())
        problem = "DestFile " + record.DestFile + " is not an absolute file path";
    return problem.empty();
}

bool parseDescription(QIODevice &device, std::vector<Upgrade::package> &packages, std::string &problem)
{
    QXmlStreamReader reader(&device);
    Upgrade::package record;
    bool rootSeen = false;
    bool inFile = false;
    while (!reader.atEnd() && problem.empty()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QStringRef name = reader.name();
            if (!rootSeen) {
                rootSeen = true;
                if (name != QLatin1String("Upgrade"))
                    problem = "the root element is " + name.toString().toStdString() + ", not Upgrade";
            } else if (name == QLatin1String("File")) {
                inFile = true;
                record = Upgrade::package();
            } else if (inFile && name == QLatin1String("Md5")) {
                record.Md5 = reader.readElementText().toStdString();
            } else if (inFile && name == QLatin1String("FileName")) {
                record.FileName = reader.readElementText().toStdString();
            } else if (inFile && name == QLatin1String("DestFile")) {
                record.DestFile = reader.readElementText().toStdString();
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("File")) {
            inFile = false;
            if (validRecord(record, problem))
                packages.push_back(record);
        }
    }
    if (problem.empty() && reader.hasError())
        problem = reader.errorString().toStdString() + " at line " + std::to_string(reader.lineNumber());
    if (problem.empty() && !rootSeen)
        problem = "no Upgrade element";
    return problem.empty();
}

} // namespace

bool Upgrade::isExistUpgradePackage()
{
    return DeviceUSB::isActive()
        && ::access((DeviceUSB::getUSBdir() + packageName + packageSuffix).c_str(), F_OK) == 0;
}

bool Upgrade::writeXml(const std::string &path, const std::vector<package> &packages)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Upgrade"));
    for (const package &record : packages) {
        writer.writeStartElement(QStringLiteral("File"));
        writer.writeTextElement(QStringLiteral("Md5"), QString::fromStdString(record.Md5));
        writer.writeTextElement(QStringLiteral("FileName"), QString::fromStdString(record.FileName));
        writer.writeTextElement(QStringLiteral("DestFile"), QString::fromStdString(record.DestFile));
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    file.close();
    ::sync();
    return !writer.hasError() && file.error() == QFileDevice::NoError;
}

void Upgrade::start(StateCallback stateCallback)
{
    bool idle = false;
    if (!running.compare_exchange_strong(idle, true)) {
        console::warning("an upgrade is running already\n");
        return;
    }
    callback = stateCallback;
    // The stick's folder is found here, on the caller's thread, which owns it.
    packageFile = DeviceUSB::isActive() ? DeviceUSB::getUSBdir() + packageName + packageSuffix : std::string();
    std::thread(&Upgrade::process, this).detach();
}

void Upgrade::process()
{
    nameThread("upgrade");
    std::this_thread::sleep_for(startDelay);
    if (unPackage() && readXml() && checkFile()) {
        if (isUpgradeMcu())
            report(UPGRADE_MCU);
        if (copyApp())
            complete();
    }
    running = false;
}

void Upgrade::report(UpgradeState newState)
{
    state = newState;
    if (StateCallback stateCallback = callback)
        stateCallback(newState);
}

// The archive is listed and screened first, then unpacked into a fresh folder
// of its own, checked again, and only then put in place of the last package.
bool Upgrade::unPackage()
{
    report(UNPACK_START);
    if (packageFile.empty() || ::access(packageFile.c_str(), R_OK) != 0) {
        console::error("no upgrade package %s%s on a USB stick\n", packageName, packageSuffix);
        report(UNPACK_FAILED);
        return false;
    }
    std::vector<std::string> members;
    if (!listMembers(packageFile, members)) {
        console::error("cannot read the upgrade package %s\n", packageFile.c_str());
        report(UNPACK_FAILED);
        return false;
    }
    if (!membersStayInside(members)) {
        report(UNPACK_FAILED);
        return false;
    }
    std::string staging = hw::path(unpackDir) + "." + packageName + "-XXXXXX";
    if (::mkdtemp(staging.data()) == nullptr) {
        console::error("cannot make a folder to unpack into in %s\n", hw::path(unpackDir).c_str());
        report(UNPACK_FAILED);
        return false;
    }
    const std::string command = "tar -xvf " + shellQuoted(packageFile) + " -C " + shellQuoted(staging);
    const int status = std::system(command.c_str());
    bool unpacked = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!unpacked)
        console::error("cannot unpack the upgrade package %s\n", packageFile.c_str());
    const fs::path unpackedPackage = fs::path(staging) / packageName;
    unpacked = unpacked && treeStaysInside(unpackedPackage);
    std::error_code error;
    if (unpacked) {
        fs::remove_all(hw::path(packageDir), error);
        fs::rename(unpackedPackage, hw::path(packageDir), error);
        if (error)
            console::error("cannot move the upgrade package to %s: %s\n", hw::path(packageDir).c_str(),
                           error.message().c_str());
        unpacked = !error;
    }
    fs::remove_all(staging, error);
    if (!unpacked)
        report(UNPACK_FAILED);
    return unpacked;
}

bool Upgrade::readXml()
{
    report(READ_XML);
    packages.clear();
    const std::string path = hw::path(std::string(packageDir) + "/" + descriptionFile);
    QFile file(QString::fromStdString(path));
    std::string problem;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        problem = "cannot be opened";
    else
        parseDescription(file, packages, problem);
    if (!problem.empty()) {
        console::error("%s: %s\n", path.c_str(), problem.c_str());
        packages.clear();
        report(READ_XML_FAILED);
        return false;
    }
    return true;
}

bool Upgrade::checkFile()
{
    report(CHECK_FILE);
    for (const package &record : packages) {
        if (fileMd5(hw::path(std::string(packageDir) + "/" + record.FileName)) != record.Md5) {
            console::error("%s is corruption\n", record.FileName.c_str());
            report(CHECK_FILE_FAILED);
            return false;
        }
    }
    return true;
}

// Firmware counts only when the description installs it, so that the MCU is
// never given a file that was not checked.
bool Upgrade::isUpgradeMcu() const
{
    if (::access(hw::path(std::string(packageDir) + "/" + mcuFirmwareFile).c_str(), F_OK) != 0)
        return false;
    for (const package &record : packages) {
        if (record.FileName == mcuFirmwareFile)
            return true;
    }
    console::warning("%s is not listed in %s: the MCU firmware stays as it is\n", mcuFirmwareFile, descriptionFile);
    return false;
}

bool Upgrade::copyApp()
{
    report(COPY_FILE);
    for (const package &record : packages) {
        const std::string source = hw::path(std::string(packageDir) + "/" + record.FileName);
        const std::string destination = hw::path(record.DestFile);
        if (!installFile(source, destination)) {
            console::error("*******Upgrade file %s to %s failed******\n", source.c_str(), destination.c_str());
            report(COPY_FILE_FAILED);
            return false;
        }
    }
    return true;
}

void Upgrade::complete()
{
    ::sync();
    ::sync();
    report(COMPLETE);
}

void Upgrade::restart()
{
    report(RESTART);
    ::sync();
    ::sync();
    hw::system().restart();
}
