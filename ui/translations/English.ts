<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <source>温度过高，系统即将关机！</source>
        <translation>Temperature too high, the system is shutting down!</translation>
    </message>
</context>
<context>
    <name>McuUpdateWidget</name>
    <message>
        <source>正在升级MCU固件，请勿关机和断开电源!</source>
        <translation>Updating the MCU firmware, do not switch off or disconnect the power!</translation>
    </message>
    <message>
        <source>升级失败</source>
        <translation>Upgrade failed</translation>
    </message>
</context>
<context>
    <name>SystemUpgrade</name>
    <message>
        <source>系统升级</source>
        <translation>System upgrade</translation>
    </message>
    <message>
        <source>升级</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>检测到升级文件，请确认是否升级!</source>
        <translation>Upgrade file found, please confirm the upgrade!</translation>
    </message>
    <message>
        <source>请将升级文件放入USB设备中并插入系统!</source>
        <translation>Please put the upgrade file on a USB device and insert it!</translation>
    </message>
    <message>
        <source>正在升级中，请勿关机和断开电源!</source>
        <translation>Upgrading, do not switch off or disconnect the power!</translation>
    </message>
    <message>
        <source>升级失败</source>
        <translation>Upgrade failed</translation>
    </message>
    <message>
        <source>MCU升级失败，请重新开机并长按F1</source>
        <translation>MCU upgrade failed, please restart and hold F1</translation>
    </message>
</context>
</TS>
