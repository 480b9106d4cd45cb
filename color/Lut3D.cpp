#include "Lut3D.h"

#include "Console.h"
#include "CubeText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int lastIndex = Lut3D::gridPoints - 1;
// No valid cube comes near this; a larger file is refused unread.
constexpr off_t maxFileSize = 64 * 1024 * 1024;

// The eight groups of the memory layout: their sizes, in layout order.
constexpr int groupCount = 8;
constexpr int groupSize[groupCount] = {4096, 256, 256, 256, 16, 16, 16, 1};

enum Keyword { KeyOrder, KeyMax, KeyMin, KeySize, keywordCount };
constexpr const char *keywordText[keywordCount] = {"LUT_ORDER", "DOMAIN_MAX", "DOMAIN_MIN", "LUT_3D_SIZE"};

// The group of grid point (r, g, b) and its index within the group.
void locate(int r, int g, int b, int &groupIndex, int &index)
{
    const bool rl = r == lastIndex;
    const bool gl = g == lastIndex;
    const bool bl = b == lastIndex;
    if (!rl && !gl && !bl) {
        groupIndex = 0;
        index = 256 * b + 16 * g + r;
    } else if (rl && !gl && !bl) {
        groupIndex = 1;
        index = 16 * b + g;
    } else if (!rl && gl && !bl) {
        groupIndex = 2;
        index = 16 * b + r;
    } else if (!rl && !gl && bl) {
        groupIndex = 3;
        index = 16 * g + r;
    } else if (rl && gl && !bl) {
        groupIndex = 4;
        index = b;
    } else if (rl && !gl && bl) {
        groupIndex = 5;
        index = g;
    } else if (!rl && gl && bl) {
        groupIndex = 6;
        index = r;
    } else {
        groupIndex = 7;
        index = 0;
    }
}

// The whole file, read once; false with a message when it cannot be.
bool readFile(const char *path, std::unique_ptr<char[]> &text, size_t &length)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            console::error("open %s failed\n", path);
        return false;
    }
    struct stat status;
    bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    if (!ok) {
        console::error("%s is not a cube file\n", path);
    } else if (status.st_size > maxFileSize) {
        console::error("%s is too large\n", path);
        ok = false;
    } else {
        // One byte more than the size, so that a file that grew meanwhile is
        // seen to have grown.
        const size_t capacity = static_cast<size_t>(status.st_size) + 1;
        text.reset(new (std::nothrow) char[capacity]);
        length = 0;
        ok = text != nullptr;
        while (ok && length < capacity) {
            const ssize_t got = ::read(fd, text.get() + length, capacity - length);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                ok = false;
            if (got <= 0)
                break;
            length += static_cast<size_t>(got);
        }
        if (!ok || length == capacity) {
            console::error("read %s failed\n", path);
            ok = false;
        }
    }
    ::close(fd);
    return ok;
}

// The first line holding each keyword. Every keyword has an '_', so one pass
// over the underscores finds them all; a data section has none.
void findKeywordLines(const char *text, const char *end, const char *lineBegin[keywordCount],
                      const char *lineEnd[keywordCount])
{
    int missing = keywordCount;
    for (int k = 0; k < keywordCount; ++k)
        lineBegin[k] = lineEnd[k] = nullptr;
    const char *p = text;
    while (missing > 0 && p < end) {
        const auto *underscore = static_cast<const char *>(std::memchr(p, '_', static_cast<size_t>(end - p)));
        if (underscore == nullptr)
            break;
        for (int k = 0; k < keywordCount; ++k) {
            if (lineBegin[k] != nullptr)
                continue;
            const char *word = keywordText[k];
            const size_t before = static_cast<size_t>(std::strchr(word, '_') - word);
            const size_t length = std::strlen(word);
            if (static_cast<size_t>(underscore - text) < before)
                continue;
            const char *start = underscore - before;
            if (static_cast<size_t>(end - start) < length || std::memcmp(start, word, length) != 0)
                continue;
            const char *begin = start;
            while (begin > text && begin[-1] != '\n')
                --begin;
            // Text after a NUL byte is not part of its line.
            if (std::memchr(begin, '\0', static_cast<size_t>(start - begin)) != nullptr)
                continue;
            const auto *newline = static_cast<const char *>(std::memchr(start, '\n', static_cast<size_t>(end - start)));
            lineBegin[k] = begin;
            lineEnd[k] = cubetext::textEnd(begin, newline != nullptr ? newline : end);
            --missing;
        }
        p = underscore + 1;
    }
}

// The text after the line's first word ("%*s").
bool afterFirstWord(const char *&p, const char *end)
{
    const char *wordBegin;
    const char *wordEnd;
    return cubetext::nextWord(p, end, wordBegin, wordEnd);
}

bool writeAndSync(FILE *file, bool ok)
{
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    sync();
    return ok;
}

} // namespace

Lut3D::Lut3D() = default;

Lut3D::~Lut3D() = default;

bool Lut3D::load(const char *path, const LutDebugType &debug)
{
    if (path == nullptr)
        return false;
    std::unique_ptr<char[]> text;
    size_t length = 0;
    if (!readFile(path, text, length))
        return false;
    const char *begin = text.get();
    const char *end = begin + length;

    std::lock_guard<std::mutex> lock(mutex);
    debugFlags = debug;
    const char *lineBegin[keywordCount];
    const char *lineEnd[keywordCount];
    findKeywordLines(begin, end, lineBegin, lineEnd);
    Header header;
    ParseLutFormat({lineBegin[KeyOrder], lineEnd[KeyOrder]}, header);
    ParseLutMax({lineBegin[KeyMax], lineEnd[KeyMax]}, header);
    ParseLutMin({lineBegin[KeyMin], lineEnd[KeyMin]}, header);
    ParseLutSize({lineBegin[KeySize], lineEnd[KeySize]}, header);
    if (!ParseLutData(begin, end, header)) {
        console::error("parse Lut data error\n");
        return false;
    }

    if (!translate()) {
        console::error("malloc error\n");
        return false;
    }
    order = header.order;
    domainMin = {header.domainMin[0], header.domainMin[1], header.domainMin[2]};
    domainMax = {header.domainMax[0], header.domainMax[1], header.domainMax[2]};
    if (debugFlags & LutDebugCube)
        debugLutCube();
    if (debugFlags & LutDebugRGB)
        debugLutRGB();
    return true;
}

void Lut3D::ParseLutFormat(const Line &line, Header &header) const
{
    header.order = LutOrderBGR;
    if (line.begin == nullptr)
        return;
    const char *p = line.begin;
    const char *wordBegin = nullptr;
    const char *wordEnd = nullptr;
    if (afterFirstWord(p, line.end) && cubetext::nextWord(p, line.end, wordBegin, wordEnd)) {
        const std::string word(wordBegin, wordEnd);
        if (word == "RGB") {
            header.order = LutOrderRGB;
            return;
        }
        if (word == "BGR")
            return;
    }
    console::error("%s:None\n", "LUT_ORDER");
}

void Lut3D::ParseLutMax(const Line &line, Header &header) const
{
    const char *p = line.begin;
    double values[3];
    if (p != nullptr && afterFirstWord(p, line.end) && cubetext::readNumbers(p, line.end, values, 3) == 3)
        std::copy(values, values + 3, header.domainMax);
}

void Lut3D::ParseLutMin(const Line &line, Header &header) const
{
    const char *p = line.begin;
    double values[3];
    if (p != nullptr && afterFirstWord(p, line.end) && cubetext::readNumbers(p, line.end, values, 3) == 3)
        std::copy(values, values + 3, header.domainMin);
}

void Lut3D::ParseLutSize(const Line &line, Header &header) const
{
    header.size = gridPoints;
    const char *p = line.begin;
    int value = 0;
    if (p != nullptr && afterFirstWord(p, line.end) && cubetext::readInt(p, line.end, value))
        header.size = value;
    header.skip = header.size == 33 ? 1 : header.size == 65 ? 3 : 0;
}

bool Lut3D::ParseLutData(const char *text, const char *end, const Header &header)
{
    const int n = header.size;
    if (n != 17 && n != 33 && n != 65) {
        console::error("LUT_3D_SIZE %d is not supported\n", n);
        return false;
    }
    // Keyword, title and comment lines before the data hold no three numbers.
    cubetext::LineCursor line(text, end);
    double value[3];
    while (line.valid() && cubetext::readNumbers(line.begin(), line.end(), value, 3) != 3)
        line.next();
    if (!allocateDataBuffer()) {
        console::error("malloc error\n");
        releaseDataBuffer();
        return false;
    }

    // A file lists red fastest, then green, then blue. Of a 33 or 65-point
    // file every second or fourth point on each axis is kept: within a row
    // skip lines between kept points, after a row the rows between, after a
    // plane the planes between; the line read ahead is already the next row
    // or plane.
    const long s = header.skip;
    for (int b = 0; b < gridPoints; ++b) {
        for (int g = 0; g < gridPoints; ++g) {
            for (int r = 0; r < gridPoints; ++r) {
                if (!line.valid() || cubetext::readNumbers(line.begin(), line.end(), value, 3) != 3) {
                    console::print("read cube rgb data error\n");
                    releaseDataBuffer();
                    return false;
                }
                int groupIndex = 0;
                int index = 0;
                locate(r, g, b, groupIndex, index);
                group[groupIndex][index] = {value[0], value[1], value[2]};
                if (r != lastIndex)
                    line.skip(s);
                line.next();
            }
            if (g != lastIndex)
                line.skip(s * n);
        }
        if (b != lastIndex)
            line.skip(s * n * n);
    }
    return true;
}

bool Lut3D::allocateDataBuffer()
{
    for (int i = 0; i < groupCount; ++i) {
        if (group[i] == nullptr)
            group[i].reset(new (std::nothrow) RGBvec[groupSize[i]]);
        if (group[i] == nullptr)
            return false;
    }
    return true;
}

void Lut3D::releaseDataBuffer()
{
    for (auto &buffer : group)
        buffer.reset();
}

bool Lut3D::translate()
{
    if (grid == nullptr)
        grid.reset(new (std::nothrow) RGBvec[lutWords]);
    if (grid == nullptr)
        return false;
    RGBvec *out = grid.get();
    for (int i = 0; i < groupCount; ++i)
        out = std::copy(group[i].get(), group[i].get() + groupSize[i], out);
    return true;
}

bool Lut3D::copy(int *dest, const int &words)
{
    std::lock_guard<std::mutex> lock(mutex);
    const double range[3] = {domainMax.r - domainMin.r, domainMax.g - domainMin.g, domainMax.b - domainMin.b};
    if (dest == nullptr || words < lutWords || !(range[0] > 0.0) || !(range[1] > 0.0) || !(range[2] > 0.0)) {
        console::error("param error[size:%d  value_r:%f value_g:%f value_b:%f]\n", words, range[0], range[1],
                       range[2]);
        return false;
    }
    if (grid == nullptr) {
        console::error("no 3DLut loaded\n");
        return false;
    }
    pack(dest);
    return true;
}

void Lut3D::pack(int *dest) const
{
    const double range[3] = {domainMax.r - domainMin.r, domainMax.g - domainMin.g, domainMax.b - domainMin.b};
    const double scale = outputScale;
    // Clamped to the 10-bit field: NaN and values below the domain give 0,
    // values beyond its maximum 1023.
    auto code = [&](double value, int component) -> unsigned int {
        const double scaled = value / range[component] * scale;
        if (!(scaled > 0.0))
            return 0;
        return scaled >= scale ? static_cast<unsigned int>(outputScale) : static_cast<unsigned int>(scaled);
    };
    for (int i = 0; i < lutWords; ++i) {
        const unsigned int r = code(grid[i].r, 0);
        const unsigned int g = code(grid[i].g, 1);
        const unsigned int b = code(grid[i].b, 2);
        const unsigned int word = order == LutOrderRGB ? (r << 20) | (g << 10) | b : (b << 20) | (g << 10) | r;
        dest[i] = static_cast<int>(word);
    }
}

void Lut3D::debugLutCube() const
{
    FILE *file = std::fopen("./debug.cube", "w");
    if (file == nullptr) {
        console::error("save error\n");
        return;
    }
    bool ok = true;
    for (int i = 0; i < lutWords; ++i)
        ok = std::fprintf(file, "%.4f  %.4f  %.4f\n", grid[i].r, grid[i].g, grid[i].b) > 0 && ok;
    if (!writeAndSync(file, ok))
        console::error("save error\n");
}

void Lut3D::debugLutRGB() const
{
    FILE *file = std::fopen("./debug.rgb", "w");
    if (file == nullptr) {
        console::error("save error\n");
        return;
    }
    std::unique_ptr<int[]> words(new int[lutWords]);
    pack(words.get());
    bool ok = true;
    for (int i = 0; i < lutWords; ++i)
        ok = std::fprintf(file, "0x%08x\n", static_cast<unsigned int>(words[i])) > 0 && ok;
    if (!writeAndSync(file, ok))
        console::error("save error\n");
}
