#include "AppConfig.h"
#include "BoardTest.h"
#include "Config.h"

#include <QCoreApplication>
#include <QDataStream>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <poll.h>
#include <random>
#include <set>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

const char *const translationContext = "AppConfigTest";
const char *const translationSource = "language";

std::string warning(const std::string &text)
{
    return "\033[1;34m[ WARNING ]: " + text + "\033[0m";
}

std::string readText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool exists(const std::string &path)
{
    return access(path.c_str(), F_OK) == 0;
}

// An INI file as it lies on disk, read without QSettings.
struct IniFile {
    std::vector<std::string> groups;
    std::map<std::string, std::string> values; // of group AppConfig
};

IniFile parseIni(const std::string &path)
{
    IniFile ini;
    std::istringstream in(readText(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[') {
            ini.groups.push_back(line.substr(1, line.size() - 2));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos && ini.groups.size() == 1 && ini.groups[0] == "AppConfig")
            ini.values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return ini;
}

std::vector<AppConfig::Record> defaultRecords()
{
    size_t count = 0;
    const AppConfig::Record *table = AppConfig::defaults(count);
    return {table, table + count};
}

// As the file holds it; no key of the table is a double.
std::string textOf(const AppConfig::Record &record)
{
    if (record.type == AppConfig::TypeBool)
        return record.boolValue ? "true" : "false";
    if (record.type == AppConfig::TypeInt)
        return std::to_string(record.intValue);
    return record.stringValue;
}

// A compiled translation file with one message, enough to tell which file the
// store installed.
void writeTranslation(const std::string &path, const QString &translation)
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << quint8(3) << quint32(translation.size() * 2);
    for (QChar c : translation)
        out << quint16(c.unicode());
    out << quint8(6) << quint32(std::strlen(translationSource));
    out.writeRawData(translationSource, int(std::strlen(translationSource)));
    out << quint8(7) << quint32(std::strlen(translationContext));
    out.writeRawData(translationContext, int(std::strlen(translationContext)));
    out << quint8(1);

    quint32 hash = 0;
    for (const char *c = translationSource; *c != '\0'; ++c) {
        hash = (hash << 4) + quint8(*c);
        const quint32 high = hash & 0xf0000000;
        hash ^= high >> 24;
        hash &= ~high;
    }

    static const char magic[] = "\x3c\xb8\x64\x18\xca\xef\x9c\x95\xcd\x21\x1c\xbf\x60\xa1\xbd\xdd";
    QByteArray file;
    QDataStream qm(&file, QIODevice::WriteOnly);
    qm.writeRawData(magic, 16);
    qm << quint8(0x42) << quint32(8) << hash << quint32(0);
    qm << quint8(0x69) << quint32(message.size());
    qm.writeRawData(message.constData(), message.size());
    writeText(path, file.toStdString());
}

QString currentTranslation()
{
    return QCoreApplication::translate(translationContext, translationSource);
}

class AppConfigTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        writeTranslation("English.qm", "English");
        writeTranslation("Chinese.qm", "Chinese");
    }

    // The current value of a key that exists with that type.
    template <class T>
    T value(const char *key)
    {
        T out{};
        EXPECT_TRUE(config.findValue(key, out)) << key;
        return out;
    }

    AppConfig &config = *AppConfig::getInstance();
};

// Sees every favourite load and factory reset through the key "opacity".
class Observer : public Config
{
public:
    explicit Observer(std::vector<Observer *> &log) : m_log(log) {}

    void configInit() override
    {
        appConfig->findValue("opacity", opacity);
        m_log.push_back(this);
    }
    void translateUi() override { ++translations; }
    void change(const char *key, int value)
    {
        appConfig->setValue(key, value);
        modified = true;
    }

    int opacity = -1;
    int translations = 0;

private:
    std::vector<Observer *> &m_log;
};

} // namespace

TEST_F(AppConfigTest, FreshStartCreatesTheFileWithEveryDefault)
{
    EXPECT_FALSE(config.save()) << "no file name before init";

    CaptureStdout();
    config.init("config.ini");
    EXPECT_EQ(GetCapturedStdout(), warning("config.ini file is not exist,use default configuration\n")
                                       + "Creat app config file:config.ini\n");
    EXPECT_TRUE(config.initialised());
    EXPECT_EQ(currentTranslation(), "Chinese");

    const IniFile ini = parseIni("config.ini");
    EXPECT_EQ(ini.groups, std::vector<std::string>{"AppConfig"});
    const std::vector<AppConfig::Record> records = defaultRecords();
    ASSERT_EQ(records.size(), 102u);
    EXPECT_EQ(ini.values.size(), 102u);
    for (const AppConfig::Record &record : records) {
        auto value = ini.values.find(record.name);
        ASSERT_NE(value, ini.values.end()) << record.name;
        EXPECT_EQ(value->second, textOf(record)) << record.name;
    }

    const mode_t mask = umask(0);
    umask(mask);
    struct stat status;
    ASSERT_EQ(stat("config.ini", &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u & ~mask);

    config.init("other.ini");
    EXPECT_EQ(config.fileName(), "config.ini");
    EXPECT_FALSE(exists("other.ini"));
}

TEST_F(AppConfigTest, FileWithOnlyTheLanguageSelectsEnglishAndKeepsDefaults)
{
    const std::string text = "[AppConfig]\nlanguage=English\n";
    writeText("config.ini", text);
    CaptureStdout();
    config.init("config.ini");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(readText("config.ini"), text) << "a file that was read is not rewritten";
    EXPECT_EQ(currentTranslation(), "English");

    EXPECT_TRUE(value<bool>("videoOutEnabel"));
    EXPECT_EQ(value<int>("opacity"), 100);
    EXPECT_EQ(value<std::string>("wavesPosition"), "leftBottom");

    EXPECT_TRUE(config.setLanguage(AppConfig::Chinese));
    EXPECT_EQ(currentTranslation(), "Chinese");
    std::remove("English.qm");
    EXPECT_TRUE(config.setLanguage(AppConfig::English));
    EXPECT_EQ(currentTranslation(), translationSource) << "a missing file leaves the source texts";
}

TEST_F(AppConfigTest, MissedLookupsAndSetsWarnAndChangeNothing)
{
    config.init("config.ini");
    const std::string saved = readText("config.ini");

    int number = 7;
    double real = 7.5;
    bool flag = true;
    std::string text = "kept";
    CaptureStdout();
    EXPECT_FALSE(config.findValue("photoMarkEnable", number));
    EXPECT_FALSE(config.findValue("opacity", real));
    EXPECT_FALSE(config.findValue("opacity", flag));
    EXPECT_FALSE(config.findValue("Opacity", text));
    EXPECT_FALSE(config.setValue("photoMarkEnable", 3));
    EXPECT_FALSE(config.setValue("opacity", true));
    EXPECT_FALSE(config.setValue("opacity", 1.5));
    EXPECT_FALSE(config.setValue("noSuchKey", std::string("x")));
    EXPECT_EQ(GetCapturedStdout(), warning("Key:photoMarkEnable type[int] not found\n")
                                       + warning("Key:opacity type[float] not found\n")
                                       + warning("Key:opacity type[Bool] not found\n")
                                       + warning("key:Opacity type[string] not found\n")
                                       + warning("Setting key:photoMarkEnable value:3 failed\n")
                                       + warning("Setting key:opacity value:true failed\n")
                                       + warning("Setting key:opacity value:1.500000 failed\n")
                                       + warning("Setting key:noSuchKey value:x failed\n"));
    EXPECT_EQ(number, 7);
    EXPECT_EQ(real, 7.5);
    EXPECT_TRUE(flag);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(value<int>("opacity"), 100);

    CaptureStdout();
    EXPECT_TRUE(config.setValue("wavesPosition", "rightTop"));
    EXPECT_EQ(value<std::string>("wavesPosition"), "rightTop");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(readText("config.ini"), saved) << "setting a value writes nothing";
}

TEST_F(AppConfigTest, SavedValuesSurviveARestartAndOverlongTextIsCutWhole)
{
    config.init("config.ini");
    const std::string chinese = "中文";
    ASSERT_TRUE(config.setValue("photoMarkRate169", true));
    ASSERT_TRUE(config.setValue("colorTempValue", -3200));
    ASSERT_TRUE(config.setValue("inputMain", chinese));
    ASSERT_TRUE(config.save());
    EXPECT_EQ(parseIni("config.ini").values["inputMain"], chinese);

    config.setValue("photoMarkRate169", false);
    config.setValue("colorTempValue", 5600);
    config.setValue("inputMain", "SDI");
    ASSERT_TRUE(config.read());
    EXPECT_TRUE(value<bool>("photoMarkRate169"));
    EXPECT_EQ(value<int>("colorTempValue"), -3200);
    EXPECT_EQ(value<std::string>("inputMain"), chinese);

    auto repeat = [](const std::string &text, int times) {
        std::string result;
        while (times-- > 0)
            result += text;
        return result;
    };
    const std::string han = "中";      // three bytes
    const std::string emoji = "\U0001F600"; // four bytes
    const struct {
        std::string stored;
        std::string kept;
    } cases[] = {
        {std::string(103, 'a'), std::string(103, 'a')},
        {std::string(150, 'a'), std::string(103, 'a')},
        {"a" + repeat(han, 34), "a" + repeat(han, 34)},
        {"ab" + repeat(han, 34), "ab" + repeat(han, 33)},
        {"a" + repeat(emoji, 26), "a" + repeat(emoji, 25)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        ASSERT_TRUE(config.setValue("inputPassword", c.stored));
        EXPECT_EQ(value<std::string>("inputPassword"), c.kept);

        writeText("config.ini", "[AppConfig]\ninputPassword=" + c.stored + "\n");
        ASSERT_TRUE(config.read());
        EXPECT_EQ(value<std::string>("inputPassword"), c.kept);
    }
}

TEST_F(AppConfigTest, DamagedFileLoadsWhatItCanAndKeepsTheRest)
{
    using namespace std::string_literals;
    writeText("config.ini", "opacity=1\n\x01\xff\xfe\0 junk without equals\n"s
                                + "[AppConfig\n[AppConfig]\n=\nnoSuchKey=5\n"
                                  "displayLight=abc\ndisplayContrast=99999999999\ndisplayChroma= 12 \n"
                                  "photoMarkEnable=maybe\nphotoFocusEnable=1\nvideoOutEnabel=false\n"
                                  "photoZebraEnable=TRUE\nwavesPosition=left,top\nphotoMarkLine=@Rect(1 2 3 4)\n"
                                  "language=English\n");
    config.init("config.ini");

    EXPECT_EQ(value<int>("opacity"), 100) << "outside the group";
    EXPECT_EQ(value<int>("displayLight"), 50);
    EXPECT_EQ(value<int>("displayContrast"), 50);
    EXPECT_EQ(value<int>("displayChroma"), 12);
    EXPECT_FALSE(value<bool>("photoMarkEnable"));
    EXPECT_TRUE(value<bool>("photoFocusEnable"));
    EXPECT_FALSE(value<bool>("videoOutEnabel"));
    EXPECT_TRUE(value<bool>("photoZebraEnable"));
    EXPECT_EQ(value<std::string>("wavesPosition"), "left,top");
    EXPECT_EQ(value<std::string>("photoMarkLine"), "middle");
    EXPECT_EQ(value<std::string>("language"), "English");
    EXPECT_EQ(currentTranslation(), "English");

    ASSERT_TRUE(config.save());
    config.restoreDefaults();
    ASSERT_TRUE(config.read());
    EXPECT_EQ(value<int>("displayChroma"), 12);
    EXPECT_EQ(value<std::string>("wavesPosition"), "left,top");
    EXPECT_FALSE(value<bool>("videoOutEnabel"));
}

TEST_F(AppConfigTest, FileThatCannotBeCreatedIsReported)
{
    writeText("plain", "a file, not a directory");
    CaptureStdout();
    CaptureStderr();
    config.init("plain/config.ini");
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: Creat app config fileplain/config.ini failed\n\033[0m");
    EXPECT_EQ(GetCapturedStdout(), warning("plain/config.ini file is not exist,use default configuration\n"));
    EXPECT_TRUE(config.initialised());
    EXPECT_EQ(value<int>("opacity"), 100);

    CaptureStderr();
    EXPECT_FALSE(config.favouriteSave());
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: Creat app config fileplain/favorite.ini failed\n\033[0m");
}

TEST_F(AppConfigTest, SaveThatCannotReplaceTheFileFails)
{
    std::filesystem::create_directory("config.ini");
    config.init("config.ini");
    config.setValue("opacity", 40);
    CaptureStderr();
    EXPECT_FALSE(config.save());
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: Save app config file:config.ini failed\n\033[0m");
    EXPECT_EQ(value<int>("opacity"), 40) << "the table is kept for a later save";
}

TEST_F(AppConfigTest, LeftoversOfInterruptedSavesAreRemovedAtStart)
{
    writeText("config.ini", "[AppConfig]\nopacity=70\n");
    const std::vector<std::string> leftovers = {"config.ini.lock", "config.ini.lock.rmlock", "config.ini.AbCdEf",
                                                "favorite.ini.XyZabc", "favorite.ini.lock"};
    const std::vector<std::string> others = {"config.ini.Ab1dEf", "config.ini.abcdefg", "config.ini.lock2",
                                             "config.ini.bak", "other.ini.AbCdEf", "config.iniAbCdEfg"};
    for (const std::string &name : leftovers)
        writeText(name, "");
    for (const std::string &name : others)
        writeText(name, "");
    std::filesystem::create_directory("config.ini.Ghijkl");

    config.init("config.ini");
    for (const std::string &name : leftovers)
        EXPECT_FALSE(exists(name)) << name;
    for (const std::string &name : others)
        EXPECT_TRUE(exists(name)) << name;
    EXPECT_TRUE(exists("config.ini.Ghijkl"));
    EXPECT_EQ(value<int>("opacity"), 70);
    // An empty lock would have held this save for half a minute.
    EXPECT_TRUE(config.save());
}

TEST_F(AppConfigTest, FavouriteLoadBringsBackTheSavedCopyButNotIntoTheSettingsFile)
{
    config.init("config.ini");
    std::vector<Observer *> log;
    Observer page(log);
    Observer overlay(log);

    CaptureStdout();
    EXPECT_FALSE(config.favouriteLoad());
    EXPECT_EQ(GetCapturedStdout(), warning("favorite.ini file is not exist,use default configuration\n"));

    page.change("opacity", 80);
    page.configSave(false);
    ASSERT_TRUE(config.favouriteSave());

    page.change("opacity", 30);
    page.configSave(false);
    ASSERT_TRUE(config.favouriteLoad());
    EXPECT_EQ(page.opacity, -1) << "loading does not notify";
    page.configUpdate();
    EXPECT_EQ(log, (std::vector<Observer *>{&page, &overlay}));
    EXPECT_EQ(page.opacity, 80);
    EXPECT_EQ(overlay.opacity, 80);
    EXPECT_EQ(parseIni("config.ini").values["opacity"], "30");

    // A page that changed nothing does not save unless told to.
    page.configSave(false);
    EXPECT_EQ(parseIni("config.ini").values["opacity"], "30");
    page.configSave(true);
    EXPECT_EQ(parseIni("config.ini").values["opacity"], "80");
}

TEST_F(AppConfigTest, FactoryResetRestoresDefaultsDropsTheFavouriteAndSpeaksChinese)
{
    config.init("config.ini");
    std::vector<Observer *> log;
    Observer page(log);
    {
        Observer closed(log);
    }
    Observer dialog(log);
    page.change("opacity", 20);
    config.setValue("language", "English");
    page.languageUpdate(AppConfig::English);
    page.configSave(false);
    ASSERT_TRUE(config.favouriteSave());
    EXPECT_EQ(currentTranslation(), "English");
    Config::setVideoWidth(0, 3840);

    dialog.configReset();
    EXPECT_FALSE(exists("favorite.ini"));
    const IniFile ini = parseIni("config.ini");
    for (const AppConfig::Record &record : defaultRecords())
        EXPECT_EQ(ini.values.at(record.name), textOf(record)) << record.name;
    EXPECT_EQ(log, (std::vector<Observer *>{&page, &dialog}));
    EXPECT_EQ(page.opacity, 100);
    EXPECT_EQ(dialog.opacity, 100);
    EXPECT_EQ(currentTranslation(), "Chinese");
    EXPECT_EQ(page.translations, 2);
    EXPECT_EQ(dialog.translations, 2);
    EXPECT_EQ(config.videoWidth(0), 3840) << "the input size is not a setting";
}

TEST_F(AppConfigTest, InputSizeIsKeptPerChannel)
{
    EXPECT_EQ(config.videoWidth(0), 1920);
    EXPECT_EQ(config.videoHeight(1), 1080);
    Config::setVideoWidth(1, 1280);
    Config::setVideoHeight(1, 720);
    Config::setVideoWidth(2, 640);
    Config::setVideoHeight(-1, 480);
    EXPECT_EQ(config.videoWidth(0), 1920);
    EXPECT_EQ(config.videoHeight(0), 1080);
    EXPECT_EQ(config.videoWidth(1), 1280);
    EXPECT_EQ(config.videoHeight(1), 720);
}

namespace {

// The writer program beside this test binary, started with its output on a
// pipe (through the emulator when the tests run under one).
pid_t startWriter(long firstGeneration, int &output)
{
    const std::string program =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "config_writer").string();
    const std::string generation = std::to_string(firstGeneration);
    const char *emulator = std::getenv("FIELDMON_EMULATOR");
    std::vector<char *> argv;
    if (emulator != nullptr && *emulator != '\0')
        argv.push_back(const_cast<char *>(emulator));
    argv.push_back(const_cast<char *>(program.c_str()));
    argv.push_back(const_cast<char *>(generation.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    output = fds[0];
    return pid;
}

bool waitReady(int output)
{
    std::string text;
    char buffer[256];
    pollfd watch{output, POLLIN, 0};
    while (text.find("ready\n") == std::string::npos) {
        if (poll(&watch, 1, 10000) != 1)
            return false;
        const ssize_t length = read(output, buffer, sizeof(buffer));
        if (length <= 0)
            return false;
        text.append(buffer, size_t(length));
    }
    return true;
}

// Which whole table the file holds: the defaults (-1) or one generation of
// the writer. Empty when it is whole, else what is wrong.
std::string wholeTable(const IniFile &ini, long &generation)
{
    const std::vector<AppConfig::Record> records = defaultRecords();
    if (ini.groups != std::vector<std::string>{"AppConfig"} || ini.values.size() != records.size())
        return "not one group of " + std::to_string(records.size()) + " keys";
    bool defaults = true;
    for (const AppConfig::Record &record : records)
        defaults = defaults && ini.values.at(record.name) == textOf(record);
    if (defaults) {
        generation = -1;
        return "";
    }
    generation = std::atol(ini.values.at("frameCompareOpacity").c_str());
    for (const AppConfig::Record &record : records) {
        const std::string expected = record.type == AppConfig::TypeBool ? (generation % 2 ? "true" : "false")
                                                                         : std::to_string(generation);
        if (ini.values.at(record.name) != expected)
            return std::string(record.name) + "=" + ini.values.at(record.name) + " in generation "
                   + std::to_string(generation);
    }
    return "";
}

} // namespace

TEST_F(AppConfigTest, SaverKilledAtAnyPointLeavesAWholeTable)
{
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, 20000);

    const int kills = 200;
    const long generationsPerRun = 100000;
    long last = -1;
    int insideSave = 0;
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        int output = -1;
        const pid_t writer = startWriter((kill + 1) * generationsPerRun, output);
        ASSERT_GT(writer, 0) << "config_writer must be built beside the test";
        const bool ready = waitReady(output);
        if (ready)
            usleep(useconds_t(delayUs(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        waitpid(writer, &status, 0);
        close(output);
        ASSERT_TRUE(ready);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

        insideSave += exists("config.ini.lock");
        long generation = -2;
        const std::string fault = wholeTable(parseIni("config.ini"), generation);
        ASSERT_EQ(fault, "");
        ASSERT_GE(generation, last) << "an older table came back";
        last = generation;
    }
    std::cout << "kills inside a save: " << insideSave << " of " << kills << ", last generation " << last
              << std::endl;
    EXPECT_GT(insideSave, 0) << "no kill landed inside a save";
    EXPECT_GT(last, 0);

    config.init("config.ini");
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator("."))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"config.ini", "Chinese.qm", "English.qm"}));
    EXPECT_EQ(value<int>("opacity"), last);
}
