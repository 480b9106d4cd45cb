#include "../../color/CubeFiles.h"
#include "ColorCalibrateFile.h"
#include "DeviceUSB.h"
#include "PageTest.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

class ColorCalibrateFileTest : public PageTest
{
protected:
    void build(const std::string &settings = std::string())
    {
        startStore(settings);
        fs::create_directories(workFile("Lut/Calibrate"));
        page = std::make_unique<ColorCalibrateFile>();
        QObject::connect(page.get(), &ColorCalibrateFile::signalImportLutCalibrateSuccess, page.get(),
                         [this] { results.push_back("imported"); });
        QObject::connect(page.get(), &ColorCalibrateFile::signalImportLutCalibrateFailed, page.get(),
                         [this] { results.push_back("import failed"); });
        QObject::connect(page.get(), &ColorCalibrateFile::signalEraseLutCalibrateSuccess, page.get(),
                         [this] { results.push_back("erased"); });
        QObject::connect(page.get(), &ColorCalibrateFile::signalBack, page.get(),
                         [this] { results.push_back("back"); });
    }

    std::string local(const std::string &name) { return workFile("Lut/Calibrate/" + name); }

    // The stick's calibration folder, the stick put in first.
    std::string stick()
    {
        board().tree().insertUsb('a');
        std::string dir;
        EXPECT_TRUE(DeviceUSB::getUSBCalibrateDir(dir));
        return dir;
    }

    QListWidget *list() { return child<QListWidget>(*page, "calibrateFileList"); }

    std::vector<std::string> rows()
    {
        std::vector<std::string> names;
        for (int i = 0; i < list()->count(); ++i)
            names.push_back(list()->item(i)->text().toStdString());
        return names;
    }

    // A finger on a row of the list.
    void tap(const std::string &name)
    {
        const QList<QListWidgetItem *> found = list()->findItems(QString::fromStdString(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        list()->scrollToItem(found.front());
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list()->visualItemRect(found.front()).center());
    }

    uint32_t calibrationWord()
    {
        return static_cast<const uint32_t *>(board().pl().memory(PLMemory::LUT3D_MEMORY0))[0];
    }
    bool calibrationOn() { return field(CALI_3DLUT_CTL, 0, 0) == 1; }
    QString hint() { return child<QLabel>(*page, "calibrateFileHint")->text(); }

    std::unique_ptr<ColorCalibrateFile> page;
    std::vector<std::string> results;
};

} // namespace

TEST_F(ColorCalibrateFileTest, ChoosingACubeLoadsItIntoTheCalibrationAndStoresItsPath)
{
    build();
    writeText(local("white.cube"), constantCube(1.0));
    writeText(local("Half.cube"), constantCube(0.5));
    writeText(local("notes.txt"), "not a cube");
    fs::create_directories(local("folder.cube"));
    showPage(*page);
    EXPECT_EQ(rows(), (std::vector<std::string>{"Half.cube", "white.cube"}));

    tap("white.cube");
    EXPECT_TRUE(calibrationOn());
    EXPECT_EQ(calibrationWord(), whiteWord);
    tap("Half.cube");
    EXPECT_EQ(calibrationWord(), halfWord);
    EXPECT_TRUE(hint().isEmpty());
    expectSavedOnHide(*page, {{"colorLutCalibrateFile", "Lut/Calibrate/Half.cube"}});

    // Shown again, the stored choice is the selected row.
    page->show();
    ASSERT_EQ(list()->selectedItems().size(), 1);
    EXPECT_EQ(list()->selectedItems().front()->text(), "Half.cube");
    click(child<QPushButton>(*page, "calibrateFileBack"));
    EXPECT_EQ(results, std::vector<std::string>{"back"});
}

TEST_F(ColorCalibrateFileTest, ACubeThatDoesNotLoadChangesNothingAndSaysSo)
{
    build("[AppConfig]\ncolorLutCalibrateFile=Lut/Calibrate/good.cube\n");
    writeText(local("good.cube"), constantCube(0.5));
    // The data stops one line early.
    std::string text = constantCube(1.0);
    text.erase(text.rfind('\n', text.size() - 2) + 1);
    writeText(local("short.cube"), text);
    showPage(*page);
    tap("good.cube");
    ASSERT_EQ(calibrationWord(), halfWord);

    tap("short.cube");
    EXPECT_EQ(calibrationWord(), halfWord);
    EXPECT_TRUE(calibrationOn());
    EXPECT_FALSE(hint().isEmpty());
    expectSavedOnHide(*page, {{"colorLutCalibrateFile", "Lut/Calibrate/good.cube"}});
}

TEST_F(ColorCalibrateFileTest, WithoutLoadingAChoiceIsCheckedAndRememberedOnly)
{
    build();
    writeText(local("white.cube"), constantCube(1.0));
    writeText(local("broken.cube"), "LUT_3D_SIZE 17\n0.1 0.2\n");
    page->setMode(ColorCalibrateFile::SelectFile, false);
    showPage(*page);
    tap("broken.cube");
    EXPECT_FALSE(hint().isEmpty());
    tap("white.cube");
    EXPECT_TRUE(hint().isEmpty());
    EXPECT_FALSE(calibrationOn());
    EXPECT_EQ(calibrationWord(), 0u);
    expectSavedOnHide(*page, {{"colorLutCalibrateFile", "Lut/Calibrate/white.cube"}});
}

TEST_F(ColorCalibrateFileTest, ImportCopiesTheChosenStickFilesUpToFiftyInAll)
{
    build();
    page->setMode(ColorCalibrateFile::ImportFile, true);
    showPage(*page);
    EXPECT_EQ(list()->count(), 0) << "no stick";
    EXPECT_EQ(hint(), "请插入USB设备");

    const std::string usb = stick();
    for (const char *name : {"a.cube", "b.cube", "c.cube"})
        writeText(usb + name, std::string("new ") + name);
    writeText(local("b.cube"), "old b");
    page->hide();
    page->show();
    EXPECT_TRUE(hint().isEmpty());
    EXPECT_EQ(rows(), (std::vector<std::string>{"a.cube", "b.cube", "c.cube"}));
    QPushButton *import = child<QPushButton>(*page, "calibrateFileAction");
    EXPECT_EQ(import->text(), "导入");

    // Nothing chosen, nothing done.
    click(import);
    EXPECT_TRUE(results.empty());

    tap("a.cube");
    tap("b.cube");
    click(import);
    EXPECT_EQ(results, std::vector<std::string>{"imported"});
    EXPECT_EQ(readText(local("a.cube")), "new a.cube");
    EXPECT_EQ(readText(local("b.cube")), "new b.cube");
    EXPECT_FALSE(fs::exists(local("c.cube")));

    // 48 stored: three more are too many, and nothing is copied; two do.
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    for (int i = 0; i < 46; ++i)
        writeText(local("stored" + std::to_string(i) + ".cube"), "stored");
    writeText(local("a.cube"), "old a");
    tap("a.cube");
    tap("b.cube");
    tap("c.cube");
    click(import);
    EXPECT_EQ(results.back(), "import failed");
    EXPECT_FALSE(fs::exists(local("c.cube")));
    EXPECT_EQ(readText(local("a.cube")), "old a");
    tap("a.cube");
    click(import);
    EXPECT_EQ(results.back(), "imported");
    EXPECT_EQ(readText(local("c.cube")), "new c.cube");
    EXPECT_EQ(readText(local("a.cube")), "old a");
}

TEST_F(ColorCalibrateFileTest, EraseRemovesTheChosenFilesOnly)
{
    build();
    for (const char *name : {"one.cube", "two.cube", "three.cube"})
        writeText(local(name), "cube");
    page->setMode(ColorCalibrateFile::EraseFile, true);
    showPage(*page);
    EXPECT_EQ(child<QPushButton>(*page, "calibrateFileAction")->text(), "删除");
    tap("one.cube");
    tap("three.cube");
    click(child<QPushButton>(*page, "calibrateFileAction"));
    EXPECT_EQ(results, std::vector<std::string>{"erased"});
    EXPECT_EQ(rows(), std::vector<std::string>{"two.cube"});
    EXPECT_FALSE(fs::exists(local("one.cube")));
    EXPECT_TRUE(fs::exists(local("two.cube")));
}
