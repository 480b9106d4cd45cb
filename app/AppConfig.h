#pragma once

#include <QTranslator>
#include <string>
#include <vector>

// The settings store: one compiled-in table of named values, loaded from an INI
// file at start, edited in memory by the menu pages and written back whole.
// Used from the user-interface thread only.
class AppConfig
{
public:
    enum Language { Chinese = 0, English = 1 };

    enum ValueType : unsigned char { TypeBool = 0, TypeInt = 1, TypeDouble = 2, TypeString = 3 };

    static constexpr size_t nameSize = 42;
    static constexpr size_t stringSize = 104; // at most 103 bytes of text

    struct Record {
        char name[nameSize];
        ValueType type;
        bool boolValue;
        int intValue;
        double doubleValue;
        char stringValue[stringSize];
    };

    static AppConfig *getInstance();

    void init(const std::string &fileName);

    bool findValue(const char *key, int &out) const;
    bool findValue(const char *key, double &out) const;
    bool findValue(const char *key, bool &out) const;
    bool findValue(const char *key, std::string &out) const;

    bool setValue(const char *key, int value);
    bool setValue(const char *key, double value);
    bool setValue(const char *key, bool value);
    bool setValue(const char *key, const std::string &value);
    // Keeps a string literal from binding to the bool overload.
    bool setValue(const char *key, const char *value);

    bool read();
    bool write();
    bool save();

    bool favouriteSave();
    bool favouriteLoad();
    void favouriteRemove();

    bool setLanguage(Language language);

    // The live table back to the compiled-in defaults (factory reset).
    void restoreDefaults();

    // Current input size of each channel (0 main, 1 assist).
    int videoWidth(int channel) const;
    int videoHeight(int channel) const;
    void setVideoWidth(int channel, int value);
    void setVideoHeight(int channel, int value);

    bool initialised() const { return m_initialised; }
    const std::string &fileName() const { return m_fileName; }

    // The compiled-in table, in file order.
    static const Record *defaults(size_t &count);

private:
    AppConfig();
    Record *find(const char *key, ValueType type);
    const Record *find(const char *key, ValueType type) const;
    std::string favouriteFileName() const;

    bool m_initialised = false;
    int m_videoWidth[2] = {1920, 1920};
    int m_videoHeight[2] = {1080, 1080};
    std::string m_fileName;
    QTranslator m_translator;
    std::vector<Record> m_keyTable;
};
