#pragma once

#include "InterruptsCtl.h"
#include "Singleton.h"

#include <QImage>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

class PLControl;
class SDICtl;
class VideoOption;

// The file side of frame capture and compare. A worker thread moves pictures
// between the frame memories and files on the USB stick, in four formats: "fm"
// (the raw frame-memory words, 1080 lines of 1920 pixels) and "bmp", "tiff"
// and "png" (1920 x 1080 images; PNG and TIFF keep all ten bits of each
// component as 16-bit components). A capture waits for the logic's capture
// interrupt; a load starts at once. Each ends with frameCompleted(): 0 saved,
// 1 loaded, 2 failed.
//
// A capture is written under a hidden temporary name beside its final one and
// renamed when complete, so a pulled stick or a full disk never leaves half a
// file under a capture's name. A load reads the whole file before it touches
// the frame memory, so a file that fails leaves the compare picture as it was.
class FrameOption : public QObject, public Singleton<FrameOption>
{
    Q_OBJECT

public:
    enum Operation : int { OP_SAVE = 0, OP_LOAD = 1 };
    enum Completion : int { SAVE_DONE = 0, LOAD_DONE = 1, FAILED = 2 };

    // The stored picture: 1920 x 1080.
    static constexpr int frameWidth = 1920;
    static constexpr int frameHeight = 1080;
    static constexpr int lineBytes = frameWidth * 4;
    // Frame-memory lines are this many words apart.
    static constexpr int memoryStride = 2048;
    // Files above this size are refused unread.
    static constexpr qint64 maxFileSize = 64ll * 1024 * 1024;

    ~FrameOption() override;

    // Stores a capture request; the worker saves once the logic raises the
    // capture interrupt. Widths above 2048 are stored as 1920 (the logic
    // captures such pictures at 1920 x 1080) and heights capped at 1080. The
    // capture folder on the stick and whether the picture comes as two fields
    // are taken now.
    void saveFrameOp(int width, int height, int *buffer, int stride);
    // Stores a load request and wakes the worker at once.
    void loadFrameOp(const std::string &path, int *buffer, int stride);
    // The capture interrupt: wakes the worker for a waiting capture.
    void start(InterruptsCtl::KeyHandle handle, int value);

    // "fm", "bmp", "tiff" or "png"; any other suffix is refused. The format
    // is the process's, so a service command can set it before the capture
    // machinery exists.
    static bool setFrameSuffix(const std::string &suffix);
    // The suffix with a leading ".".
    static void getFrameSuffix(std::string &suffix);

    // The worker's two operations, public for the benchmarks that time them.
    // A save writes into the capture folder of the last request.
    bool save(int *buffer, int width, int height, int stride);
    bool load(const std::string &path, int *buffer, int stride);
    // The capture's file name: the capture folder, the local time as
    // "yyyy-MM-dd_hh-mm-ss" and the suffix; a name taken already gets "_2",
    // "_3" ... before the suffix. False when the folder is not there.
    bool generateFileName(std::string &name);
    // Starts the worker, once.
    void startThread();

signals:
    void frameCompleted(int code);

private:
    friend class Singleton<FrameOption>;
    FrameOption();

    // One request as the worker takes it.
    struct Request {
        int operation = OP_SAVE;
        int *buffer = nullptr;
        int stride = memoryStride;
        int width = 0;
        int height = 0;
        bool fields = false;
        std::string path;
        std::string directory;
    };

    void FrameOpLoop();
    bool saveRequest(const Request &request);
    bool fieldMode() const;
    // A free capture name in the folder; false when the folder is not there.
    bool fileNameIn(const std::string &folder, std::string &name) const;
    // The picture of the frame memory, fields interleaved, fitted to 1920 x
    // 1080 on black; the memory itself when it is already that.
    QImage framePicture(const Request &request) const;
    bool saveOriginData(const std::string &file, const Request &request);
    bool saveOther(const std::string &file, const Request &request, const std::string &suffix);
    bool loadOriginData(const std::string &path, int *buffer, int stride);
    bool loadOther(const std::string &path, const std::string &format, int *buffer, int stride);
    // Creates a temporary file beside the file with that mode, has write()
    // fill it, syncs it and publishes it under the file's name.
    bool writeFile(const std::string &file, mode_t mode, const std::function<bool(int fd)> &write);
    // Moves a complete temporary file to its name; false, and the temporary
    // file removed, when that fails.
    bool publish(const std::string &temporary, const std::string &file);
    // Hands a filled compare memory over to the logic.
    void syncLoadMemory(const int *buffer) const;

    PLControl *m_pl;
    std::atomic<bool> running{false};
    int operation = OP_SAVE;
    int *buffer = nullptr;
    int stride = memoryStride;
    int width = 0;
    int height = 0;
    static std::string suffix;
    static std::mutex suffixMutex;
    std::string path;
    InterruptsCtl &m_interrupts;
    VideoOption &m_videoOption;
    SDICtl &m_sdi;
    mutable std::mutex mutex;
    std::condition_variable condition;

    // Under the mutex: a request is stored and, for a capture, the interrupt
    // has come; the capture folder and field mode of the stored capture.
    bool requested = false;
    bool ready = false;
    bool fields = false;
    std::string directory;
    std::atomic<bool> threadStarted{false};
    // The picture as the encoder takes it, kept from one capture to the next.
    std::vector<uchar> encodeBuffer;
};
