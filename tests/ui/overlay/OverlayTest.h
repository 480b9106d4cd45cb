#pragma once

#include "AppConfig.h"
#include "BoardTest.h"
#include "MarkDraw.h"
#include "Render.h"

#include <QImage>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

// The overlay painter on a store read from config.ini lines, painting into
// transparent images of the OSD plane; runs of painted pixels along a row or
// a column are what the tests compare.
class OverlayTest : public BoardTest
{
public:
    using Runs = std::vector<std::pair<int, int>>; // first and last pixel

protected:
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

    // What an aliased line of even pen width w covers across its centre c
    // (a = b = c) or along its length from a to b: w / 2 pixels before, w / 2
    // - 1 after, cut at the screen's edge (size); nothing when wholly off it.
    static Runs span(int a, int b, int w, int size)
    {
        const int first = std::max(std::min(a, b) - w / 2, 0);
        const int last = std::min(std::max(a, b) + w / 2 - 1, size - 1);
        return first <= last ? Runs{{first, last}} : Runs{};
    }
    static Runs x(int c, int w = 2) { return span(c, c, w, 1920); }
    static Runs y(int c, int w = 2) { return span(c, c, w, 1080); }
    static Runs xs(int a, int b, int w = 2) { return span(a, b, w, 1920); }
    static Runs ys(int a, int b, int w = 2) { return span(a, b, w, 1080); }

    static Runs row(const QImage &image, int y) { return runs(image, y, true); }
    static Runs column(const QImage &image, int x) { return runs(image, x, false); }

    // The 8-bit colour of a pixel, not premultiplied.
    static QRgb colorAt(const QImage &image, int x, int y) { return image.pixelColor(x, y).rgba(); }

    std::unique_ptr<MarkDraw> mark;

private:
    static Runs runs(const QImage &image, int line, bool isRow)
    {
        Runs found;
        const int length = isRow ? image.width() : image.height();
        for (int i = 0; i < length; ++i) {
            if (qAlpha(isRow ? image.pixel(i, line) : image.pixel(line, i)) == 0)
                continue;
            if (!found.empty() && found.back().second == i - 1)
                found.back().second = i;
            else
                found.push_back({i, i});
        }
        return found;
    }
};

// Runs listed one after another.
inline OverlayTest::Runs operator+(OverlayTest::Runs a, const OverlayTest::Runs &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
