#pragma once

#include "Singleton.h"

#include <QObject>
#include <mutex>
#include <string>

class PLControl;

// The three version texts of the About page (the application's, the logic's and
// the MCU firmware's) and the relay of the MCU's request for a firmware update.
class Version : public QObject, public Singleton<Version>
{
    Q_OBJECT
    friend class Singleton<Version>;

public:
    void getSoftVersion(std::string &version) const;
    void getFPGAVersion(std::string &version) const;
    void getMcuVersion(std::string &version) const;
    // Called on the serial reader thread with the version the MCU reported.
    void setMcuVersion(const std::string &version);
    void mcuApplyUpgrade();

signals:
    void signalMcuUpgrade();

private:
    Version();

    PLControl *m_pl;
    mutable std::mutex m_mutex;
    std::string m_mcuVersion;
};
