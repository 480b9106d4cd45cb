#include "AppConfig.h"

#include "Console.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Record = AppConfig::Record;

// The record layout is part of the store's contract.
static_assert(offsetof(Record, name) == 0 && offsetof(Record, type) == 42
                  && offsetof(Record, boolValue) == 43 && offsetof(Record, intValue) == 44
                  && offsetof(Record, doubleValue) == 48 && offsetof(Record, stringValue) == 56,
              "settings record layout");
static_assert(sizeof(AppConfig::ValueType) == 1 && sizeof(int) == 4 && sizeof(double) == 8,
              "settings record field widths");

// A name or text too long for its field fails to compile: the table is a
// constant expression and writing past an array is not one.
constexpr Record makeRecord(const char *name, AppConfig::ValueType type, bool boolValue,
                            int intValue, const char *stringValue)
{
    Record record{};
    size_t i = 0;
    for (; name[i] != '\0'; ++i)
        record.name[i] = name[i];
    record.name[i] = '\0';
    record.type = type;
    record.boolValue = boolValue;
    record.intValue = intValue;
    for (i = 0; stringValue[i] != '\0'; ++i)
        record.stringValue[i] = stringValue[i];
    record.stringValue[i] = '\0';
    return record;
}

constexpr Record boolKey(const char *name, bool value)
{
    return makeRecord(name, AppConfig::TypeBool, value, 0, "");
}

constexpr Record intKey(const char *name, int value)
{
    return makeRecord(name, AppConfig::TypeInt, false, value, "");
}

constexpr Record stringKey(const char *name, const char *value)
{
    return makeRecord(name, AppConfig::TypeString, false, 0, value);
}

// In file order.
constexpr Record defaultTable[] = {
    boolKey("frameAdjustEnable", false),
    boolKey("frameCompareEnable", false),
    intKey("frameCompareOpacity", 50),
    intKey("frameComparePosition", 50),
    boolKey("wavesHistogramEnable", false),
    boolKey("wavesLightEnable", false),
    boolKey("waveRGBWavesEnable", false),
    boolKey("waveVectorgraphEnable", false),
    intKey("wavesOpacity", 50),
    intKey("wavesLight", 50),
    stringKey("wavesPosition", "leftBottom"),
    boolKey("photoMarkEnable", false),
    intKey("photoMarkColor", 1),
    stringKey("photoMarkLine", "middle"),
    stringKey("photoMarkRate", "16:9"),
    boolKey("photoMarkRate11", false),
    boolKey("photoMarkRate43", false),
    boolKey("photoMarkRate53", false),
    boolKey("photoMarkRate169", false),
    boolKey("photoMarkRate2351", false),
    boolKey("photoMarkRate2401", false),
    boolKey("photoMarkRate916", false),
    boolKey("photoMarkRateCustomEn", false),
    stringKey("photoMarkRatioWidth", "16"),
    stringKey("photoMarkRatioHeight", "9"),
    boolKey("photoFocusEnable", false),
    intKey("photoFocusColor", 1),
    intKey("photoFocusValue", 30),
    boolKey("photoZebraEnable", false),
    intKey("photoZebraMinValue", 85),
    intKey("photoZebraMaxValue", 100),
    boolKey("photoPseudoEnable", false),
    boolKey("photoPseudoIndex0", false),
    boolKey("photoPseudoIndex1", false),
    boolKey("photoPseudoIndex2", false),
    boolKey("photoPseudoIndex3", false),
    boolKey("photoPseudoIndex4", false),
    boolKey("photoPseudoIndex5", false),
    boolKey("photoPseudoIndex6", false),
    boolKey("photoPseudoIndex7", false),
    boolKey("photoPseudoIndex8", false),
    boolKey("photoPseudoIndex9", false),
    boolKey("photoPseudoIndex10", false),
    boolKey("photoPseudoIndex11", false),
    boolKey("photoSingleColorEnable", false),
    stringKey("photoSingleColorValue", "blue"),
    boolKey("photoZoomEnable", false),
    intKey("photoZoomX", 0),
    intKey("photoZoomY", 0),
    intKey("photoZoomWidth", 1280),
    intKey("photoZoomHeight", 600),
    boolKey("photoWarpEnable", false),
    stringKey("photoWarpRate", "2x"),
    boolKey("photoSafeEnable", false),
    intKey("photoSafeColor", 1),
    stringKey("photoSafeLine", "middle"),
    stringKey("photoSafeRate", "88"),
    boolKey("colorLutEnable", false),
    intKey("colorLutSelect", 0),
    boolKey("colorLutCalibrateEnable", false),
    stringKey("colorLutCalibrateFile", "calibrate"),
    stringKey("colorColourType", "REC-709"),
    boolKey("colorHDREnable", false),
    stringKey("colorHDRType", "PQ"),
    boolKey("colorTempEnable", false),
    intKey("colorTempValue", 6500),
    intKey("colorRGain", 100),
    intKey("colorGGain", 100),
    intKey("colorBGain", 100),
    intKey("colorROffset", 0),
    intKey("colorGOffset", 0),
    intKey("colorBOffset", 0),
    boolKey("colorGammaEnable", false),
    intKey("colorGammaValue", 24),
    boolKey("colorLightMeterEnable", false),
    stringKey("inputMain", "WHDI"),
    stringKey("inputAssist", "WHDI"),
    boolKey("inputPicEnable", false),
    stringKey("inputPicInPic", "rightTop"),
    intKey("inputChannel", 0),
    stringKey("inputPassword", "502713"),
    boolKey("inputPassView", false),
    stringKey("inputAntenna", "in"),
    stringKey("videoRange", "video"),
    stringKey("videoFormat", "Auto"),
    stringKey("audioChannel", "ch1ch2"),
    intKey("audioValue", 50),
    boolKey("videoOutEnabel", true),
    boolKey("videoConversionEnable", false),
    boolKey("videoLutEnable", false),
    intKey("displayLight", 50),
    intKey("displayContrast", 50),
    intKey("displayChroma", 50),
    intKey("displayBacklight", 50),
    intKey("displaySharpen", 50),
    stringKey("scanMode", "normal"),
    intKey("functionF1", 0),
    intKey("functionF2", 0),
    intKey("functionF3", 0),
    stringKey("language", "Chinese"),
    intKey("opacity", 100),
    stringKey("fanControl", "Auto"),
};

constexpr size_t keyCount = 102;
static_assert(std::size(defaultTable) == keyCount, "the settings table holds 102 keys");

const char *const settingsGroup = "AppConfig";
const char *const favouriteName = "favorite.ini";
const char *const englishTranslation = "English.qm";
const char *const chineseTranslation = "Chinese.qm";

// The length of the longest prefix of text that fits a string field without
// splitting a UTF-8 sequence. Bytes that are not UTF-8 are cut where they stand.
size_t fittingLength(const char *text, size_t length)
{
    const size_t limit = AppConfig::stringSize - 1;
    if (length <= limit)
        return length;
    auto continuation = [text](size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    size_t cut = limit;
    // A UTF-8 sequence has at most three continuation bytes.
    for (int step = 0; step < 3 && cut > 0 && continuation(cut); ++step)
        --cut;
    return continuation(cut) ? limit : cut;
}

void storeString(Record &record, const char *text, size_t length)
{
    const size_t kept = fittingLength(text, length);
    std::memcpy(record.stringValue, text, kept);
    record.stringValue[kept] = '\0';
}

bool parseBool(const QString &text, bool &out)
{
    if (text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        out = true;
        return true;
    }
    if (text == QLatin1String("0") || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        out = false;
        return true;
    }
    return false;
}

// A value the file holds, as text. An unquoted value with commas reads back as
// a list; other "@Type(...)" forms that have no text are refused.
bool valueText(const QVariant &value, QString &text)
{
    if (value.type() == QVariant::StringList) {
        text = value.toStringList().join(QLatin1Char(','));
        return true;
    }
    if (!value.canConvert<QString>())
        return false;
    text = value.toString();
    return true;
}

// Converts a file value by the record's type; a value that does not convert
// leaves the record as it was.
void loadValue(Record &record, const QVariant &value)
{
    QString text;
    if (!valueText(value, text))
        return;
    bool ok = false;
    switch (record.type) {
    case AppConfig::TypeBool: {
        bool parsed = false;
        if (parseBool(text, parsed))
            record.boolValue = parsed;
        break;
    }
    case AppConfig::TypeInt: {
        const int parsed = text.toInt(&ok);
        if (ok)
            record.intValue = parsed;
        break;
    }
    case AppConfig::TypeDouble: {
        const double parsed = text.toDouble(&ok);
        if (ok)
            record.doubleValue = parsed;
        break;
    }
    case AppConfig::TypeString: {
        const QByteArray utf8 = text.toUtf8();
        storeString(record, utf8.constData(), static_cast<size_t>(utf8.size()));
        break;
    }
    }
}

QVariant fileValue(const Record &record)
{
    switch (record.type) {
    case AppConfig::TypeBool:
        return record.boolValue;
    case AppConfig::TypeInt:
        return record.intValue;
    case AppConfig::TypeDouble:
        return record.doubleValue;
    case AppConfig::TypeString:
        break;
    }
    return QString::fromUtf8(record.stringValue);
}

bool exists(const std::string &path)
{
    return access(path.c_str(), F_OK) == 0;
}

std::string directoryOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// "<name>.XXXXXX" with six ASCII letters: the name QSaveFile gives its
// temporary file.
bool isSaveTemporary(const char *entry, const std::string &name)
{
    const size_t suffix = 7;
    if (std::strlen(entry) != name.size() + suffix || name.compare(0, name.size(), entry, name.size()) != 0
        || entry[name.size()] != '.')
        return false;
    for (size_t i = name.size() + 1; entry[i] != '\0'; ++i) {
        const char c = entry[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

// QSettings saves a file through QSaveFile, under the lock "<file>.lock": the
// new text goes to an unnamed file that is linked as "<file>.XXXXXX" (or is
// created under that name where unnamed files are not supported) and then
// renamed over the file; removing a stale lock is guarded by
// "<file>.lock.rmlock". A process killed inside a save leaves these behind,
// and a lock killed before it got its owner's id stalls every later save for
// half a minute. Only this process saves its settings, so at start they are
// all leftovers.
void removeInterruptedSaves(const std::string &path)
{
    const std::string directory = directoryOf(path);
    const std::string name = path.substr(directory.size());
    if (name.empty())
        return;
    DIR *dir = opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr)
        return;
    const std::string lock = name + ".lock";
    const std::string removalLock = lock + ".rmlock";
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name != lock && entry->d_name != removalLock && !isSaveTemporary(entry->d_name, name))
            continue;
        const std::string leftover = directory + entry->d_name;
        struct stat status;
        if (lstat(leftover.c_str(), &status) == 0 && S_ISREG(status.st_mode))
            unlink(leftover.c_str());
    }
    closedir(dir);
}

bool readFile(std::vector<Record> &table, const std::string &fileName)
{
    if (!exists(fileName)) {
        console::warning("%s file is not exist,use default configuration\n", fileName.c_str());
        return false;
    }
    QSettings settings(QString::fromStdString(fileName), QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    settings.beginGroup(QLatin1String(settingsGroup));
    for (Record &record : table) {
        const QString key = QLatin1String(record.name);
        if (settings.contains(key))
            loadValue(record, settings.value(key));
    }
    settings.endGroup();
    return true;
}

bool writeFile(const std::vector<Record> &table, const std::string &fileName)
{
    if (fileName.empty())
        return false;
    if (!exists(fileName)) {
        const int fd = open(fileName.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0640);
        if (fd < 0) {
            console::error("Creat app config file%s failed\n", fileName.c_str());
            return false;
        }
        close(fd);
        console::print("Creat app config file:%s\n", fileName.c_str());
    }
    // Atomic sync stays on: the file is replaced whole or not at all.
    QSettings settings(QString::fromStdString(fileName), QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    settings.beginGroup(QLatin1String(settingsGroup));
    for (const Record &record : table)
        settings.setValue(QLatin1String(record.name), fileValue(record));
    settings.endGroup();
    settings.sync();
    ::sync();
    // A format error only means the old text was damaged; it has been replaced.
    if (settings.status() == QSettings::AccessError) {
        console::error("Save app config file:%s failed\n", fileName.c_str());
        return false;
    }
    return true;
}

} // namespace

AppConfig::AppConfig()
    : m_keyTable(std::begin(defaultTable), std::end(defaultTable))
{
}

AppConfig *AppConfig::getInstance()
{
    static AppConfig instance;
    return &instance;
}

const AppConfig::Record *AppConfig::defaults(size_t &count)
{
    count = keyCount;
    return defaultTable;
}

void AppConfig::init(const std::string &fileName)
{
    if (m_initialised)
        return;
    m_fileName = fileName;
    removeInterruptedSaves(m_fileName);
    removeInterruptedSaves(favouriteFileName());
    if (!read())
        write();
    std::string language;
    findValue("language", language);
    setLanguage(language == "English" ? English : Chinese);
    m_initialised = true;
}

AppConfig::Record *AppConfig::find(const char *key, ValueType type)
{
    for (Record &record : m_keyTable) {
        if (record.type == type && std::strcmp(record.name, key) == 0)
            return &record;
    }
    return nullptr;
}

const AppConfig::Record *AppConfig::find(const char *key, ValueType type) const
{
    return const_cast<AppConfig *>(this)->find(key, type);
}

bool AppConfig::findValue(const char *key, int &out) const
{
    const Record *record = find(key, TypeInt);
    if (record == nullptr) {
        console::warning("Key:%s type[int] not found\n", key);
        return false;
    }
    out = record->intValue;
    return true;
}

bool AppConfig::findValue(const char *key, double &out) const
{
    const Record *record = find(key, TypeDouble);
    if (record == nullptr) {
        console::warning("Key:%s type[float] not found\n", key);
        return false;
    }
    out = record->doubleValue;
    return true;
}

bool AppConfig::findValue(const char *key, bool &out) const
{
    const Record *record = find(key, TypeBool);
    if (record == nullptr) {
        console::warning("Key:%s type[Bool] not found\n", key);
        return false;
    }
    out = record->boolValue;
    return true;
}

bool AppConfig::findValue(const char *key, std::string &out) const
{
    const Record *record = find(key, TypeString);
    if (record == nullptr) {
        console::warning("key:%s type[string] not found\n", key);
        return false;
    }
    out = record->stringValue;
    return true;
}

bool AppConfig::setValue(const char *key, int value)
{
    Record *record = find(key, TypeInt);
    if (record == nullptr) {
        console::warning("Setting key:%s value:%d failed\n", key, value);
        return false;
    }
    record->intValue = value;
    return true;
}

bool AppConfig::setValue(const char *key, double value)
{
    Record *record = find(key, TypeDouble);
    if (record == nullptr) {
        console::warning("Setting key:%s value:%f failed\n", key, value);
        return false;
    }
    record->doubleValue = value;
    return true;
}

bool AppConfig::setValue(const char *key, bool value)
{
    Record *record = find(key, TypeBool);
    if (record == nullptr) {
        console::warning("Setting key:%s value:%s failed\n", key, value ? "true" : "false");
        return false;
    }
    record->boolValue = value;
    return true;
}

bool AppConfig::setValue(const char *key, const std::string &value)
{
    Record *record = find(key, TypeString);
    if (record == nullptr) {
        console::warning("Setting key:%s value:%s failed\n", key, value.c_str());
        return false;
    }
    storeString(*record, value.data(), value.size());
    return true;
}

bool AppConfig::setValue(const char *key, const char *value)
{
    return setValue(key, std::string(value));
}

bool AppConfig::read()
{
    return readFile(m_keyTable, m_fileName);
}

bool AppConfig::write()
{
    return writeFile(m_keyTable, m_fileName);
}

bool AppConfig::save()
{
    return write();
}

std::string AppConfig::favouriteFileName() const
{
    return directoryOf(m_fileName) + favouriteName;
}

bool AppConfig::favouriteSave()
{
    return writeFile(m_keyTable, favouriteFileName());
}

bool AppConfig::favouriteLoad()
{
    return readFile(m_keyTable, favouriteFileName());
}

void AppConfig::favouriteRemove()
{
    const std::string favourite = favouriteFileName();
    if (exists(favourite))
        unlink(favourite.c_str());
}

bool AppConfig::setLanguage(Language language)
{
    const QLatin1String file(language == English ? englishTranslation : chineseTranslation);
    // Installing twice would list the translator twice; take it out first.
    const bool application = QCoreApplication::instance() != nullptr;
    if (application)
        QCoreApplication::removeTranslator(&m_translator);
    m_translator.load(file, QDir::currentPath());
    if (application)
        QCoreApplication::installTranslator(&m_translator);
    return true;
}

void AppConfig::restoreDefaults()
{
    m_keyTable.assign(std::begin(defaultTable), std::end(defaultTable));
}

int AppConfig::videoWidth(int channel) const
{
    return channel == 0 || channel == 1 ? m_videoWidth[channel] : 0;
}

int AppConfig::videoHeight(int channel) const
{
    return channel == 0 || channel == 1 ? m_videoHeight[channel] : 0;
}

void AppConfig::setVideoWidth(int channel, int value)
{
    if (channel == 0 || channel == 1)
        m_videoWidth[channel] = value;
}

void AppConfig::setVideoHeight(int channel, int value)
{
    if (channel == 0 || channel == 1)
        m_videoHeight[channel] = value;
}
