#include "../../color/CubeFiles.h"
#include "AppConfig.h"
#include "FrameCtl.h"
#include "FrameOption.h"
#include "HardwarePath.h"
#include "LutConfig.h"
#include "LutCtl.h"
#include "OsdCtl.h"
#include "PageTest.h"
#include "PanelPicture.h"
#include "SelectWidget.h"
#include "TestPicture.h"
#include "VideoOption.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr const char *presetCube = "SLog3-SGamut3Cine_to_Rec709.cube";

// A .cube file read on its own: the 17 points a side that the logic holds
// (every second or fourth point of a 33 or 65 point file), applied by
// tetrahedral interpolation in double precision.
class CubeFile
{
public:
    explicit CubeFile(const std::string &path)
    {
        std::ifstream in(path);
        std::string line;
        int size = 17;
        std::vector<std::array<double, 3>> points;
        while (std::getline(in, line)) {
            std::array<double, 3> p;
            if (line.rfind("LUT_3D_SIZE", 0) == 0)
                std::istringstream(line.substr(11)) >> size;
            else if (std::istringstream(line) >> p[0] >> p[1] >> p[2])
                points.push_back(p);
        }
        const int step = (size - 1) / 16;
        if (points.size() != static_cast<size_t>(size) * size * size)
            return;
        for (int b = 0; b < 17; ++b)
            for (int g = 0; g < 17; ++g)
                for (int r = 0; r < 17; ++r)
                    grid[index(r, g, b)] = points[static_cast<size_t>((b * size + g) * size + r) * step];
        valid = true;
    }

    bool valid = false;

    // Ten-bit RGB through the table, rounded to ten bits.
    std::array<int, 3> apply(const std::array<int, 3> &rgb) const
    {
        int base[3];
        double f[3];
        for (int c = 0; c < 3; ++c) {
            const double x = rgb[static_cast<size_t>(c)] / 1023.0 * 16.0;
            base[c] = std::min(15, static_cast<int>(x));
            f[c] = x - base[c];
        }
        // Walk from the near corner to the far one, largest fraction first.
        int order[3] = {0, 1, 2};
        std::sort(order, order + 3, [&](int a, int b) { return f[a] > f[b]; });
        int corner[3] = {base[0], base[1], base[2]};
        std::array<double, 3> sum{};
        for (int k = 0; k <= 3; ++k) {
            if (k > 0)
                ++corner[order[k - 1]];
            const double weight = (k == 0 ? 1.0 : f[order[k - 1]]) - (k == 3 ? 0.0 : f[order[k]]);
            const std::array<double, 3> p = at(corner);
            for (size_t c = 0; c < 3; ++c)
                sum[c] += weight * p[c];
        }
        return {static_cast<int>(std::lround(sum[0] * 1023)), static_cast<int>(std::lround(sum[1] * 1023)),
                static_cast<int>(std::lround(sum[2] * 1023))};
    }

private:
    static size_t index(int r, int g, int b) { return static_cast<size_t>((b * 17 + g) * 17 + r); }
    std::array<double, 3> at(const int corner[3]) const { return grid[index(corner[0], corner[1], corner[2])]; }

    std::array<std::array<double, 3>, 17 * 17 * 17> grid{};
};

std::array<int, 3> components(uint32_t word)
{
    return {static_cast<int>((word >> 20) & 0x3FFu), static_cast<int>((word >> 10) & 0x3FFu),
            static_cast<int>(word & 0x3FFu)};
}

class SelectWidgetTest : public PageTest
{
protected:
    void build(int mode, bool enableLut = false, const std::string &settings = std::string())
    {
        startStore(settings);
        page = std::make_unique<SelectWidget>();
        page->resize(1920, 420);
        page->setMode(mode, enableLut);
        showPage(*page);
    }

    // Hidden and shown again: the page lists what is there now.
    void reopen()
    {
        page->hide();
        showPage(*page);
    }

    void confirm() { click(child<QPushButton>(*page, "selectConfirm")); }

    // A picture of one colour in the stick's Image folder.
    void savePicture(const char *name, const QColor &colour)
    {
        QImage picture(1920, 1080, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(QString::fromStdString(stick(std::string("Image/") + name).string())));
    }

    QListWidget *list() { return child<QListWidget>(*page, "selectList"); }

    QStringList rows()
    {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row)
            names << list()->item(row)->text();
        return names;
    }

    // A finger's tap on a row.
    void tapRow(const QString &name)
    {
        const QList<QListWidgetItem *> found = list()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list()->scrollToItem(found[0]);
        const QPoint centre = list()->visualItemRect(found[0]).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }

    std::string hint() { return child<QLabel>(*page, "selectHint")->text().toStdString(); }

    std::vector<uint32_t> lutMemory()
    {
        const auto *memory = static_cast<const uint32_t *>(board().pl().memory(PLMemory::LUT3D_MEMORY1));
        return std::vector<uint32_t>(memory, memory + 4913);
    }

    fs::path stick(const std::string &name) const { return fs::path(hw::path("/run/media/sda1/")) / name; }

    std::unique_ptr<SelectWidget> page;
};

} // namespace

TEST_F(SelectWidgetTest, APresetChosenOnThePageShowsThroughTheLogicAsTheFileSays)
{
    build(SelectWidget::SELECT_PRESET, true);
    ASSERT_TRUE(rows().contains(presetCube));
    ASSERT_FALSE(list()->item(0)->icon().isNull());
    VideoOption::getInstance()->setInput(VideoOption::MAIN_CHANNEL, "HDMI");
    OsdCtl::getInstance()->setVideoEnable(0, true);
    sim::VideoModel::Format format;
    std::string error;
    ASSERT_TRUE(sim::VideoModel::parseFormat("1920x1080", "60p", format, error));
    ASSERT_TRUE(board().video().hdmi(0, format, error));

    tapRow(presetCube);
    EXPECT_EQ(field(VID_3DLUT_CTL, 0, 0), 1u);
    EXPECT_EQ(LutConfig::getInstance()->getLutFile(0), std::string("Lut/Pre/") + presetCube);
    ASSERT_TRUE(QTest::qWaitFor([&] { return board().picture().latched().lut[4912][0] != 0; }, 5000))
        << "the LUT block latched the memory";

    const CubeFile cube(workFile(std::string("Lut/Pre/") + presetCube));
    ASSERT_TRUE(cube.valid);
    const QImage panel = sim::PanelPicture::render(board().pl(), board().picture(), QImage());
    auto panelAt = [&](int x, int y) {
        return components(reinterpret_cast<const uint32_t *>(panel.constScanLine(y))[x]);
    };
    for (int i = 0; i < sim::TestPicture::barCount; ++i) {
        const QRect bar = sim::TestPicture::barRect(i, 1920, 1080);
        uint32_t rgb[3];
        sim::TestPicture::barColour(i, rgb);
        const std::array<int, 3> expected = cube.apply({static_cast<int>(rgb[0]), static_cast<int>(rgb[1]),
                                                        static_cast<int>(rgb[2])});
        const std::array<int, 3> found = panelAt(bar.center().x(), bar.center().y());
        for (size_t c = 0; c < 3; ++c)
            EXPECT_LE(std::abs(found[c] - expected[c]), 1) << "bar " << i << " component " << c;
    }

    // Colours all over the cube, through the same LUT block: every
    // tetrahedron of the interpolation.
    QImage colours(4096, 1, QImage::Format_RGB30);
    auto *pixels = reinterpret_cast<uint32_t *>(colours.scanLine(0));
    uint32_t seed = 12345;
    for (int i = 0; i < colours.width(); ++i) {
        seed = seed * 1103515245u + 12345u;
        pixels[i] = seed & 0x3FFFFFFFu;
    }
    const QImage graded = sim::PanelPicture::adjusted(colours, board().picture().mainSource(),
                                                      board().picture().latched(), board().pl());
    int far = 0;
    for (int i = 0; i < colours.width(); ++i) {
        const std::array<int, 3> expected = cube.apply(components(pixels[i]));
        const std::array<int, 3> found = components(reinterpret_cast<const uint32_t *>(graded.constScanLine(0))[i]);
        for (size_t c = 0; c < 3; ++c)
            far += std::abs(found[c] - expected[c]) > 1;
    }
    EXPECT_EQ(far, 0);

    // The compare view: the picture as it comes left of the split.
    LutCtl::getInstance()->lutPreviewPosition(960);
    LutCtl::getInstance()->lutPreviewEnable(true);
    const QImage split = sim::PanelPicture::render(board().pl(), board().picture(), QImage());
    const QRect white = sim::TestPicture::barRect(0, 1920, 1080);
    const auto *row = reinterpret_cast<const uint32_t *>(split.constScanLine(white.center().y()));
    EXPECT_EQ(components(row[white.center().x()]), (std::array<int, 3>{767, 767, 767}));
    EXPECT_EQ(components(row[1500]), panelAt(1500, white.center().y()));

    page->hide();
    EXPECT_NE(readText(workFile("Lut/LutFile.ini")).find(presetCube), std::string::npos);
    // Opened again, the picker shows the LUT in force as the chosen row.
    showPage(*page);
    const QList<QListWidgetItem *> chosen = list()->selectedItems();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0]->text(), presetCube);
}

TEST_F(SelectWidgetTest, UserLutsADragScrollsWithoutChoosingAndALutThatDoesNotLoadChangesNothing)
{
    build(SelectWidget::SELECT_USER, true);
    fs::create_directories(workFile("Lut/User"));
    fs::copy_file(workFile("Lut/Pre/Identity.cube"), workFile("Lut/User/good.cube"));
    std::ofstream(workFile("Lut/User/broken.cube")) << "LUT_3D_SIZE 17\n0.1 0.2 0.3\n0.4 0.5\n";
    for (int i = 0; i < 12; ++i)
        fs::copy_file(workFile("Lut/Pre/Identity.cube"), workFile("Lut/User/grade" + std::to_string(10 + i) + ".cube"));
    reopen();
    EXPECT_EQ(rows().mid(0, 3), QStringList({"broken.cube", "good.cube", "grade10.cube"}));

    QWidget *viewport = list()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
    for (int y = 280; y >= 40; y -= 20) {
        QTest::qWait(16);
        QTest::mouseMove(viewport, QPoint(400, y));
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(400, 40));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list()->verticalScrollBar()->value() > 0; }, 3000));
    QTest::qWait(200);
    EXPECT_EQ(field(VID_3DLUT_CTL, 0, 0), 0u) << "no row was chosen";
    EXPECT_EQ(LutConfig::getInstance()->getLutFile(1), "invalid");

    tapRow("good.cube");
    const std::vector<uint32_t> loaded = lutMemory();
    EXPECT_EQ(field(VID_3DLUT_CTL, 0, 0), 1u);
    EXPECT_EQ(hint(), "");
    tapRow("broken.cube");
    EXPECT_EQ(lutMemory(), loaded);
    EXPECT_EQ(field(VID_3DLUT_CTL, 0, 0), 1u);
    EXPECT_EQ(LutConfig::getInstance()->getLutFile(1), "Lut/User/good.cube");
    EXPECT_EQ(hint(), "LUT文件载入失败");
}

TEST_F(SelectWidgetTest, ImportCopiesTheChosenFilesReplacingOldOnesOnlyWhenComplete)
{
    build(SelectWidget::SELECT_IMPORT);
    EXPECT_EQ(hint(), "请插入USB设备");
    ASSERT_TRUE(board().tree().insertUsb('a'));
    fs::create_directories(stick("Lut"));
    const std::string fresh = readText(workFile("Lut/Pre/Identity.cube"));
    for (const char *name : {"a.cube", "b.cube", "c.cube"})
        std::ofstream(stick("Lut") / name) << fresh;
    fs::create_directories(workFile("Lut/User"));
    std::ofstream(workFile("Lut/User/a.cube")) << "old";
    reopen();
    EXPECT_TRUE(child<QPushButton>(*page, "selectConfirm")->isVisible());
    ASSERT_EQ(rows(), QStringList({"a.cube", "b.cube", "c.cube"}));

    QSignalSpy imported(page.get(), &SelectWidget::signalImportLutSuccess);
    QSignalSpy refused(page.get(), &SelectWidget::signalImportLutFailed);
    tapRow("a.cube");
    tapRow("b.cube");
    confirm();
    EXPECT_EQ(imported.count(), 1);
    EXPECT_EQ(readText(workFile("Lut/User/a.cube")), fresh);
    EXPECT_EQ(readText(workFile("Lut/User/b.cube")), fresh);
    EXPECT_FALSE(fs::exists(workFile("Lut/User/c.cube")));

    // The stick loses a file between the listing and the copy: the old one
    // of that name stays whole.
    std::ofstream(workFile("Lut/User/c.cube")) << "old";
    tapRow("c.cube");
    fs::remove(stick("Lut/c.cube"));
    confirm();
    EXPECT_EQ(refused.count(), 1);
    EXPECT_EQ(readText(workFile("Lut/User/c.cube")), "old");
    for (const auto &entry : fs::directory_iterator(workFile("Lut/User")))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "no half-copied file stays";

    // More than fifty would be stored: nothing is copied.
    for (int i = 0; i < 47; ++i)
        std::ofstream(workFile("Lut/User/stored" + std::to_string(i) + ".cube")) << "x";
    std::ofstream(stick("Lut") / "c.cube") << fresh;
    std::ofstream(stick("Lut") / "d.cube") << fresh;
    reopen();
    tapRow("c.cube");
    tapRow("d.cube");
    confirm();
    EXPECT_EQ(refused.count(), 2);
    EXPECT_EQ(readText(workFile("Lut/User/c.cube")), "old");
    EXPECT_FALSE(fs::exists(workFile("Lut/User/d.cube")));

    // The stick is pulled before the confirmation.
    tapRow("a.cube");
    ASSERT_TRUE(board().tree().removeUsb());
    confirm();
    EXPECT_EQ(refused.count(), 3);
    EXPECT_EQ(readText(workFile("Lut/User/a.cube")), fresh);
    EXPECT_EQ(imported.count(), 1);
}

TEST_F(SelectWidgetTest, EraseRemovesTheChosenUserLutsAndTheirRows)
{
    build(SelectWidget::SELECT_ERASE);
    fs::create_directories(workFile("Lut/User"));
    for (const char *name : {"x.cube", "y.cube", "z.cube"})
        std::ofstream(workFile(std::string("Lut/User/") + name)) << "x";
    reopen();
    EXPECT_EQ(child<QPushButton>(*page, "selectConfirm")->text(), "删除");
    EXPECT_EQ(hint(), "");
    QSignalSpy erased(page.get(), &SelectWidget::signalEraseLutSuccess);
    tapRow("x.cube");
    tapRow("z.cube");
    confirm();
    EXPECT_EQ(erased.count(), 1);
    EXPECT_EQ(rows(), QStringList({"y.cube"}));
    EXPECT_FALSE(fs::exists(workFile("Lut/User/x.cube")));
    EXPECT_TRUE(fs::exists(workFile("Lut/User/y.cube")));
    EXPECT_FALSE(fs::exists(workFile("Lut/User/z.cube")));
    tapRow("y.cube");
    confirm();
    EXPECT_EQ(erased.count(), 2);
    reopen();
    EXPECT_EQ(hint(), "没有文件");
}

TEST_F(SelectWidgetTest, AChosenCaptureFillsTheCompareMemoryAndShowsOnlyWhenCompareIsOn)
{
    build(SelectWidget::SELECT_FRAME, false, "[AppConfig]\nframeCompareEnable=true\n");
    ASSERT_TRUE(board().tree().insertUsb('a'));
    fs::create_directories(stick("Image"));
    savePicture("2024-05-01_10-00-00.png", QColor(255, 0, 0));
    savePicture("shot.tiff", QColor(0, 0, 255));
    std::ofstream(stick("Image/2024-05-01_10-00-01.bmp")) << "not a picture";
    std::ofstream(stick("Image/notes.txt")) << "ignored";
    reopen();
    EXPECT_EQ(rows(), QStringList({"2024-05-01_10-00-00.png", "2024-05-01_10-00-01.bmp", "shot.tiff"}));

    auto *memory = static_cast<uint32_t *>(FrameCtl::getInstance()->loadAddress());
    memory[0] = 0;
    tapRow("2024-05-01_10-00-00.png");
    ASSERT_TRUE(QTest::qWaitFor([&] { return field(FRAME_CAP_CTL, 4, 4) == 1u; }, 5000));
    EXPECT_EQ(memory[0], 1023u << 20);
    EXPECT_EQ(memory[2048 * 1079 + 1919], 1023u << 20);

    FrameCtl::getInstance()->frameOverlay(false);
    memory[0] = 7;
    tapRow("2024-05-01_10-00-01.bmp");
    ASSERT_TRUE(QTest::qWaitFor([&] { return hint() == "截图载入失败"; }, 5000));
    EXPECT_EQ(memory[0], 7u);
    EXPECT_EQ(field(FRAME_CAP_CTL, 4, 4), 0u);

    // With compare off a loaded capture stays hidden.
    AppConfig::getInstance()->setValue("frameCompareEnable", false);
    int completions = 0;
    QObject receiver;
    QObject::connect(FrameOption::getInstance(), &FrameOption::frameCompleted, &receiver, [&](int) { ++completions; });
    tapRow("shot.tiff");
    ASSERT_TRUE(QTest::qWaitFor([&] { return completions == 1; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(memory[0], 1023u);
    EXPECT_EQ(field(FRAME_CAP_CTL, 4, 4), 0u);

    QSignalSpy back(page.get(), &SelectWidget::signalBack);
    click(child<QPushButton>(*page, "selectBack"));
    ASSERT_EQ(back.count(), 1);
    EXPECT_EQ(back[0][0].toInt(), SelectWidget::SELECT_FRAME);
}
