#include "Lut1D.h"

#include "Console.h"
#include "CubeText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr float codeMax = 1023.0f;

// Rounded to the nearest code value, in single precision; out-of-range values
// and NaN are held to 0-1023 so that no component spills into its neighbour.
unsigned int code(double value)
{
    const float scaled = 0.5f + static_cast<float>(value) * codeMax;
    if (!(scaled > 0.0f))
        return 0;
    return scaled >= codeMax ? static_cast<unsigned int>(codeMax) : static_cast<unsigned int>(scaled);
}

} // namespace

bool Lut1D::load(const char *path, int *table)
{
    FILE *file = path != nullptr && table != nullptr ? std::fopen(path, "r") : nullptr;
    if (file == nullptr)
        return false;
    std::unique_ptr<int[]> words(new int[tableWords]);
    int stored = 0;
    bool broken = false;
    char *line = nullptr;
    size_t capacity = 0;
    ssize_t length;
    while (stored < tableWords && !broken && (length = getline(&line, &capacity, file)) >= 0) {
        double value[3];
        const int numbers = cubetext::readNumbers(line, line + length, value, 3);
        if (numbers == 3) {
            words[stored++] = static_cast<int>((code(value[0]) << 20) + (code(value[1]) << 10) + code(value[2]));
        } else if (numbers > 0) {
            console::error("read cube rgb data error\n");
            broken = true;
        }
    }
    std::free(line);
    std::fclose(file);
    if (stored < tableWords)
        return false;
    std::memcpy(table, words.get(), sizeof(int) * tableWords);
    return true;
}
