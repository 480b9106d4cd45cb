#pragma once

#include "Upgrade.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// An upgrade package made as a release is made: the files in a PAVORX folder,
// their digests from md5sum, the description, and the archive from tar.
class UpgradePackage
{
public:
    explicit UpgradePackage(const std::string &folder) : m_folder(folder)
    {
        std::filesystem::create_directories(dir());
    }

    std::string dir() const { return m_folder + "/PAVORX"; }
    std::string folder() const { return m_folder; }

    // A file of the package and its digest as md5sum gives it.
    std::string addFile(const std::string &name, const std::string &content) const
    {
        const std::string path = dir() + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        std::string digest;
        if (FILE *md5sum = ::popen(("md5sum '" + path + "'").c_str(), "r")) {
            char text[33] = "";
            if (std::fgets(text, sizeof(text), md5sum) != nullptr)
                digest = text;
            ::pclose(md5sum);
        }
        return digest;
    }

    Upgrade::package install(const std::string &name, const std::string &content, const std::string &destination) const
    {
        return {addFile(name, content), name, destination};
    }

    bool describe(const std::vector<Upgrade::package> &files) const
    {
        return Upgrade::writeXml(dir() + "/Upgrade.xml", files);
    }

    // options go before the folder, more after it.
    bool pack(const std::string &archive, const std::string &options = "", const std::string &more = "") const
    {
        const std::string command =
            "tar -czf '" + archive + "' -C '" + m_folder + "' " + options + " PAVORX " + more;
        return std::system(command.c_str()) == 0;
    }

private:
    std::string m_folder;
};
