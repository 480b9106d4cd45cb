#pragma once

#include "Singleton.h"

#include <memory>
#include <mutex>
#include <string>

// The parser of .cube 3D LUT files. A file of 17, 33 or 65 points per axis
// becomes the 17-point grid the logic's LUT blocks hold, in their memory
// order: 4913 points grouped by which indices are at the last grid point.
// The file is read once; only the lines the grid keeps are parsed. A load that
// fails leaves the grid and its settings of the last good load in force.
class Lut3D : public Singleton<Lut3D>
{
    friend class Singleton<Lut3D>;

public:
    // Component order of a packed word, from bit 20 down.
    enum LutOrder { LutOrderBGR = 1, LutOrderRGB = 2 };
    // Flags: after a load, write the grid to "./debug.cube" and the packed
    // words to "./debug.rgb".
    enum LutDebugType { LutDebugNone = 0, LutDebugCube = 1, LutDebugRGB = 2, LutDebugAll = 3 };

    struct RGBvec {
        double r;
        double g;
        double b;
    };

    static constexpr int gridPoints = 17;
    static constexpr int lutWords = gridPoints * gridPoints * gridPoints;

    ~Lut3D() override;

    // False for a null path, a file that is not there or cannot be read, and a
    // file whose data does not parse (with its message).
    bool load(const char *path, const LutDebugType &debug);
    // Packs the grid into dest, lutWords words in grid order. Refused with the
    // "param error" message for a null dest, fewer than lutWords words or a
    // domain range that is not positive; refused also before any good load.
    bool copy(int *dest, const int &words);

private:
    // What the keyword lines of one file say.
    struct Header {
        LutOrder order = LutOrderBGR;
        double domainMin[3] = {0.0, 0.0, 0.0};
        double domainMax[3] = {1.0, 1.0, 1.0};
        int size = gridPoints;
        int skip = 0;
    };

    // The text of a line, up to its end or its NUL byte; null when absent.
    struct Line {
        const char *begin = nullptr;
        const char *end = nullptr;
    };

    Lut3D();

    // Each takes the first line that holds its keyword anywhere, comment lines
    // included.
    void ParseLutFormat(const Line &line, Header &header) const;
    void ParseLutMax(const Line &line, Header &header) const;
    void ParseLutMin(const Line &line, Header &header) const;
    void ParseLutSize(const Line &line, Header &header) const;
    bool ParseLutData(const char *text, const char *end, const Header &header);
    bool allocateDataBuffer();
    void releaseDataBuffer();
    // The groups into the grid, in layout order; false when the grid cannot be
    // allocated.
    bool translate();
    void pack(int *dest) const;
    void debugLutCube() const;
    void debugLutRGB() const;

    const int outputScale = 1023;
    LutOrder order = LutOrderBGR;
    LutDebugType debugFlags = LutDebugNone;
    RGBvec domainMin = {0.0, 0.0, 0.0};
    RGBvec domainMax = {1.0, 1.0, 1.0};
    // The eight groups of the memory layout, filled by the data parse, and the
    // grid of the last good load in layout order.
    std::unique_ptr<RGBvec[]> group[8];
    std::unique_ptr<RGBvec[]> grid;
    mutable std::mutex mutex;
};
