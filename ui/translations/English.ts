<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <source>温度过高，系统即将关机！</source>
        <translation>Temperature too high, the system is shutting down!</translation>
    </message>
    <message>
        <source>00:00:00:00</source>
        <translation>00:00:00:00</translation>
    </message>
    <message>
        <source>No video</source>
        <translation>No video</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>L</source>
        <translation>L</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>0%</source>
        <translation>0%</translation>
    </message>
    <message>
        <source>Cb</source>
        <translation>Cb</translation>
    </message>
    <message>
        <source>Cr</source>
        <translation>Cr</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
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
<context>
    <name>ZebraWidget</name>
    <message>
        <source>斑马纹</source>
        <translation>Zebra</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Max</translation>
    </message>
</context>
</TS>
