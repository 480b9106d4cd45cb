#include "ColorCalibrateFile.h"

#include "CalibrateCtl.h"
#include "CustomIcon.h"
#include "DeviceUSB.h"
#include "Lut3D.h"
#include "LutImport.h"
#include "SetUpForm.h"
#include "ui_ColorCalibrateFile.h"

#include <QIcon>
#include <QListWidget>

namespace {

constexpr const char *cubeSuffix = ".cube";

const char *const titleTexts[] = {
    QT_TRANSLATE_NOOP("ColorCalibrateFile", "选择校准文件"),
    QT_TRANSLATE_NOOP("ColorCalibrateFile", "导入"),
    QT_TRANSLATE_NOOP("ColorCalibrateFile", "删除"),
};
const char *const noStickText = QT_TRANSLATE_NOOP("ColorCalibrateFile", "请插入USB设备");
const char *const badCubeText = QT_TRANSLATE_NOOP("ColorCalibrateFile", "校准文件无效，校色保持不变");
const char *const eraseFailedText = QT_TRANSLATE_NOOP("ColorCalibrateFile", "删除失败");

} // namespace

ColorCalibrateFile::ColorCalibrateFile(QWidget *parent)
    : MenuPage(parent), ui(new Ui_ColorCalibrateFile), calibrateCtl(CalibrateCtl::getInstance()),
      lut3D(Lut3D::getInstance())
{
    setUpForm(ui, this);
    translateUi();
    setMode(SelectFile, true);
    connect(ui->calibrateFileList, &QListWidget::itemClicked, this, &ColorCalibrateFile::slotItemClicked);
    connect(ui->calibrateFileAction, &QPushButton::clicked, this, &ColorCalibrateFile::slotAction);
    connect(ui->calibrateFileBack, &QPushButton::clicked, this, &ColorCalibrateFile::signalBack);
}

ColorCalibrateFile::~ColorCalibrateFile()
{
    delete ui;
}

void ColorCalibrateFile::translateUi()
{
    ui->calibrateFileTitle->setText(tr(titleTexts[fileMode]));
    ui->calibrateFileAction->setText(tr(titleTexts[fileMode]));
    ui->calibrateFileBack->setText(tr("返回"));
    ui->calibrateFileHint->setText(hint != nullptr ? tr(hint) : QString());
}

void ColorCalibrateFile::setMode(int mode, bool load)
{
    fileMode = mode == ImportFile || mode == EraseFile ? static_cast<CalibrateFileMode>(mode) : SelectFile;
    loadChosen = load;
    ui->calibrateFileList->setSelectionMode(fileMode == SelectFile ? QAbstractItemView::SingleSelection
                                                                   : QAbstractItemView::MultiSelection);
    ui->calibrateFileAction->setVisible(fileMode != SelectFile);
    translateUi();
    setHint(nullptr);
    listFiles();
}

void ColorCalibrateFile::showEvent(QShowEvent *event)
{
    MenuPage::showEvent(event);
    setHint(nullptr);
    listFiles();
}

void ColorCalibrateFile::slotItemClicked(QListWidgetItem *item)
{
    if (fileMode == SelectFile)
        chooseFile(item->text().toStdString());
}

void ColorCalibrateFile::slotAction()
{
    std::vector<std::string> names;
    for (const QListWidgetItem *item : ui->calibrateFileList->selectedItems())
        names.push_back(item->text().toStdString());
    if (names.empty())
        return;
    if (fileMode == ImportFile)
        importFiles(names);
    else if (fileMode == EraseFile)
        eraseFiles(names);
}

void ColorCalibrateFile::listFiles()
{
    ui->calibrateFileList->clear();
    std::string dir;
    if (fileMode == ImportFile) {
        if (!DeviceUSB::getUSBCalibrateDir(dir)) {
            setHint(noStickText);
            return;
        }
    } else {
        DeviceUSB::getLocalCalibrateDir(dir);
    }
    std::vector<std::string> names;
    DeviceUSB::getDirectoryFile(dir, cubeSuffix, names);
    std::string chosen;
    appConfig->findValue("colorLutCalibrateFile", chosen);
    const QIcon icon(CustomIcon::read(QStringLiteral(":/png/common/fileIcon.png")));
    for (const std::string &name : names) {
        auto *item = new QListWidgetItem(icon, QString::fromStdString(name), ui->calibrateFileList);
        if (fileMode == SelectFile && dir + name == chosen)
            item->setSelected(true);
    }
}

// A chosen cube is checked by loading it before anything changes: one that
// does not load leaves the calibration and the stored choice as they were.
void ColorCalibrateFile::chooseFile(const std::string &name)
{
    std::string dir;
    DeviceUSB::getLocalCalibrateDir(dir);
    const std::string path = dir + name;
    const bool loaded = loadChosen ? calibrateCtl->loadFile(path) : lut3D->load(path.c_str(), Lut3D::LutDebugNone);
    if (!loaded) {
        listFiles();
        setHint(badCubeText);
        return;
    }
    setHint(nullptr);
    store("colorLutCalibrateFile", path);
}

void ColorCalibrateFile::importFiles(const std::vector<std::string> &names)
{
    std::string from;
    std::string to;
    if (!DeviceUSB::getUSBCalibrateDir(from)) {
        listFiles();
        return;
    }
    DeviceUSB::getLocalCalibrateDir(to);
    if (LutImport::importFiles(from, names, to)) {
        ui->calibrateFileList->clearSelection();
        emit signalImportLutCalibrateSuccess();
    } else {
        emit signalImportLutCalibrateFailed();
    }
}

void ColorCalibrateFile::eraseFiles(const std::vector<std::string> &names)
{
    std::string dir;
    DeviceUSB::getLocalCalibrateDir(dir);
    bool erased = true;
    for (const std::string &name : names)
        erased = DeviceUSB::removeFile(dir + name) && erased;
    listFiles();
    setHint(erased ? nullptr : eraseFailedText);
    if (erased)
        emit signalEraseLutCalibrateSuccess();
}

void ColorCalibrateFile::setHint(const char *text)
{
    hint = text;
    ui->calibrateFileHint->setText(text != nullptr ? tr(text) : QString());
}
