#include "HardwarePath.h"

namespace {

std::string &hardwareRoot()
{
    static std::string root;
    return root;
}

} // namespace

namespace hw {

void setRoot(const std::string &root)
{
    std::string &stored = hardwareRoot();
    stored = root;
    while (stored.size() > 1 && stored.back() == '/')
        stored.pop_back();
    if (stored == "/")
        stored.clear();
}

const std::string &root()
{
    return hardwareRoot();
}

std::string path(const std::string &absolutePath)
{
    if (absolutePath.empty() || absolutePath.front() != '/')
        return absolutePath;
    return hardwareRoot() + absolutePath;
}

} // namespace hw
