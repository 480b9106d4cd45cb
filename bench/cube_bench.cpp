// Loading a 3D LUT file: the application's parser against the floor (reading
// the file and finding every line end) and against a plain parser that scans
// every line with sscanf, on generated 17, 33 and 65-point files, side by side.
// Prints the ratios at the end.

#include "Lut3D.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string &directory()
{
    static const std::string dir = [] {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/cube-bench-XXXXXX";
        return std::string(mkdtemp(pattern.data()));
    }();
    return dir;
}

// A file of n points a side with a typical header, red fastest.
std::string cubeFile(int n)
{
    const std::string path = directory() + "/lut" + std::to_string(n) + ".cube";
    if (std::filesystem::exists(path))
        return path;
    FILE *file = std::fopen(path.c_str(), "w");
    std::fprintf(file, "# Created by the benchmark\nTITLE \"grade %d\"\nLUT_3D_SIZE %d\n", n, n);
    std::fprintf(file, "DOMAIN_MIN 0.0 0.0 0.0\nDOMAIN_MAX 1.0 1.0 1.0\n\n");
    for (int b = 0; b < n; ++b)
        for (int g = 0; g < n; ++g)
            for (int r = 0; r < n; ++r) {
                const double x = r / double(n - 1), y = g / double(n - 1), z = b / double(n - 1);
                std::fprintf(file, "%.6f %.6f %.6f\n", std::pow(x, 0.9), 0.5 * (x + y) * z + 0.5 * y, std::sqrt(z));
            }
    std::fclose(file);
    return path;
}

// The floor: the file read once and every line end found.
size_t readAndFindLines(const std::string &path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status;
    fstat(fd, &status);
    const size_t capacity = static_cast<size_t>(status.st_size) + 1;
    std::unique_ptr<char[]> text(new char[capacity]);
    size_t length = 0;
    ssize_t got;
    while (length < capacity && (got = read(fd, text.get() + length, capacity - length)) > 0)
        length += static_cast<size_t>(got);
    close(fd);
    size_t lines = 0;
    const char *p = text.get();
    const char *end = p + length;
    while (p < end) {
        const void *newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
        if (newline == nullptr)
            break;
        p = static_cast<const char *>(newline) + 1;
        ++lines;
    }
    return lines;
}

// The straightforward parser: one pass per keyword, then every line through
// sscanf, keeping every step-th point of each axis, packed as the logic wants.
bool plainParse(const std::string &path, std::vector<int> &words)
{
    int n = 17;
    double maxima[3] = {1, 1, 1};
    for (const char *keyword : {"LUT_ORDER", "DOMAIN_MAX", "DOMAIN_MIN", "LUT_3D_SIZE"}) {
        FILE *file = std::fopen(path.c_str(), "r");
        char line[256];
        while (std::fgets(line, sizeof(line), file) != nullptr) {
            if (std::strstr(line, keyword) == nullptr)
                continue;
            if (std::strcmp(keyword, "LUT_3D_SIZE") == 0)
                std::sscanf(line, "%*s%d", &n);
            else if (std::strcmp(keyword, "DOMAIN_MAX") == 0)
                std::sscanf(line, "%*s%lf%lf%lf", &maxima[0], &maxima[1], &maxima[2]);
            break;
        }
        std::fclose(file);
    }
    const int step = (n - 1) / 16;
    FILE *file = std::fopen(path.c_str(), "r");
    char line[256];
    long index = 0;
    int kept = 0;
    while (std::fgets(line, sizeof(line), file) != nullptr && kept < Lut3D::lutWords) {
        double v[3];
        if (std::sscanf(line, "%lf%lf%lf", &v[0], &v[1], &v[2]) != 3)
            continue;
        const long r = index % n, g = index / n % n, b = index / n / n;
        ++index;
        if (r % step != 0 || g % step != 0 || b % step != 0)
            continue;
        auto code = [&](int c) { return static_cast<unsigned>(std::fmin(std::fmax(v[c] / maxima[c] * 1023, 0), 1023)); };
        words[static_cast<size_t>(kept++)] = static_cast<int>((code(2) << 20) | (code(1) << 10) | code(0));
    }
    std::fclose(file);
    return kept == Lut3D::lutWords;
}

void Floor(benchmark::State &state)
{
    const std::string path = cubeFile(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(readAndFindLines(path));
}

void Plain(benchmark::State &state)
{
    const std::string path = cubeFile(static_cast<int>(state.range(0)));
    std::vector<int> words(Lut3D::lutWords);
    for (auto _ : state) {
        if (!plainParse(path, words))
            state.SkipWithError("plain parse failed");
        benchmark::DoNotOptimize(words.data());
    }
}

void Load(benchmark::State &state)
{
    const std::string path = cubeFile(static_cast<int>(state.range(0)));
    std::vector<int> words(Lut3D::lutWords);
    Lut3D &lut = *Lut3D::getInstance();
    for (auto _ : state) {
        if (!lut.load(path.c_str(), Lut3D::LutDebugNone) || !lut.copy(words.data(), Lut3D::lutWords))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(words.data());
    }
}

BENCHMARK(Floor)->Arg(17)->Arg(33)->Arg(65)->Unit(benchmark::kMicrosecond);
BENCHMARK(Load)->Arg(17)->Arg(33)->Arg(65)->Unit(benchmark::kMicrosecond);
BENCHMARK(Plain)->Arg(17)->Arg(33)->Arg(65)->Unit(benchmark::kMicrosecond);

// Keeps each run's time per iteration by name, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-8s %14s %14s\n", "points", "load / floor", "plain / load");
    for (const char *n : {"17", "33", "65"}) {
        const double floor = reporter.times["Floor/" + std::string(n)];
        const double load = reporter.times["Load/" + std::string(n)];
        const double plain = reporter.times["Plain/" + std::string(n)];
        if (floor > 0 && load > 0 && plain > 0)
            std::printf("%-8s %14.2f %14.1f\n", n, load / floor, plain / load);
    }
    std::filesystem::remove_all(directory());
    return 0;
}
