#include "FrameOption.h"

#include "Console.h"
#include "DeviceUSB.h"
#include "PLControl.h"
#include "SDICtl.h"
#include "ThreadName.h"
#include "VideoOption.h"

#include <QDateTime>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int maxCaptureWidth = 2048;
constexpr int fileLines = FrameOption::frameHeight;
constexpr size_t rawFileBytes = static_cast<size_t>(FrameOption::lineBytes) * FrameOption::frameHeight;
constexpr mode_t rawFileMode = 0640;
// What the image library's files get under the usual file-creation mask.
constexpr mode_t imageFileMode = 0644;
constexpr const char *partSuffix = ".part";
// Components above bit 29 carry nothing in the frame memory.
constexpr uint32_t pixelBits = 0x3FFFFFFFu;

const char *const suffixes[] = {"fm", "bmp", "tiff", "png"};

bool knownSuffix(const std::string &suffix)
{
    return std::find(std::begin(suffixes), std::end(suffixes), suffix) != std::end(suffixes);
}

std::string directoryOf(const std::string &file)
{
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash + 1);
}

// The hidden name a capture is written under until it is complete.
std::string temporaryName(const std::string &file)
{
    const size_t slash = file.rfind('/');
    const size_t name = slash == std::string::npos ? 0 : slash + 1;
    return file.substr(0, name) + "." + file.substr(name) + partSuffix;
}

bool syncDirectory(const std::string &directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool writeAll(int fd, std::vector<iovec> &parts)
{
    size_t first = 0;
    while (first < parts.size()) {
        const int count = static_cast<int>(std::min<size_t>(parts.size() - first, IOV_MAX));
        const ssize_t written = ::writev(fd, &parts[first], count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        // Skip what went out; a short write resumes inside its part.
        size_t left = static_cast<size_t>(written);
        while (first < parts.size() && left >= parts[first].iov_len) {
            left -= parts[first].iov_len;
            ++first;
        }
        if (left > 0) {
            parts[first].iov_base = static_cast<char *>(parts[first].iov_base) + left;
            parts[first].iov_len -= left;
        }
    }
    return true;
}

// The source line of output line y: in field mode the first field's lines
// come first in the memory, the second field's after them.
int sourceLine(int y, int height, bool fields)
{
    if (!fields)
        return y;
    const int firstField = (height + 1) / 2;
    return y % 2 == 0 ? y / 2 : firstField + y / 2;
}

// The logic captures pictures wider than 2048 pixels at 1920 x 1080.
int captureWidth(int width)
{
    return width > maxCaptureWidth ? FrameOption::frameWidth : width;
}

// Temporary files of captures that a pulled stick cut short.
void removeStaleParts(const std::string &folder)
{
    DIR *directory = ::opendir(folder.c_str());
    if (directory == nullptr)
        return;
    const size_t partLength = std::strlen(partSuffix);
    while (const dirent *entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (name.size() > partLength + 1 && name[0] == '.'
            && name.compare(name.size() - partLength, partLength, partSuffix) == 0)
            ::unlink((folder + name).c_str());
    }
    ::closedir(directory);
}

// The picture scaled to fit 1920 x 1080 with its aspect kept, without
// smoothing (each pixel the source pixel under its centre), centred on black:
// bands above and below a wide picture, beside a narrow one. Done here rather
// than by the image library, which loses pictures whose unused top bits are
// clear when it shrinks them.
QImage fitted(const QImage &picture)
{
    const int w = picture.width();
    const int h = picture.height();
    int fitWidth = FrameOption::frameWidth;
    int fitHeight = FrameOption::frameHeight;
    if (static_cast<long>(w) * FrameOption::frameHeight > static_cast<long>(h) * FrameOption::frameWidth)
        fitHeight = static_cast<int>(static_cast<long>(h) * FrameOption::frameWidth / w);
    else
        fitWidth = static_cast<int>(static_cast<long>(w) * FrameOption::frameHeight / h);
    const int left = (FrameOption::frameWidth - fitWidth) / 2;
    const int top = (FrameOption::frameHeight - fitHeight) / 2;
    std::vector<int> columns(static_cast<size_t>(fitWidth));
    for (int x = 0; x < fitWidth; ++x)
        columns[static_cast<size_t>(x)] = static_cast<int>((2l * x + 1) * w / (2l * fitWidth));
    QImage frame(FrameOption::frameWidth, FrameOption::frameHeight, QImage::Format_RGB30);
    frame.fill(0);
    for (int y = 0; y < fitHeight; ++y) {
        const auto *in = reinterpret_cast<const uint32_t *>(
            picture.constScanLine(static_cast<int>((2l * y + 1) * h / (2l * fitHeight))));
        auto *out = reinterpret_cast<uint32_t *>(frame.scanLine(top + y)) + left;
        for (int x = 0; x < fitWidth; ++x)
            out[x] = in[columns[static_cast<size_t>(x)]];
    }
    return frame;
}

// Runs rows(first, last) over the picture's rows in two halves on two
// threads: the conversions below are a good part of a capture's time next to
// a fast encoder.
template <class Rows>
void onTwoThreads(int height, const Rows &rows)
{
    const int half = height / 2;
    std::thread second(rows, half, height);
    rows(0, half);
    second.join();
}

// Each component widened to 16 bits by repeating its top bits below it, so
// that narrowing back to ten bits gives the same value. The result lives in
// storage that outlives the call: fresh memory for it costs as much again.
QImage sixteenBits(const QImage &picture, std::vector<uchar> &storage)
{
    const int width = picture.width();
    const size_t lineBytes = static_cast<size_t>(width) * sizeof(uint64_t);
    storage.resize(std::max(storage.size(), lineBytes * static_cast<size_t>(picture.height())));
    onTwoThreads(picture.height(), [&](int first, int last) {
        const auto widen = [](uint32_t v) { return static_cast<uint64_t>((v << 6) | (v >> 4)); };
        for (int y = first; y < last; ++y) {
            const auto *in = reinterpret_cast<const uint32_t *>(picture.constScanLine(y));
            auto *out = reinterpret_cast<uint64_t *>(storage.data() + lineBytes * static_cast<size_t>(y));
            for (int x = 0; x < width; ++x) {
                const uint32_t w = in[x];
                out[x] = widen((w >> 20) & 0x3FFu) | widen((w >> 10) & 0x3FFu) << 16 | widen(w & 0x3FFu) << 32
                         | uint64_t(0xFFFF) << 48;
            }
        }
    });
    return QImage(storage.data(), width, picture.height(), static_cast<int>(lineBytes), QImage::Format_RGBX64);
}

void putLittleEndian(uchar *at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<uchar>(value >> (8 * i));
}

// A 24-bit BMP of the picture in storage, each component cut to its top eight
// bits: the file header, then the rows top-down, which parts lists bottom-up
// as the format stores them. Written straight from the ten-bit picture in
// one pass; the image library would want an 8-bit copy first and then
// converts every row again.
void bitmapFile(const QImage &picture, std::vector<uchar> &storage, std::vector<iovec> &parts)
{
    constexpr size_t headerBytes = 14 + 40;
    constexpr uint32_t pixelsPerMetre = 2835; // 72 dots an inch
    const int width = picture.width();
    const int height = picture.height();
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
    const size_t pixelBytes = rowBytes * static_cast<size_t>(height);
    storage.resize(std::max(storage.size(), headerBytes + pixelBytes));
    uchar *header = storage.data();
    std::fill(header, header + headerBytes, 0);
    header[0] = 'B';
    header[1] = 'M';
    putLittleEndian(header + 2, static_cast<uint32_t>(headerBytes + pixelBytes), 4);
    putLittleEndian(header + 10, headerBytes, 4);
    putLittleEndian(header + 14, 40, 4);
    putLittleEndian(header + 18, static_cast<uint32_t>(width), 4);
    putLittleEndian(header + 22, static_cast<uint32_t>(height), 4);
    putLittleEndian(header + 26, 1, 2);  // one plane
    putLittleEndian(header + 28, 24, 2); // bits a pixel; no compression
    putLittleEndian(header + 34, static_cast<uint32_t>(pixelBytes), 4);
    putLittleEndian(header + 38, pixelsPerMetre, 4);
    putLittleEndian(header + 42, pixelsPerMetre, 4);

    uchar *pixels = storage.data() + headerBytes;
    onTwoThreads(height, [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            const auto *in = reinterpret_cast<const uint32_t *>(picture.constScanLine(y));
            uchar *out = pixels + rowBytes * static_cast<size_t>(y);
            for (int x = 0; x < width; ++x) {
                const uint32_t w = in[x];
                out[3 * x] = static_cast<uchar>(w >> 2);
                out[3 * x + 1] = static_cast<uchar>(w >> 12);
                out[3 * x + 2] = static_cast<uchar>(w >> 22);
            }
            std::fill(out + 3 * static_cast<size_t>(width), out + rowBytes, 0);
        }
    });
    parts.clear();
    parts.push_back({header, headerBytes});
    for (int y = height - 1; y >= 0; --y)
        parts.push_back({pixels + rowBytes * static_cast<size_t>(y), rowBytes});
}

} // namespace

FrameOption::FrameOption()
    : m_pl(PLControl::getInstance()), m_interrupts(*InterruptsCtl::getInstance()),
      m_videoOption(*VideoOption::getInstance()), m_sdi(*SDICtl::getInstance())
{
    running = true;
    m_interrupts.attach(InterruptsCtl::FRAME_OPTION,
                        [this](InterruptsCtl::KeyHandle handle, int value) { start(handle, value); });
    startThread();
}

FrameOption::~FrameOption()
{
    running = false;
    condition.notify_all();
}

void FrameOption::startThread()
{
    if (threadStarted.exchange(true))
        return;
    std::thread(&FrameOption::FrameOpLoop, this).detach();
}

void FrameOption::saveFrameOp(int width, int height, int *buffer, int stride)
{
    std::string captureDirectory;
    const bool haveDirectory = DeviceUSB::getFrameSaveDir(captureDirectory);
    const bool twoFields = fieldMode();
    std::lock_guard<std::mutex> lock(mutex);
    operation = OP_SAVE;
    this->width = captureWidth(width);
    this->height = std::min(height, frameHeight);
    this->buffer = buffer;
    this->stride = stride;
    fields = twoFields;
    directory = haveDirectory ? captureDirectory : std::string();
    requested = true;
    ready = false;
}

void FrameOption::loadFrameOp(const std::string &path, int *buffer, int stride)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        operation = OP_LOAD;
        this->path = path;
        this->buffer = buffer;
        this->stride = stride;
        requested = true;
        ready = true;
    }
    condition.notify_all();
}

void FrameOption::start(InterruptsCtl::KeyHandle, int)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        // An interrupt with no capture waiting has nothing to save.
        if (!requested || operation != OP_SAVE)
            return;
        ready = true;
    }
    condition.notify_all();
}

std::string FrameOption::suffix = "bmp";
std::mutex FrameOption::suffixMutex;

bool FrameOption::setFrameSuffix(const std::string &suffix)
{
    if (!knownSuffix(suffix))
        return false;
    std::lock_guard<std::mutex> lock(suffixMutex);
    FrameOption::suffix = suffix;
    return true;
}

void FrameOption::getFrameSuffix(std::string &suffix)
{
    std::lock_guard<std::mutex> lock(suffixMutex);
    suffix = "." + FrameOption::suffix;
}

bool FrameOption::fieldMode() const
{
    const Video::InterlaceMode interlace = m_videoOption.getInterlance();
    if (interlace == Video::INTERLACED || interlace == Video::PSF)
        return true;
    return m_videoOption.getInput(VideoOption::MAIN_CHANNEL) == "SDI" && m_sdi.level() == Video::LEVEL_B
           && m_sdi.depth() == Video::DEPTH_10 && m_sdi.sampling() == Video::SAMPLING_YCBCR422;
}

void FrameOption::FrameOpLoop()
{
    nameThread("frame-worker");
    while (running) {
        Request request;
        {
            std::unique_lock<std::mutex> lock(mutex);
            condition.wait(lock, [this] { return !running || (requested && ready); });
            if (!running)
                return;
            request.operation = operation;
            request.buffer = buffer;
            request.stride = stride;
            request.width = width;
            request.height = height;
            request.fields = fields;
            request.path = path;
            request.directory = directory;
            requested = false;
            ready = false;
        }
        const bool saving = request.operation == OP_SAVE;
        const bool done = saving ? saveRequest(request) : load(request.path, request.buffer, request.stride);
        if (!done)
            console::error(saving ? "save frame failed\n" : "load frame failed\n");
        emit frameCompleted(!done ? FAILED : saving ? SAVE_DONE : LOAD_DONE);
    }
}

bool FrameOption::generateFileName(std::string &name)
{
    std::string folder;
    {
        std::lock_guard<std::mutex> lock(mutex);
        folder = directory;
    }
    return fileNameIn(folder, name);
}

bool FrameOption::fileNameIn(const std::string &folder, std::string &name) const
{
    struct stat info;
    if (folder.empty() || ::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    std::string extension;
    getFrameSuffix(extension);
    const std::string stem = folder + QDateTime::currentDateTime().toString("yyyy-MM-dd_hh-mm-ss").toStdString();
    name = stem + extension;
    // Two captures within one second must not replace each other.
    for (int copy = 2; ::access(name.c_str(), F_OK) == 0; ++copy)
        name = stem + "_" + std::to_string(copy) + extension;
    return true;
}

bool FrameOption::save(int *buffer, int width, int height, int stride)
{
    Request request;
    request.buffer = buffer;
    request.width = captureWidth(width);
    request.height = std::min(height, frameHeight);
    request.stride = stride;
    {
        std::lock_guard<std::mutex> lock(mutex);
        request.fields = fields;
        request.directory = directory;
    }
    return saveRequest(request);
}

bool FrameOption::saveRequest(const Request &request)
{
    std::string file;
    if (!fileNameIn(request.directory, file)) {
        console::error("cannot found usb device, please insert usb device\n");
        return false;
    }
    if (request.buffer == nullptr || request.width <= 0 || request.height <= 0 || request.stride < request.width)
        return false;
    removeStaleParts(request.directory);
    std::string extension;
    getFrameSuffix(extension);
    const std::string format = extension.substr(1);
    return format == "fm" ? saveOriginData(file, request) : saveOther(file, request, format);
}

QImage FrameOption::framePicture(const Request &request) const
{
    const int w = request.width;
    const int h = request.height;
    auto *memory = reinterpret_cast<uchar *>(request.buffer);
    const int memoryLineBytes = request.stride * 4;
    if (w == frameWidth && h == frameHeight && !request.fields)
        return QImage(memory, w, h, memoryLineBytes, QImage::Format_RGB30);

    QImage picture(w, h, QImage::Format_RGB30);
    for (int y = 0; y < h; ++y)
        std::memcpy(picture.scanLine(y), memory + static_cast<size_t>(sourceLine(y, h, request.fields)) * memoryLineBytes,
                    static_cast<size_t>(w) * 4);
    if (w == frameWidth && h == frameHeight)
        return picture;

    console::print("start to scaled from src[%dx%d] to dest[%dx%d]......\n", w, h, frameWidth, frameHeight);
    return fitted(picture);
}

bool FrameOption::saveOriginData(const std::string &file, const Request &request)
{
    console::print("start to save %s ......\n", file.c_str());
    const bool direct = request.width == frameWidth && request.height == frameHeight;
    QImage picture;
    std::vector<iovec> lines(fileLines);
    for (int y = 0; y < fileLines; ++y) {
        const char *line;
        if (direct) {
            line = reinterpret_cast<const char *>(request.buffer)
                   + static_cast<size_t>(sourceLine(y, request.height, request.fields)) * request.stride * 4;
        } else {
            if (picture.isNull())
                picture = framePicture(request);
            line = reinterpret_cast<const char *>(picture.constScanLine(y));
        }
        lines[static_cast<size_t>(y)] = {const_cast<char *>(line), static_cast<size_t>(lineBytes)};
    }
    return writeFile(file, rawFileMode, [&](int fd) { return writeAll(fd, lines); });
}

bool FrameOption::saveOther(const std::string &file, const Request &request, const std::string &format)
{
    const QImage picture = framePicture(request);
    // BMP holds eight bits a component.
    if (format == "bmp") {
        std::vector<iovec> parts;
        bitmapFile(picture, encodeBuffer, parts);
        return writeFile(file, imageFileMode, [&](int fd) { return writeAll(fd, parts); });
    }
    // PNG and TIFF take 16-bit components, which keep all ten bits.
    const QImage image = sixteenBits(picture, encodeBuffer);
    return writeFile(file, imageFileMode, [&](int fd) {
        QFile output;
        if (!output.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            return false;
        QImageWriter writer(&output, QByteArray::fromStdString(format));
        return writer.write(image) && output.flush();
    });
}

bool FrameOption::writeFile(const std::string &file, mode_t mode, const std::function<bool(int fd)> &write)
{
    const std::string temporary = temporaryName(file);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    // The mode whatever the process's file-creation mask, where the stick's
    // file system keeps modes at all.
    static_cast<void>(::fchmod(fd, mode));
    const bool written = write(fd) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (!publish(temporary, file))
        return false;
    console::print("save %s successfull\n", file.c_str());
    return true;
}

bool FrameOption::publish(const std::string &temporary, const std::string &file)
{
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncDirectory(directoryOf(file));
    return true;
}

bool FrameOption::load(const std::string &path, int *buffer, int stride)
{
    if (buffer == nullptr || stride < frameWidth)
        return false;
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    const std::string format = path.substr(dot + 1);
    if (!knownSuffix(format))
        return false;
    return format == "fm" ? loadOriginData(path, buffer, stride) : loadOther(path, format, buffer, stride);
}

bool FrameOption::loadOriginData(const std::string &path, int *buffer, int stride)
{
    console::print("start to load %s ......\n", path.c_str());
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    // Exactly 1080 full lines: anything else is not a capture.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<size_t>(info.st_size) != rawFileBytes) {
        ::close(fd);
        return false;
    }
    std::vector<char> data(rawFileBytes);
    size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (got != data.size())
        return false;
    for (int y = 0; y < fileLines; ++y)
        std::memcpy(buffer + static_cast<size_t>(y) * stride, data.data() + static_cast<size_t>(y) * lineBytes,
                    lineBytes);
    syncLoadMemory(buffer);
    return true;
}

bool FrameOption::loadOther(const std::string &path, const std::string &format, int *buffer, int stride)
{
    console::print("start to load %s ......\n", path.c_str());
    QFile input(QString::fromStdString(path));
    if (!input.open(QIODevice::ReadOnly) || input.size() > maxFileSize)
        return false;
    QImageReader reader(&input, QByteArray::fromStdString(format));
    // The size from the header, before anything is decoded.
    if (reader.size() != QSize(frameWidth, frameHeight))
        return false;
    const QImage image = reader.read();
    if (image.isNull() || image.size() != QSize(frameWidth, frameHeight))
        return false;
    // Through 16-bit components when the file has more than eight bits, so
    // that ten-bit captures come back exactly.
    const QImage deep = image.depth() > 32 ? image.convertToFormat(QImage::Format_RGBX64) : image;
    const QImage picture = deep.convertToFormat(QImage::Format_RGB30);
    for (int y = 0; y < fileLines; ++y) {
        const auto *line = reinterpret_cast<const uint32_t *>(picture.constScanLine(y));
        auto *target = reinterpret_cast<uint32_t *>(buffer + static_cast<size_t>(y) * stride);
        for (int x = 0; x < frameWidth; ++x)
            target[x] = line[x] & pixelBits;
    }
    syncLoadMemory(buffer);
    return true;
}

void FrameOption::syncLoadMemory(const int *buffer) const
{
    if (buffer == m_pl->getMemAddr(PLMemory::FRAME_LOAD))
        m_pl->SyncMem(PLMemory::FRAME_LOAD);
}
