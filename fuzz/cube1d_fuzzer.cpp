// Any bytes as a 1D curve file: the reader must not crash or read past its
// buffer, must agree with a slow reading of the same rules, and must leave
// the table as it was when a file fails.

#include "Lut1D.h"
#include "ScratchFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int numbers(const std::string &line, double *values)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const char *p = line.c_str();
    for (int i = 0; i < 3; ++i) {
        char *stop = nullptr;
        values[i] = strtod_l(p, &stop, cLocale);
        if (stop == p)
            return i;
        p = stop;
    }
    return 3;
}

unsigned code(double value)
{
    const float scaled = 0.5f + static_cast<float>(value) * 1023.0f;
    return !(scaled > 0.0f) ? 0 : scaled >= 1023.0f ? 1023 : static_cast<unsigned>(scaled);
}

// The rules read slowly: lines up to their NUL, numbered lines stored,
// one or two numbers fail.
bool reference(const std::string &text, std::vector<int> &table)
{
    size_t start = 0;
    int stored = 0;
    while (start < text.size() && stored < Lut1D::tableWords) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string whole = text.substr(start, end - start);
        const std::string line = whole.substr(0, whole.find('\0'));
        start = end;
        double v[3];
        const int count = numbers(line, v);
        if (count == 3)
            table[static_cast<size_t>(stored++)] = static_cast<int>((code(v[0]) << 20) + (code(v[1]) << 10) + code(v[2]));
        else if (count > 0)
            return false;
    }
    return stored == Lut1D::tableWords;
}

const ScratchFile &scratch()
{
    static const ScratchFile file("cube1d");
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (!scratch().write(text))
        return 0;

    const std::vector<int> sentinel(Lut1D::tableWords, 0x5A5A5A5A);
    std::vector<int> table = sentinel;
    const bool loaded = Lut1D::getInstance()->load(scratch().path().c_str(), table.data());
    std::vector<int> expected(Lut1D::tableWords);
    if (loaded != reference(text, expected))
        std::abort();
    if (loaded ? table != expected : table != sentinel)
        std::abort();
    return 0;
}
