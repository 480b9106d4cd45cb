#include "FunctionWidget.h"

#include "KeyCtl.h"
#include "SetUpForm.h"
#include "ui_FunctionWidget.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QPushButton>
#include <climits>

// In the order the list shows them; code 17 (HDR) is not offered.
const FunctionWidget::FunctionEntry FunctionWidget::funTable[functionCount] = {
    {QT_TRANSLATE_NOOP("FunctionWidget", "截图"), KeyCtl::FUNC_SCREENSHOT},
    {QT_TRANSLATE_NOOP("FunctionWidget", "截图对比"), KeyCtl::FUNC_SCREENSHOT_COMPARE},
    {QT_TRANSLATE_NOOP("FunctionWidget", "直方图"), KeyCtl::FUNC_HISTOGRAM},
    {QT_TRANSLATE_NOOP("FunctionWidget", "波形图"), KeyCtl::FUNC_WAVEFORM},
    {QT_TRANSLATE_NOOP("FunctionWidget", "RGB波形图"), KeyCtl::FUNC_RGB_WAVEFORM},
    {QT_TRANSLATE_NOOP("FunctionWidget", "矢量图"), KeyCtl::FUNC_VECTORSCOPE},
    {QT_TRANSLATE_NOOP("FunctionWidget", "标记"), KeyCtl::FUNC_MARKER},
    {QT_TRANSLATE_NOOP("FunctionWidget", "峰值对焦"), KeyCtl::FUNC_FOCUS_PEAKING},
    {QT_TRANSLATE_NOOP("FunctionWidget", "斑马纹"), KeyCtl::FUNC_ZEBRA},
    {QT_TRANSLATE_NOOP("FunctionWidget", "伪色"), KeyCtl::FUNC_FALSE_COLOR},
    {QT_TRANSLATE_NOOP("FunctionWidget", "单色"), KeyCtl::FUNC_MONO},
    {QT_TRANSLATE_NOOP("FunctionWidget", "放大"), KeyCtl::FUNC_ZOOM},
    {QT_TRANSLATE_NOOP("FunctionWidget", "变形"), KeyCtl::FUNC_ANAMORPHIC},
    {QT_TRANSLATE_NOOP("FunctionWidget", "安全框"), KeyCtl::FUNC_SAFE_FRAME},
    {QT_TRANSLATE_NOOP("FunctionWidget", "LUT"), KeyCtl::FUNC_LUT},
    {QT_TRANSLATE_NOOP("FunctionWidget", "LUT对比"), KeyCtl::FUNC_LUT_COMPARE},
    {QT_TRANSLATE_NOOP("FunctionWidget", "伽马曲线"), KeyCtl::FUNC_GAMMA},
    {QT_TRANSLATE_NOOP("FunctionWidget", "测光表"), KeyCtl::FUNC_LIGHT_METER},
    {QT_TRANSLATE_NOOP("FunctionWidget", "画中画"), KeyCtl::FUNC_PIP},
    {QT_TRANSLATE_NOOP("FunctionWidget", "最高亮度"), KeyCtl::FUNC_MAX_BRIGHTNESS},
    {QT_TRANSLATE_NOOP("FunctionWidget", "无线模式"), KeyCtl::FUNC_WIRELESS_MODE},
    {QT_TRANSLATE_NOOP("FunctionWidget", "画面冻结"), KeyCtl::FUNC_FREEZE},
    {QT_TRANSLATE_NOOP("FunctionWidget", "A<->B"), KeyCtl::FUNC_SWAP_AB},
    {QT_TRANSLATE_NOOP("FunctionWidget", "扫描模式"), KeyCtl::FUNC_SCAN_MODE},
    {QT_TRANSLATE_NOOP("FunctionWidget", "关闭"), KeyCtl::FUNC_OFF},
};

namespace {

constexpr int gridColumns = 5;

const char *const titles[FunctionWidget::keyCount] = {
    QT_TRANSLATE_NOOP("FunctionWidget", "F1自定义"),
    QT_TRANSLATE_NOOP("FunctionWidget", "F2自定义"),
    QT_TRANSLATE_NOOP("FunctionWidget", "F3自定义"),
};

} // namespace

FunctionWidget::FunctionWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_FunctionWidget), keyCtl(KeyCtl::getInstance())
{
    setUpForm(ui, this);
    auto *grid = new QGridLayout(ui->functionGrid);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(16);
    auto *group = new QButtonGroup(this);
    for (int row = 0; row < functionCount; ++row) {
        auto *button = new QPushButton(ui->functionGrid);
        button->setObjectName(QStringLiteral("functionCode%1").arg(funTable[row].value));
        button->setCheckable(true);
        button->setProperty("role", QStringLiteral("choice"));
        button->setMinimumHeight(96);
        grid->addWidget(button, row / gridColumns, row % gridColumns);
        group->addButton(button, funTable[row].value);
    }
    translateUi();
    configInit();
    connect(group, &QButtonGroup::idClicked, this, &FunctionWidget::slotFunctionSelect);
}

FunctionWidget::~FunctionWidget()
{
    delete ui;
}

const char *FunctionWidget::settingKey(int key)
{
    static const char *const keys[keyCount] = {"functionF1", "functionF2", "functionF3"};
    return key >= 0 && key < keyCount ? keys[key] : keys[0];
}

int FunctionWidget::validCode(int code)
{
    for (const FunctionEntry &entry : funTable)
        if (entry.value == code)
            return code;
    return KeyCtl::FUNC_OFF;
}

QString FunctionWidget::functionName(int code)
{
    const int valid = validCode(code);
    for (const FunctionEntry &entry : funTable)
        if (entry.value == valid)
            return QCoreApplication::translate("FunctionWidget", entry.name);
    return QString();
}

void FunctionWidget::configInit()
{
    for (int key = 0; key < keyCount; ++key) {
        codes[key] = validCode(readInt(settingKey(key), KeyCtl::FUNC_OFF, INT_MIN, INT_MAX));
        keyCtl->registerFunction(static_cast<KeyCtl::KeyType>(key), static_cast<KeyCtl::KeyValue>(codes[key]));
    }
    showKey();
}

void FunctionWidget::translateUi()
{
    ui->functionTitle->setText(tr(titles[editedKey]));
    for (const FunctionEntry &entry : funTable) {
        auto *button = ui->functionGrid->findChild<QPushButton *>(QStringLiteral("functionCode%1").arg(entry.value));
        button->setText(tr(entry.name));
    }
}

void FunctionWidget::setKey(int key)
{
    if (key < 0 || key >= keyCount)
        return;
    editedKey = key;
    ui->functionTitle->setText(tr(titles[editedKey]));
    showKey();
}

void FunctionWidget::slotFunctionSelect(int code)
{
    codes[editedKey] = code;
    keyCtl->registerFunction(static_cast<KeyCtl::KeyType>(editedKey), static_cast<KeyCtl::KeyValue>(code));
    store(settingKey(editedKey), code);
    emit signalFunctionSelect(editedKey, code);
}

// The button of the edited key's function is the checked one.
void FunctionWidget::showKey()
{
    const QString name = QStringLiteral("functionCode%1").arg(codes[editedKey]);
    ui->functionGrid->findChild<QPushButton *>(name)->setChecked(true);
}
