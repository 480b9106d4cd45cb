#pragma once

#include <string>

// Where the platform's device files live. On the device the root is empty and
// absolute paths are used as they stand; the virtual board and the tests set a
// root before anything else runs, so that "/dev/mem" becomes "<root>/dev/mem".
// Relative paths (the working-directory files) are never changed.
namespace hw {

void setRoot(const std::string &root);
const std::string &root();
std::string path(const std::string &absolutePath);

} // namespace hw
