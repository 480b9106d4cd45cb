// Any bytes as a 3D cube file: the parser must not crash or read past its
// buffer, must agree with a slow, line-by-line reading of the same rules, and
// must leave the grid of the last good load in force when a file fails.
//
// Raw bytes rarely make a file of thousands of good lines, so an input that
// holds a 0xFF byte is read as a recipe instead: the bytes before it are the
// header, verbatim; after it, one byte picks the number of data lines (about
// 17 or 33 cubed; 65 points take the 33-point path with a longer stride), one
// shifts it by a few lines, and each following group
// of four bytes puts a defect (a blank line, two numbers, a comment, a NUL, an
// odd number) on one line of the data.

#include "Lut3D.h"
#include "ScratchFile.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The file's lines, each up to its NUL byte: start and length in the text.
std::vector<std::pair<size_t, size_t>> lines(const std::string &text)
{
    std::vector<std::pair<size_t, size_t>> result;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const void *nul = std::memchr(text.data() + start, '\0', end - start);
        result.emplace_back(start, nul != nullptr ? static_cast<size_t>(static_cast<const char *>(nul) - text.data()) - start
                                                  : end - start);
        start = end + 1;
    }
    return result;
}

// Numbers as strtod reads them in the C locale, one after the other.
int numbers(const std::string &line, size_t from, double *values, int count)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const char *p = line.c_str() + std::min(from, line.size());
    for (int i = 0; i < count; ++i) {
        char *stop = nullptr;
        values[i] = strtod_l(p, &stop, cLocale);
        if (stop == p)
            return i;
        p = stop;
    }
    return count;
}

// Where the text after the first word begins ("%*s"); npos when there is no word.
size_t afterFirstWord(const std::string &line)
{
    size_t p = 0;
    while (p < line.size() && isSpace(line[p]))
        ++p;
    if (p == line.size())
        return std::string::npos;
    while (p < line.size() && !isSpace(line[p]))
        ++p;
    return p;
}

// The first line holding the keyword; empty when none does.
bool keywordLine(const std::string &text, const std::vector<std::pair<size_t, size_t>> &all, const char *keyword,
                 std::string &line)
{
    const size_t length = std::strlen(keyword);
    for (const auto &each : all) {
        if (memmem(text.data() + each.first, each.second, keyword, length) != nullptr) {
            line = text.substr(each.first, each.second);
            return true;
        }
    }
    return false;
}

struct Result {
    bool loaded = false;
    bool copied = false;
    std::vector<int> words;
};

// The rules read slowly: keyword lines, then the data, line by line.
Result reference(const std::string &text)
{
    Result result;
    const auto all = lines(text);
    std::string line;
    bool rgb = false;
    if (keywordLine(text, all, "LUT_ORDER", line)) {
        const size_t p = afterFirstWord(line);
        size_t w = p == std::string::npos ? line.size() : p;
        while (w < line.size() && isSpace(line[w]))
            ++w;
        size_t e = w;
        while (e < line.size() && !isSpace(line[e]))
            ++e;
        rgb = line.substr(w, e - w) == "RGB";
    }
    double maxima[3] = {1, 1, 1}, minima[3] = {0, 0, 0}, values[3];
    if (keywordLine(text, all, "DOMAIN_MAX", line))
        if (afterFirstWord(line) != std::string::npos && numbers(line, afterFirstWord(line), values, 3) == 3)
            std::copy(values, values + 3, maxima);
    if (keywordLine(text, all, "DOMAIN_MIN", line))
        if (afterFirstWord(line) != std::string::npos && numbers(line, afterFirstWord(line), values, 3) == 3)
            std::copy(values, values + 3, minima);
    long n = 17;
    if (keywordLine(text, all, "LUT_3D_SIZE", line)) {
        const size_t p = afterFirstWord(line);
        if (p != std::string::npos) {
            const char *start = line.c_str() + p;
            char *stop = nullptr;
            const long value = std::strtol(start, &stop, 10);
            if (stop != start)
                n = std::min<long>(std::max<long>(value, INT_MIN), INT_MAX);
        }
    }
    if (n != 17 && n != 33 && n != 65)
        return result;
    auto lineText = [&](size_t index) { return text.substr(all[index].first, all[index].second); };
    size_t first = 0;
    while (first < all.size() && numbers(lineText(first), 0, values, 3) != 3)
        ++first;
    const long step = (n - 1) / 16;
    std::vector<std::array<double, 3>> grid(4913);
    for (long b = 0; b < 17; ++b) {
        for (long g = 0; g < 17; ++g) {
            for (long r = 0; r < 17; ++r) {
                const size_t index = first + static_cast<size_t>(step * (b * n * n + g * n + r));
                if (index >= all.size() || numbers(lineText(index), 0, values, 3) != 3)
                    return result;
                const bool R = r == 16, G = g == 16, B = b == 16;
                long word = !R && !G && !B ? 256 * b + 16 * g + r
                          : R && !G && !B  ? 4096 + 16 * b + g
                          : !R && G && !B  ? 4352 + 16 * b + r
                          : !R && !G && B  ? 4608 + 16 * g + r
                          : R && G && !B   ? 4864 + b
                          : R && !G && B   ? 4880 + g
                          : !R && G && B   ? 4896 + r
                                           : 4912;
                grid[static_cast<size_t>(word)] = {values[0], values[1], values[2]};
            }
        }
    }
    result.loaded = true;
    double range[3];
    for (int c = 0; c < 3; ++c)
        range[c] = maxima[c] - minima[c];
    if (!(range[0] > 0) || !(range[1] > 0) || !(range[2] > 0))
        return result;
    result.copied = true;
    for (const auto &point : grid) {
        unsigned code[3];
        for (int c = 0; c < 3; ++c) {
            const double scaled = point[static_cast<size_t>(c)] / range[c] * 1023;
            code[c] = !(scaled > 0) ? 0 : scaled >= 1023 ? 1023 : static_cast<unsigned>(scaled);
        }
        result.words.push_back(static_cast<int>(rgb ? (code[0] << 20) | (code[1] << 10) | code[2]
                                                    : (code[2] << 20) | (code[1] << 10) | code[0]));
    }
    return result;
}

std::string recipe(const std::string &input)
{
    const size_t marker = input.find('\xFF');
    if (marker == std::string::npos)
        return input;
    const std::string steps = input.substr(marker + 1);
    static const long sizes[] = {17L * 17 * 17, 33L * 33 * 33};
    long lines = sizes[0];
    if (steps.size() >= 2)
        lines = sizes[static_cast<uint8_t>(steps[0]) % 2] + static_cast<int8_t>(steps[1]) % 3;
    static const std::string kinds[] = {"",       "0.5 0.25", "# 1 2 3", std::string("0.5 \0 0.25 1", 12),
                                        "nan inf -1e400", "  0x1p-1\t+.5e0 1.", "1,2,3", "1e 2 3"};
    std::vector<int> defect(static_cast<size_t>(lines), -1);
    for (size_t i = 2; i + 4 <= steps.size(); i += 4) {
        const long at = ((static_cast<uint8_t>(steps[i]) << 16) | (static_cast<uint8_t>(steps[i + 1]) << 8)
                         | static_cast<uint8_t>(steps[i + 2]))
                      % lines;
        defect[static_cast<size_t>(at)] = static_cast<uint8_t>(steps[i + 3]) % 8;
    }
    // The good lines, made once.
    static const std::vector<std::string> good = [] {
        std::vector<std::string> made;
        char line[64];
        for (long i = 0; i < sizes[1] + 2; ++i) {
            std::snprintf(line, sizeof(line), "%.6f %.6f %.6f\n", (i % 17) / 16.0, (i / 17 % 7) / 6.0,
                          (i % 101) / 100.0);
            made.emplace_back(line);
        }
        return made;
    }();
    std::string text = input.substr(0, marker);
    for (long i = 0; i < lines; ++i) {
        const int kind = defect[static_cast<size_t>(i)];
        text += kind >= 0 ? kinds[kind] + "\n" : good[static_cast<size_t>(i)];
    }
    return text;
}

std::vector<int> packed(bool &ok)
{
    std::vector<int> words(Lut3D::lutWords);
    ok = Lut3D::getInstance()->copy(words.data(), Lut3D::lutWords);
    return words;
}

const ScratchFile &scratch()
{
    static const ScratchFile file("cube3d");
    return file;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A good grid first, so that failures have something to keep.
    std::string text = "LUT_3D_SIZE 17\n";
    for (int i = 0; i < 4913; ++i)
        text += std::to_string(i % 17 / 16.0) + " 0.5 " + std::to_string(i / 289 / 16.0) + "\n";
    if (scratch().write(text))
        Lut3D::getInstance()->load(scratch().path().c_str(), Lut3D::LutDebugNone);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text = recipe(std::string(reinterpret_cast<const char *>(data), size));
    if (!scratch().write(text))
        return 0;

    bool before = false;
    const std::vector<int> previous = packed(before);
    const bool loaded = Lut3D::getInstance()->load(scratch().path().c_str(), Lut3D::LutDebugNone);
    const Result expected = reference(text);
    if (loaded != expected.loaded)
        std::abort();
    bool copied = false;
    const std::vector<int> words = packed(copied);
    if (!loaded) {
        // The last good grid, with its settings, is still the one in force.
        if (copied != before || words != previous)
            std::abort();
        return 0;
    }
    if (copied != expected.copied || (copied && words != expected.words))
        std::abort();
    return 0;
}
