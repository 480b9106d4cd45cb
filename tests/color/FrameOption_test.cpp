#include "BoardTest.h"
#include "FrameCtl.h"
#include "FrameOption.h"
#include "HardwarePath.h"
#include "OutputCapture.h"
#include "TestPicture.h"
#include "VideoOption.h"
#include "Wait.h"

#include <QImageReader>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t pixelBits = 0x3FFFFFFFu;
constexpr size_t rawBytes = 1080u * 7680u;

// A capture that came out of the application: the file and its pixels.
struct Capture {
    int code = -1;
    fs::path file;
    QImage picture; // RGB30 words, 1920 x 1080
};

class FrameOptionTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        output.start();
        frames = FrameCtl::getInstance();
        option = FrameOption::getInstance();
        video = VideoOption::getInstance();
        QObject::connect(option, &FrameOption::frameCompleted, &receiver,
                         [codes = codes](int code) { codes->push_back(code); });
    }

    void TearDown() override
    {
        output.stop();
        BoardTest::TearDown();
    }

    // A source on the main channel, once the application's decoders know it.
    void sdiSource(const std::string &size, const std::string &rate, bool interlaced)
    {
        video->setInput(VideoOption::MAIN_CHANNEL, "SDI");
        sim::VideoModel::Format format;
        std::string error;
        ASSERT_TRUE(sim::VideoModel::parseFormat(size, rate, format, error)) << error;
        ASSERT_TRUE(board().video().sdi(format, error)) << error;
        ASSERT_TRUE(waitUntil([&] { return (video->getInterlance() != Video::PROGRESSIVE) == interlaced; }));
    }

    fs::path imageDir() const { return fs::path(hw::path("/run/media/sdb1/Image")); }

    std::vector<fs::path> files(bool hidden = false) const
    {
        std::vector<fs::path> found;
        std::error_code error;
        for (fs::directory_iterator entry(imageDir(), error), end; !error && entry != end; entry.increment(error)) {
            if (hidden == (entry->path().filename().string()[0] == '.'))
                found.push_back(entry->path());
        }
        return found;
    }

    int waitCode()
    {
        const size_t before = handled;
        if (!waitUntil([&] { return codes->size() > before; }))
            return -1;
        return (*codes)[handled++];
    }

    // The capture sequence of the page: request, arm, wait for the
    // completion, release.
    int capture(int width, int height)
    {
        option->saveFrameOp(width, height, static_cast<int *>(frames->saveAddress()), 2048);
        frames->frameSave(0);
        const int code = waitCode();
        release();
        return code;
    }

    // Disarmed, for as long as the logic needs to see it.
    void release()
    {
        frames->frameSave(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    Capture captureFile(int width, int height, const std::string &suffix)
    {
        std::string format = suffix;
        EXPECT_TRUE(FrameOption::setFrameSuffix(format));
        Capture result;
        const std::vector<fs::path> before = files();
        result.code = capture(width, height);
        for (const fs::path &file : files()) {
            if (std::find(before.begin(), before.end(), file) == before.end())
                result.file = file;
        }
        if (!result.file.empty())
            result.picture = readPicture(result.file);
        return result;
    }

    static QImage readPicture(const fs::path &file)
    {
        if (file.extension() == ".fm") {
            std::ifstream in(file, std::ios::binary);
            std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (bytes.size() != rawBytes)
                return QImage();
            QImage picture(1920, 1080, QImage::Format_RGB30);
            for (int y = 0; y < 1080; ++y)
                std::memcpy(picture.scanLine(y), bytes.data() + static_cast<size_t>(y) * 7680, 7680);
            return picture;
        }
        QImage image(QString::fromStdString(file.string()));
        if (image.depth() > 32)
            image = image.convertToFormat(QImage::Format_RGBX64);
        return image.convertToFormat(QImage::Format_RGB30);
    }

    // The test picture the grabber delivered for the last capture.
    QImage delivered(int width, int height, const std::string &label)
    {
        return sim::TestPicture::render(width, height, board().picture().lastCaptureFrame(), label);
    }

    // A picture scaled without smoothing: each pixel is the source pixel
    // under its centre.
    static QImage underCentres(const QImage &source, int width, int height)
    {
        QImage scaled(width, height, QImage::Format_RGB30);
        for (int y = 0; y < height; ++y) {
            const double sy = (y + 0.5) * source.height() / height;
            const auto *in = reinterpret_cast<const uint32_t *>(source.constScanLine(static_cast<int>(sy)));
            auto *out = reinterpret_cast<uint32_t *>(scaled.scanLine(y));
            for (int x = 0; x < width; ++x)
                out[x] = in[static_cast<int>((x + 0.5) * source.width() / width)];
        }
        return scaled;
    }

    // Pixels that differ by more than the tolerance in some component.
    static int differences(const QImage &a, const QImage &b, int tolerance = 0)
    {
        if (a.size() != b.size())
            return -1;
        int count = 0;
        for (int y = 0; y < a.height(); ++y) {
            const auto *p = reinterpret_cast<const uint32_t *>(a.constScanLine(y));
            const auto *q = reinterpret_cast<const uint32_t *>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                for (int shift : {0, 10, 20}) {
                    const int u = static_cast<int>((p[x] >> shift) & 0x3FFu);
                    const int v = static_cast<int>((q[x] >> shift) & 0x3FFu);
                    if (std::abs(u - v) > tolerance) {
                        ++count;
                        break;
                    }
                }
            }
        }
        return count;
    }

    // The compare memory as a picture.
    QImage loadMemory() const
    {
        QImage picture(1920, 1080, QImage::Format_RGB30);
        const auto *memory = static_cast<const uint32_t *>(frames->loadAddress());
        for (int y = 0; y < 1080; ++y)
            std::memcpy(picture.scanLine(y), memory + static_cast<size_t>(y) * 2048, 7680);
        return picture;
    }

    int load(const std::string &path)
    {
        option->loadFrameOp(path, static_cast<int *>(frames->loadAddress()), 2048);
        return waitCode();
    }

    // A recognisable compare memory, to see that a failed load leaves it.
    void markLoadMemory()
    {
        auto *memory = static_cast<uint32_t *>(frames->loadAddress());
        for (size_t i = 0; i < 2048u * 1080u; ++i)
            memory[i] = static_cast<uint32_t>(i * 2654435761u) & pixelBits;
    }

    bool loadMemoryMarked() const
    {
        const auto *memory = static_cast<const uint32_t *>(frames->loadAddress());
        for (size_t i = 0; i < 2048u * 1080u; ++i) {
            if (memory[i] != (static_cast<uint32_t>(i * 2654435761u) & pixelBits))
                return false;
        }
        return true;
    }

    sim::OutputCapture output;
    FrameCtl *frames = nullptr;
    FrameOption *option = nullptr;
    VideoOption *video = nullptr;
    QObject receiver;
    std::shared_ptr<std::vector<int>> codes = std::make_shared<std::vector<int>>();
    size_t handled = 0;
};

TEST_F(FrameOptionTest, RawCaptureOfAnInterlacedSourceInterleavesItsFields)
{
    ASSERT_TRUE(board().tree().insertUsb('b'));
    sdiSource("1920x1080", "50i", true);
    const Capture capture = captureFile(1920, 1080, "fm");
    ASSERT_EQ(capture.code, FrameOption::SAVE_DONE);
    ASSERT_FALSE(capture.file.empty());
    EXPECT_EQ(fs::file_size(capture.file), rawBytes);
    struct stat info;
    ASSERT_EQ(stat(capture.file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // yyyy-MM-dd_hh-mm-ss.fm
    const std::string name = capture.file.filename().string();
    EXPECT_EQ(name.size(), 22u) << name;
    EXPECT_EQ(name.substr(4, 1) + name.substr(7, 1) + name.substr(10, 1) + name.substr(13, 1) + name.substr(16, 1),
              "--_--");
    // The logic stored the fields one after the other; the file has the
    // whole picture again, line by line.
    EXPECT_EQ(differences(capture.picture, delivered(1920, 1080, "SDI 1920x1080 50i")), 0);
    EXPECT_TRUE(output.contains("start to save " + capture.file.string()));
    EXPECT_TRUE(output.contains("save " + capture.file.string() + " successfull"));
    EXPECT_TRUE(files(true).empty()) << "no temporary file stays";
}

TEST_F(FrameOptionTest, PicturesOfOtherSizesAreFittedTo1920By1080)
{
    ASSERT_TRUE(board().tree().insertUsb('b'));

    // 3840 x 2160 comes from the logic at 1920 x 1080 and is stored as it is.
    sdiSource("3840x2160", "30p", false);
    Capture capture = captureFile(3840, 2160, "fm");
    ASSERT_EQ(capture.code, FrameOption::SAVE_DONE);
    EXPECT_EQ(differences(capture.picture, delivered(1920, 1080, "SDI 3840x2160 30p")), 0);
    EXPECT_FALSE(output.contains("start to scaled"));

    // 1280 x 720 fills the frame exactly, every source pixel a 1.5 x 1.5 block.
    sdiSource("1280x720", "60p", false);
    capture = captureFile(1280, 720, "png");
    ASSERT_EQ(capture.code, FrameOption::SAVE_DONE);
    EXPECT_TRUE(output.contains("start to scaled from src[1280x720] to dest[1920x1080]"));
    const QImage small = delivered(1280, 720, "SDI 1280x720 60p");
    EXPECT_EQ(differences(capture.picture, underCentres(small, 1920, 1080)), 0);

    // 2048 x 1080 becomes 1920 x 1012 between two bands of 34 black lines.
    sdiSource("2048x1080", "24p", false);
    capture = captureFile(2048, 1080, "fm");
    ASSERT_EQ(capture.code, FrameOption::SAVE_DONE);
    const auto rowIsBlack = [&](int y) {
        const auto *line = reinterpret_cast<const uint32_t *>(capture.picture.constScanLine(y));
        return std::all_of(line, line + 1920, [](uint32_t w) { return (w & pixelBits) == 0; });
    };
    for (int y : {0, 33, 1046, 1079})
        EXPECT_TRUE(rowIsBlack(y)) << "line " << y;
    EXPECT_EQ(differences(capture.picture.copy(0, 34, 1920, 1012),
                          underCentres(delivered(2048, 1080, "SDI 2048x1080 24p"), 1920, 1012)),
              0);

    // A standard-definition picture is centred between black columns: 720 x
    // 486 fits as 1600 x 1080.
    sdiSource("720x486", "59.94i", true);
    capture = captureFile(720, 486, "fm");
    ASSERT_EQ(capture.code, FrameOption::SAVE_DONE);
    const QImage sd = underCentres(delivered(720, 486, "SDI 720x486 59.94i"), 1600, 1080);
    EXPECT_EQ(differences(capture.picture.copy(160, 0, 1600, 1080), sd), 0);
    const auto *row = reinterpret_cast<const uint32_t *>(capture.picture.constScanLine(100));
    for (int x : {0, 159, 1760, 1919})
        EXPECT_EQ(row[x] & pixelBits, 0u) << "column " << x;
}

TEST_F(FrameOptionTest, TenBitCapturesComeBackExactlyAndCapturesWithinOneSecondKeepEachOther)
{
    ASSERT_TRUE(board().tree().insertUsb('b'));
    sdiSource("1920x1080", "25p", false);
    for (const char *suffix : {"fm", "png", "tiff", "bmp"}) {
        SCOPED_TRACE(suffix);
        const Capture capture = captureFile(1920, 1080, suffix);
        ASSERT_EQ(capture.code, FrameOption::SAVE_DONE);
        const QImage original = delivered(1920, 1080, "SDI 1920x1080 25p");
        const bool eightBit = std::string(suffix) == "bmp";
        // BMP holds eight bits: one 8-bit step is four 10-bit codes.
        EXPECT_EQ(differences(capture.picture, original, eightBit ? 4 : 0), 0);
        if (!eightBit && std::string(suffix) != "fm") {
            QImageReader reader(QString::fromStdString(capture.file.string()));
            EXPECT_EQ(reader.read().depth(), 64) << "16-bit components in the file";
        }
        markLoadMemory();
        ASSERT_EQ(load(capture.file.string()), FrameOption::LOAD_DONE);
        EXPECT_EQ(differences(loadMemory(), original, eightBit ? 4 : 0), 0);
    }
    EXPECT_EQ(files().size(), 4u);

    // Three more within one second keep each other.
    std::string suffix = "fm";
    ASSERT_TRUE(FrameOption::setFrameSuffix(suffix));
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(capture(1920, 1080), FrameOption::SAVE_DONE);
    EXPECT_EQ(files().size(), 4u + 3u);

    std::string unknown = "jpg";
    EXPECT_FALSE(FrameOption::setFrameSuffix(unknown));
    std::string current;
    FrameOption::getFrameSuffix(current);
    EXPECT_EQ(current, ".fm");
}

TEST_F(FrameOptionTest, FilesThatAreNoCaptureAreRefusedAndTheCompareMemoryStays)
{
    const fs::path dir = fs::path(workDir());
    auto write = [&](const std::string &name, const std::string &bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    };
    QImage small(1280, 720, QImage::Format_RGB32);
    small.fill(Qt::gray);
    ASSERT_TRUE(small.save(QString::fromStdString((dir / "small.png").string())));
    QImage right(1920, 1080, QImage::Format_RGB32);
    right.fill(Qt::gray);
    ASSERT_TRUE(right.save(QString::fromStdString((dir / "good.png").string())));
    std::ifstream goodFile(dir / "good.png", std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(goodFile)), std::istreambuf_iterator<char>());

    // Far larger than any capture: refused before it is read.
    std::ofstream(dir / "huge.tiff").close();
    fs::resize_file(dir / "huge.tiff", 80ull << 20);
    const std::vector<std::string> refused = {
        (dir / "small.png").string(),
        write("text.png", "this is not a picture"),
        write("cut.png", good.substr(0, good.size() / 2)),
        write("short.fm", std::string(rawBytes - 7680, '\x11')),
        write("long.fm", std::string(rawBytes + 4, '\x11')),
        write("picture.jpg", good),
        (dir / "missing.bmp").string(),
        (dir / "huge.tiff").string(),
    };

    for (const std::string &path : refused) {
        SCOPED_TRACE(path);
        markLoadMemory();
        EXPECT_EQ(load(path), FrameOption::FAILED);
        EXPECT_TRUE(loadMemoryMarked());
    }
    EXPECT_TRUE(output.contains("[ ERROR ]: load frame failed"));

    // A file of the right size loads.
    EXPECT_EQ(load((dir / "good.png").string()), FrameOption::LOAD_DONE);
    EXPECT_FALSE(loadMemoryMarked());
}

TEST_F(FrameOptionTest, WithoutAStickACaptureFailsAndNothingIsWritten)
{
    sdiSource("1920x1080", "25p", false);
    EXPECT_EQ(capture(1920, 1080), FrameOption::FAILED);
    EXPECT_TRUE(output.contains("[ ERROR ]: cannot found usb device, please insert usb device"));
    EXPECT_TRUE(output.contains("[ ERROR ]: save frame failed"));
    EXPECT_EQ(board().pl().field(FRAME_CAP_CTL, 3, 0), 0u);

    // The stick goes away between the request and the picture.
    ASSERT_TRUE(board().tree().insertUsb('b'));
    option->saveFrameOp(1920, 1080, static_cast<int *>(frames->saveAddress()), 2048);
    ASSERT_TRUE(board().tree().removeUsb());
    frames->frameSave(0);
    EXPECT_EQ(waitCode(), FrameOption::FAILED);
    release();
    ASSERT_TRUE(board().tree().insertUsb('b'));
    EXPECT_TRUE(files().empty());
    EXPECT_EQ(capture(1920, 1080), FrameOption::SAVE_DONE);
    EXPECT_EQ(files().size(), 1u);
}

TEST_F(FrameOptionTest, APulledStickOrAFullDiskLeavesNoCaptureBehind)
{
    ASSERT_TRUE(board().tree().insertUsb('b'));
    sdiSource("1920x1080", "25p", false);
    ASSERT_EQ(captureFile(1920, 1080, "bmp").code, FrameOption::SAVE_DONE);

    // The stick is pulled while the picture is being written: the writing
    // goes on into the stick's last state, but no capture gets its name.
    for (const std::string format : {"png", "fm"}) {
        SCOPED_TRACE(format);
        bool pulledInTime = false;
        for (int attempt = 0; attempt < 10 && !pulledInTime; ++attempt) {
            // A save that won the race in an earlier attempt left its file.
            const std::vector<fs::path> earlier = files();
            const int watch = inotify_init1(IN_CLOEXEC);
            ASSERT_GE(watch, 0);
            ASSERT_GE(inotify_add_watch(watch, imageDir().c_str(), IN_CREATE), 0);
            std::atomic<bool> pulled{false};
            std::thread puller([&] {
                pollfd ready = {watch, POLLIN, 0};
                char events[4096];
                if (::poll(&ready, 1, 5000) == 1 && ::read(watch, events, sizeof(events)) > 0)
                    pulled = board().tree().removeUsb();
            });
            const Capture cut = captureFile(1920, 1080, format);
            puller.join();
            ::close(watch);
            if (!pulled)
                continue;
            ASSERT_TRUE(board().tree().insertUsb('b'));
            // A save that won the race is no test; try again.
            if (cut.code == FrameOption::SAVE_DONE)
                continue;
            pulledInTime = true;
            EXPECT_EQ(cut.code, FrameOption::FAILED);
            for (const fs::path &file : files()) {
                if (std::find(earlier.begin(), earlier.end(), file) == earlier.end()) {
                    EXPECT_NE(file.extension(), "." + format) << file;
                }
            }
        }
        ASSERT_TRUE(pulledInTime);
    }

    // The next capture works and tidies what the pulled one left.
    const size_t before = files().size();
    ASSERT_EQ(captureFile(1920, 1080, "bmp").code, FrameOption::SAVE_DONE);
    EXPECT_EQ(files().size(), before + 1);
    EXPECT_TRUE(files(true).empty());

    // A full disk: the write fails part way, and nothing is left.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {4u << 20, RLIM_INFINITY};
    struct rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    limit.rlim_max = previous.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const Capture full = captureFile(1920, 1080, "fm");
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &previous), 0);
    EXPECT_EQ(full.code, FrameOption::FAILED);
    EXPECT_TRUE(full.file.empty());
    EXPECT_EQ(files().size(), before + 1);
    EXPECT_TRUE(files(true).empty());
}

} // namespace
