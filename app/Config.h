#pragma once

#include "AppConfig.h"

#include <vector>

// Base of every object that reacts when the settings are replaced wholesale
// (favourite load, factory reset) or the language changes. Each registers at
// construction and stays registered; all of them live until exit.
class Config
{
public:
    Config();
    virtual ~Config();

    virtual void configInit();
    virtual void configUpdate();
    virtual void configSave(bool force);
    virtual void translateUi();
    virtual void languageUpdate(AppConfig::Language language);
    virtual void screenWidth();
    virtual void screenHeight();

    void configReset();

    static void setVideoWidth(int channel, int value);
    static void setVideoHeight(int channel, int value);

    static std::vector<Config *> configList;

protected:
    bool modified = false;
    AppConfig *appConfig;
};
