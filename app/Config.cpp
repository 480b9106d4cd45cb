#include "Config.h"

#include <algorithm>

std::vector<Config *> Config::configList;

Config::Config()
    : appConfig(AppConfig::getInstance())
{
    configList.push_back(this);
}

// Observers live until exit on the device; leaving the list keeps one that
// ends earlier (a test's, a closed dialog's) from being called afterwards.
Config::~Config()
{
    configList.erase(std::remove(configList.begin(), configList.end(), this), configList.end());
}

void Config::configInit()
{
}

// By index: an observer's configInit may construct further observers.
void Config::configUpdate()
{
    for (size_t i = 0; i < configList.size(); ++i)
        configList[i]->configInit();
}

void Config::configSave(bool force)
{
    if (!force && !modified)
        return;
    appConfig->save();
    modified = false;
}

void Config::translateUi()
{
}

void Config::languageUpdate(AppConfig::Language language)
{
    appConfig->setLanguage(language);
    for (size_t i = 0; i < configList.size(); ++i)
        configList[i]->translateUi();
}

void Config::screenWidth()
{
}

void Config::screenHeight()
{
}

void Config::configReset()
{
    appConfig->restoreDefaults();
    appConfig->save();
    appConfig->favouriteRemove();
    configUpdate();
    languageUpdate(AppConfig::Chinese);
}

void Config::setVideoWidth(int channel, int value)
{
    AppConfig::getInstance()->setVideoWidth(channel, value);
}

void Config::setVideoHeight(int channel, int value)
{
    AppConfig::getInstance()->setVideoHeight(channel, value);
}
