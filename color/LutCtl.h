#pragma once

#include "PLControl.h"
#include "Singleton.h"

#include <string>

// The register side of the display LUT, the one the user chooses. It stays
// off from construction until a file has been loaded.
class LutCtl : public Singleton<LutCtl>
{
    friend class Singleton<LutCtl>;

public:
    void lutEnable(bool on);
    bool getLutEnable() const;
    // The LUT compare view; only while the LUT is enabled.
    void lutPreviewEnable(bool on);
    void lutPreviewPosition(int position);
    // Latches the contents of the LUT memory.
    void lutUpdate();

    // Parses a cube file into the LUT memory and latches it; a file that does
    // not load changes neither memory nor register.
    bool loadFile(const std::string &path);

private:
    LutCtl();

    PLControl &pl;
    void *memory;
    bool enabled = false;
};
