#pragma once

#include "AppConfig.h"
#include "BoardTest.h"
#include "MarkDraw.h"

#include <QImage>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

// The overlay painter on a store read from a config.ini with the given lines,
// painting into transparent images of the OSD plane.
class OverlayTest : public BoardTest
{
protected:
    using Run = std::pair<int, int>; // first and last pixel, inclusive
    using Runs = std::vector<Run>;

    // May be called again within a test for another file.
    MarkDraw &start(const std::string &settings = std::string())
    {
        std::ofstream(workFile("config.ini")) << "[AppConfig]\n" << settings;
        AppConfig *store = AppConfig::getInstance();
        if (store->initialised()) {
            store->restoreDefaults();
            store->read();
        }
        store->init("config.ini");
        mark.reset();
        mark = std::make_unique<MarkDraw>(MarkDraw::MARK_MAIN);
        return *mark;
    }

    QImage paint(int width = 1920, int height = 1080)
    {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        mark->draw(&image);
        return image;
    }

    // The pixels an aliased line of pen width w (even) covers across a line
    // centred on c, or along a line from a to b: the pen reaches w / 2 before
    // and w / 2 - 1 after; cut at the screen's edges in x or in y.
    static Run xAcross(int c, int w) { return clip(c - w / 2, c + w / 2 - 1, 1920); }
    static Run yAcross(int c, int w) { return clip(c - w / 2, c + w / 2 - 1, 1080); }
    static Run xAlong(int a, int b, int w) { return clip(std::min(a, b) - w / 2, std::max(a, b) + w / 2 - 1, 1920); }
    static Run yAlong(int a, int b, int w) { return clip(std::min(a, b) - w / 2, std::max(a, b) + w / 2 - 1, 1080); }

    static Runs row(const QImage &image, int y)
    {
        Runs runs;
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                continue;
            if (!runs.empty() && runs.back().second == x - 1)
                runs.back().second = x;
            else
                runs.push_back({x, x});
        }
        return runs;
    }

    static Runs column(const QImage &image, int x)
    {
        Runs runs;
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) == 0)
                continue;
            if (!runs.empty() && runs.back().second == y - 1)
                runs.back().second = y;
            else
                runs.push_back({y, y});
        }
        return runs;
    }

    // The 8-bit colour of a pixel, not premultiplied.
    static QRgb colorAt(const QImage &image, int x, int y) { return image.pixelColor(x, y).rgba(); }

    // Leaves out expected runs wholly off the screen.
    static Runs onScreen(const Runs &runs)
    {
        Runs shown;
        for (const Run &run : runs) {
            if (run.first <= run.second)
                shown.push_back(run);
        }
        return shown;
    }

    static int paintedCount(const QImage &image)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += qAlpha(image.pixel(x, y)) != 0;
        }
        return count;
    }

    std::unique_ptr<MarkDraw> mark;

private:
    static Run clip(int first, int last, int size) { return {std::max(first, 0), std::min(last, size - 1)}; }
};
