#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

// Cube files as tests need them: a header, then n x n x n data lines with red
// changing fastest, each the given function of the point's position on the
// three axes (0 to 1).
using CubeColour = std::function<void(double x, double y, double z, double out[3])>;

inline std::string cubeText(int n, const CubeColour &colour, const std::string &header = std::string(),
                            bool sizeLine = true)
{
    std::string text = header;
    if (sizeLine)
        text += "LUT_3D_SIZE " + std::to_string(n) + "\n";
    char line[1024];
    for (int b = 0; b < n; ++b) {
        for (int g = 0; g < n; ++g) {
            for (int r = 0; r < n; ++r) {
                double out[3];
                colour(r / double(n - 1), g / double(n - 1), b / double(n - 1), out);
                std::snprintf(line, sizeof(line), "%.6f %.6f %.6f\n", out[0], out[1], out[2]);
                text += line;
            }
        }
    }
    return text;
}

// Each point holds its own position: red is x, green y, blue z.
inline void positionColour(double x, double y, double z, double out[3])
{
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

// A 17-point cube whose every point is the same grey, and the LUT memory
// words of half and full level.
inline std::string constantCube(double value)
{
    return cubeText(17, [value](double, double, double, double out[3]) { out[0] = out[1] = out[2] = value; });
}

constexpr uint32_t halfWord = (511u << 20) | (511u << 10) | 511u;
constexpr uint32_t whiteWord = (1023u << 20) | (1023u << 10) | 1023u;

inline bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

inline std::string readText(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void writeText(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}
