#include "LutConfig.h"

#include "Console.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

constexpr const char *indexFile = "Lut/LutFile.ini";
constexpr const char *indexDir = "Lut";
constexpr const char *userDir = "Lut/User";

// "<slot><spaces><path>": the slot number is not used, the order of the lines
// is.
bool parseEntry(const std::string &line, std::string &path)
{
    size_t p = 0;
    if (p < line.size() && (line[p] == '-' || line[p] == '+'))
        ++p;
    const size_t digits = p;
    while (p < line.size() && line[p] >= '0' && line[p] <= '9')
        ++p;
    if (p == digits)
        return false;
    const size_t spaces = p;
    while (p < line.size() && line[p] == ' ')
        ++p;
    if (p == spaces || p == line.size())
        return false;
    path = line.substr(p);
    return true;
}

} // namespace

LutConfig::LutConfig()
{
    init();
}

void LutConfig::init()
{
    list.clear();
    std::ifstream file(indexFile);
    if (file) {
        std::string line;
        std::string path;
        while (std::getline(file, line) && parseEntry(line, path))
            list.push_back(path);
    } else {
        std::error_code ignored;
        std::filesystem::create_directories(indexDir, ignored);
        FILE *created = std::fopen(indexFile, "w");
        if (created != nullptr) {
            for (int slot = 0; slot < slotCount; ++slot)
                std::fprintf(created, "%d  %s\n", slot, invalid);
            std::fclose(created);
            sync();
        } else {
            console::error("create %s failed\n", indexFile);
        }
    }
    // A short or damaged index still offers both slots.
    while (list.size() < slotCount)
        list.emplace_back(invalid);
}

bool LutConfig::save()
{
    FILE *file = std::fopen(indexFile, "w");
    if (file == nullptr) {
        console::error("open %s failed\n", indexFile);
        return false;
    }
    bool ok = true;
    for (size_t slot = 0; slot < list.size(); ++slot)
        ok = std::fprintf(file, "%d  %s\n", static_cast<int>(slot), list[slot].c_str()) > 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    sync();
    return ok;
}

bool LutConfig::modify(int slot, const std::string &path)
{
    if (slot < 0 || slot >= slotCount)
        return false;
    list[static_cast<size_t>(slot)] = path;
    return true;
}

std::string LutConfig::getLutFile(int slot) const
{
    if (slot < 0 || slot >= slotCount)
        return invalid;
    return list[static_cast<size_t>(slot)];
}

void LutConfig::reset()
{
    std::remove(indexFile);
    // Every user LUT goes; names starting with a dot are not user LUTs.
    std::error_code error;
    std::vector<std::filesystem::path> doomed;
    for (const auto &entry : std::filesystem::directory_iterator(userDir, error)) {
        if (entry.path().filename().string().rfind('.', 0) != 0)
            doomed.push_back(entry.path());
    }
    for (const auto &path : doomed)
        std::filesystem::remove_all(path, error);
    list.clear();
    init();
}
