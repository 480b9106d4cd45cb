// Any bytes as a file chosen for frame compare: the first byte picks the
// format (raw, BMP, PNG or TIFF), the rest is the file. The loader must not
// crash or read past its buffers, must refuse anything that is not a 1920 x
// 1080 picture, and must leave the compare memory untouched when it refuses.
//
// Raw bytes almost never make a file of exactly 1080 full lines, so a raw
// input whose second byte is 0xFF is read as a recipe: its remaining bytes,
// repeated, fill a file of exactly that size, give or take the number of bytes
// in its third byte (signed).

#include "FrameOption.h"
#include "FuzzBoard.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr size_t lineWords = FrameOption::memoryStride;
constexpr size_t rawBytes = static_cast<size_t>(FrameOption::lineBytes) * FrameOption::frameHeight;
const char *const formats[] = {"fm", "bmp", "png", "tiff"};

// Made once, kept to the end: the folder goes at exit, after every input.
const std::string &scratchDir()
{
    static const std::string *dir = [] {
        std::string pattern = "/dev/shm/frame-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        auto *made = new std::string(pattern);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(*dir, ignored);
        });
        return made;
    }();
    return *dir;
}

std::string rawRecipe(const std::string &body)
{
    if (body.size() < 2 || static_cast<uint8_t>(body[0]) != 0xFF)
        return body;
    const long size = static_cast<long>(rawBytes) + static_cast<int8_t>(body[1]);
    const std::string pattern = body.size() > 2 ? body.substr(2) : std::string(1, '\0');
    std::string file(static_cast<size_t>(size), '\0');
    for (size_t i = 0; i < file.size(); ++i)
        file[i] = pattern[i % pattern.size()];
    return file;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (startFuzzBoard() == nullptr)
        std::abort();
    FrameOption::getInstance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const char *format = formats[data[0] % 4];
    std::string body(reinterpret_cast<const char *>(data + 1), size - 1);
    const bool raw = std::strcmp(format, "fm") == 0;
    if (raw)
        body = rawRecipe(body);
    const std::string path = scratchDir() + "/input." + format;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << body;

    static std::vector<int> memory(lineWords * FrameOption::frameHeight);
    static std::vector<int> before;
    for (size_t i = 0; i < memory.size(); ++i)
        memory[i] = static_cast<int>(i * 2654435761u);
    before = memory;
    const bool loaded = FrameOption::getInstance()->load(path, memory.data(), static_cast<int>(lineWords));
    if (!loaded) {
        if (memory != before)
            std::abort();
        return 0;
    }
    if (raw) {
        if (body.size() != rawBytes)
            std::abort();
        // Every line as the file has it; the words beyond 1920 untouched.
        for (size_t y = 0; y < FrameOption::frameHeight; ++y) {
            const int *line = memory.data() + y * lineWords;
            if (std::memcmp(line, body.data() + y * FrameOption::lineBytes, FrameOption::lineBytes) != 0
                || std::memcmp(line + FrameOption::frameWidth, before.data() + y * lineWords + FrameOption::frameWidth,
                               (lineWords - FrameOption::frameWidth) * sizeof(int)) != 0)
                std::abort();
        }
    }
    return 0;
}
