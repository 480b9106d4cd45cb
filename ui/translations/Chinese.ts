<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <source>温度过高，系统即将关机！</source>
        <translation>温度过高，系统即将关机！</translation>
    </message>
    <message>
        <source>00:00:00:00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cb</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>McuUpdateWidget</name>
    <message>
        <source>正在升级MCU固件，请勿关机和断开电源!</source>
        <translation>正在升级MCU固件，请勿关机和断开电源!</translation>
    </message>
    <message>
        <source>升级失败</source>
        <translation>升级失败</translation>
    </message>
</context>
<context>
    <name>SystemUpgrade</name>
    <message>
        <source>系统升级</source>
        <translation>系统升级</translation>
    </message>
    <message>
        <source>升级</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>检测到升级文件，请确认是否升级!</source>
        <translation>检测到升级文件，请确认是否升级!</translation>
    </message>
    <message>
        <source>请将升级文件放入USB设备中并插入系统!</source>
        <translation>请将升级文件放入USB设备中并插入系统!</translation>
    </message>
    <message>
        <source>正在升级中，请勿关机和断开电源!</source>
        <translation>正在升级中，请勿关机和断开电源!</translation>
    </message>
    <message>
        <source>升级失败</source>
        <translation>升级失败</translation>
    </message>
    <message>
        <source>MCU升级失败，请重新开机并长按F1</source>
        <translation>MCU升级失败，请重新开机并长按F1</translation>
    </message>
</context>
<context>
    <name>ZebraWidget</name>
    <message>
        <source>斑马纹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最小值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最大值</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
