<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="zh_CN">
<context>
    <name>AntennaExternal</name>
    <message>
        <source>请确保所有天线安装正确！</source>
        <translation>Make sure all antennas are fitted correctly!</translation>
    </message>
</context>
<context>
    <name>AssistInputWidget</name>
    <message>
        <source>画中画</source>
        <translation>PiP</translation>
    </message>
    <message>
        <source>信号源选择</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>无线</source>
        <translation>Wireless</translation>
    </message>
    <message>
        <source>画面位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>左上</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>左半屏</source>
        <translation>Left half</translation>
    </message>
    <message>
        <source>右半屏</source>
        <translation>Right half</translation>
    </message>
</context>
<context>
    <name>ColorCalibrateFile</name>
    <message>
        <source>选择校准文件</source>
        <translation>Calibration file</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>请插入USB设备</source>
        <translation>Please insert a USB device</translation>
    </message>
    <message>
        <source>校准文件无效，校色保持不变</source>
        <translation>Invalid calibration file, calibration unchanged</translation>
    </message>
    <message>
        <source>删除失败</source>
        <translation>Delete failed</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>ColorTempWidget</name>
    <message>
        <source>色温调整</source>
        <translation>Colour temp.</translation>
    </message>
    <message>
        <source>色温</source>
        <translation>Colour temp.</translation>
    </message>
    <message>
        <source>RGB调整</source>
        <translation>RGB adjust</translation>
    </message>
</context>
<context>
    <name>ColorWidget</name>
    <message>
        <source>色彩管理</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>LUT</source>
        <translation>LUT</translation>
    </message>
    <message>
        <source>色域</source>
        <translation>Gamut</translation>
    </message>
    <message>
        <source>HDR</source>
        <translation>HDR</translation>
    </message>
    <message>
        <source>色温</source>
        <translation>Colour temp.</translation>
    </message>
    <message>
        <source>伽马曲线</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>测光表</source>
        <translation>Light meter</translation>
    </message>
</context>
<context>
    <name>ColourWidget</name>
    <message>
        <source>色域类型</source>
        <translation>Gamut</translation>
    </message>
</context>
<context>
    <name>ControlWidget</name>
    <message>
        <source>控制</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>风扇控制</source>
        <translation>Fan</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
</context>
<context>
    <name>DisplayMainWidget</name>
    <message>
        <source>亮度</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>对比度</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>色度</source>
        <translation>Chroma</translation>
    </message>
    <message>
        <source>扫描模式</source>
        <translation>Scan mode</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>过像素</source>
        <translation>Overscan</translation>
    </message>
    <message>
        <source>像素到像素</source>
        <translation>Pixel to pixel</translation>
    </message>
    <message>
        <source>背光</source>
        <translation>Backlight</translation>
    </message>
    <message>
        <source>锐化</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>菜单透明度</source>
        <translation>Menu opacity</translation>
    </message>
</context>
<context>
    <name>DisplayWidget</name>
    <message>
        <source>显示</source>
        <translation>Display</translation>
    </message>
</context>
<context>
    <name>EraseLutSuccess</name>
    <message>
        <source>删除自定义LUT文件成功</source>
        <translation>Custom LUT files deleted</translation>
    </message>
</context>
<context>
    <name>FocusWidget</name>
    <message>
        <source>峰值对焦</source>
        <translation>Peaking</translation>
    </message>
    <message>
        <source>对焦颜色</source>
        <translation>Peaking Color</translation>
    </message>
    <message>
        <source>灵敏度</source>
        <translation>Sensitivity</translation>
    </message>
</context>
<context>
    <name>FrameCompareWidget</name>
    <message>
        <source>截图对比</source>
        <translation>Frame compare</translation>
    </message>
    <message>
        <source>透明度</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>左右位置</source>
        <translation>Split position</translation>
    </message>
    <message>
        <source>从USB选择截图</source>
        <translation>Choose a capture on USB</translation>
    </message>
</context>
<context>
    <name>FrameGetWidget</name>
    <message>
        <source>开启机内调整</source>
        <translation>Apply picture settings</translation>
    </message>
    <message>
        <source>截图</source>
        <translation>Capture</translation>
    </message>
</context>
<context>
    <name>FrameWidget</name>
    <message>
        <source>截图管理</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>截图</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>截图对比</source>
        <translation>Frame compare</translation>
    </message>
</context>
<context>
    <name>FunctionMenuWidget</name>
    <message>
        <source>功能</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>F1自定义</source>
        <translation>F1 function</translation>
    </message>
    <message>
        <source>F2自定义</source>
        <translation>F2 function</translation>
    </message>
    <message>
        <source>F3自定义</source>
        <translation>F3 function</translation>
    </message>
</context>
<context>
    <name>FunctionWidget</name>
    <message>
        <source>截图</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>截图对比</source>
        <translation>Frame compare</translation>
    </message>
    <message>
        <source>直方图</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>波形图</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>RGB波形图</source>
        <translation>RGB parade</translation>
    </message>
    <message>
        <source>矢量图</source>
        <translation>Vectorscope</translation>
    </message>
    <message>
        <source>标记</source>
        <translation>Markers</translation>
    </message>
    <message>
        <source>峰值对焦</source>
        <translation>Peaking</translation>
    </message>
    <message>
        <source>斑马纹</source>
        <translation>Zebra</translation>
    </message>
    <message>
        <source>伪色</source>
        <translation>False colour</translation>
    </message>
    <message>
        <source>单色</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>变形</source>
        <translation>De-squeeze</translation>
    </message>
    <message>
        <source>安全框</source>
        <translation>Safe area</translation>
    </message>
    <message>
        <source>LUT</source>
        <translation>LUT</translation>
    </message>
    <message>
        <source>LUT对比</source>
        <translation>LUT compare</translation>
    </message>
    <message>
        <source>伽马曲线</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>测光表</source>
        <translation>Light meter</translation>
    </message>
    <message>
        <source>画中画</source>
        <translation>PiP</translation>
    </message>
    <message>
        <source>最高亮度</source>
        <translation>Full backlight</translation>
    </message>
    <message>
        <source>无线模式</source>
        <translation>Wireless mode</translation>
    </message>
    <message>
        <source>画面冻结</source>
        <translation>Freeze</translation>
    </message>
    <message>
        <source>A&lt;-&gt;B</source>
        <translation>A&lt;-&gt;B</translation>
    </message>
    <message>
        <source>扫描模式</source>
        <translation>Scan mode</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>F1自定义</source>
        <translation>F1 function</translation>
    </message>
    <message>
        <source>F2自定义</source>
        <translation>F2 function</translation>
    </message>
    <message>
        <source>F3自定义</source>
        <translation>F3 function</translation>
    </message>
</context>
<context>
    <name>GammaWidget</name>
    <message>
        <source>伽马曲线</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>伽马值</source>
        <translation>Gamma value</translation>
    </message>
</context>
<context>
    <name>HDRWidget</name>
    <message>
        <source>HDR开启</source>
        <translation>HDR</translation>
    </message>
    <message>
        <source>HDR类型</source>
        <translation>HDR curve</translation>
    </message>
</context>
<context>
    <name>ImportLutFailed</name>
    <message>
        <source>超过导入上限50个，导入失败</source>
        <translation>Import failed: more than 50 files</translation>
    </message>
</context>
<context>
    <name>ImportLutSuccess</name>
    <message>
        <source>导入自定义LUT文件成功</source>
        <translation>Custom LUT files imported</translation>
    </message>
</context>
<context>
    <name>LightMeterWidget</name>
    <message>
        <source>测光表开启</source>
        <translation>Light meter</translation>
    </message>
</context>
<context>
    <name>LutContrast</name>
    <message>
        <source>请确保LUT开启且加载有效文件</source>
        <translation>Switch the LUT on and load a valid file first</translation>
    </message>
</context>
<context>
    <name>LutWidget</name>
    <message>
        <source>LUT开启</source>
        <translation>LUT</translation>
    </message>
    <message>
        <source>LUT载入选择</source>
        <translation>LUT source</translation>
    </message>
    <message>
        <source>预设</source>
        <translation>Preset</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>LUT预设选择</source>
        <translation>Preset LUT</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>LUT自定义</source>
        <translation>User LUT</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>MainInputWidget</name>
    <message>
        <source>信号源选择</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>无线</source>
        <translation>Wireless</translation>
    </message>
    <message>
        <source>通道复位</source>
        <translation>Channel reset</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Reset</translation>
    </message>
</context>
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
        <source>USB</source>
        <translation>USB</translation>
    </message>
</context>
<context>
    <name>MarkWidget</name>
    <message>
        <source>标记</source>
        <translation>Frame Lines</translation>
    </message>
    <message>
        <source>标记颜色</source>
        <translation>Line Color</translation>
    </message>
    <message>
        <source>标记线宽</source>
        <translation>Line Width</translation>
    </message>
    <message>
        <source>标记比例</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>C</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
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
    <name>PhotoWidget</name>
    <message>
        <source>摄影菜单</source>
        <translation>Photo Tools</translation>
    </message>
    <message>
        <source>标记</source>
        <translation>Frame Lines</translation>
    </message>
    <message>
        <source>峰值对焦</source>
        <translation>Peaking</translation>
    </message>
    <message>
        <source>斑马纹</source>
        <translation>Zebra</translation>
    </message>
    <message>
        <source>伪色</source>
        <translation>False Color</translation>
    </message>
    <message>
        <source>单色</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>变形</source>
        <translation>Anamorphic</translation>
    </message>
    <message>
        <source>安全框</source>
        <translation>Safe Area</translation>
    </message>
</context>
<context>
    <name>PreConfig</name>
    <message>
        <source>是否覆盖之前的预设值</source>
        <translation>Overwrite the saved preset?</translation>
    </message>
    <message>
        <source>是否加载保存的预设值</source>
        <translation>Load the saved preset?</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PseudoWidget</name>
    <message>
        <source>伪色</source>
        <translation>False Color</translation>
    </message>
    <message>
        <source>伪色区间</source>
        <translation>Bands</translation>
    </message>
</context>
<context>
    <name>RGBadjustWidget</name>
    <message>
        <source>RGB调整</source>
        <translation>RGB adjust</translation>
    </message>
    <message>
        <source>R增益</source>
        <translation>R gain</translation>
    </message>
    <message>
        <source>G增益</source>
        <translation>G gain</translation>
    </message>
    <message>
        <source>B增益</source>
        <translation>B gain</translation>
    </message>
    <message>
        <source>R偏移</source>
        <translation>R offset</translation>
    </message>
    <message>
        <source>G偏移</source>
        <translation>G offset</translation>
    </message>
    <message>
        <source>B偏移</source>
        <translation>B offset</translation>
    </message>
    <message>
        <source>RGB增益复位</source>
        <translation>Reset gains</translation>
    </message>
    <message>
        <source>RGB偏移复位</source>
        <translation>Reset offsets</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>ResetSystem</name>
    <message>
        <source>是否恢复出厂设置</source>
        <translation>Restore the factory settings?</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SDIFormat</name>
    <message>
        <source>3G SDI格式</source>
        <translation>3G SDI format</translation>
    </message>
</context>
<context>
    <name>SafeWidget</name>
    <message>
        <source>安全框</source>
        <translation>Safe Area</translation>
    </message>
    <message>
        <source>安全框颜色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>安全框线宽</source>
        <translation>Line Width</translation>
    </message>
    <message>
        <source>安全框比例</source>
        <translation>Size</translation>
    </message>
</context>
<context>
    <name>ScanProgress</name>
    <message>
        <source>正在扫频</source>
        <translation>Scanning channels</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
</context>
<context>
    <name>ScreenFrameFail</name>
    <message>
        <source>截图失败 请插入USB设备</source>
        <translation>Capture failed: insert a USB stick</translation>
    </message>
</context>
<context>
    <name>ScreenFrameSuccess</name>
    <message>
        <source>截图成功 USB:Image/</source>
        <translation>Captured to USB:Image/</translation>
    </message>
</context>
<context>
    <name>SelectWidget</name>
    <message>
        <source>LUT预设选择</source>
        <translation>Preset LUT</translation>
    </message>
    <message>
        <source>LUT自定义</source>
        <translation>User LUT</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>从USB选择截图</source>
        <translation>Choose a capture on USB</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>请插入USB设备</source>
        <translation>Please insert a USB device</translation>
    </message>
    <message>
        <source>没有文件</source>
        <translation>No files</translation>
    </message>
    <message>
        <source>LUT文件载入失败</source>
        <translation>The LUT file could not be loaded</translation>
    </message>
    <message>
        <source>截图载入失败</source>
        <translation>The capture could not be loaded</translation>
    </message>
    <message>
        <source>删除失败</source>
        <translation>Delete failed</translation>
    </message>
</context>
<context>
    <name>SignalWidget</name>
    <message>
        <source>信号源管理</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>主画面信道</source>
        <translation>Main input</translation>
    </message>
    <message>
        <source>从画面信道</source>
        <translation>Assist input</translation>
    </message>
    <message>
        <source>无线信道</source>
        <translation>Wireless channel</translation>
    </message>
    <message>
        <source>无线密码</source>
        <translation>Wireless password</translation>
    </message>
    <message>
        <source>左上</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>左半屏</source>
        <translation>Left half</translation>
    </message>
    <message>
        <source>右半屏</source>
        <translation>Right half</translation>
    </message>
    <message>
        <source>画面位置</source>
        <translation>Position</translation>
    </message>
</context>
<context>
    <name>SingleColorWidget</name>
    <message>
        <source>单色</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>红色</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>绿色</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>灰色</source>
        <translation>Grey</translation>
    </message>
</context>
<context>
    <name>SystemInfoAbout</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>产品</source>
        <translation>Product</translation>
    </message>
    <message>
        <source>便携监视器</source>
        <translation>Field monitor</translation>
    </message>
    <message>
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>软件版本</source>
        <translation>Software version</translation>
    </message>
    <message>
        <source>FPGA版本</source>
        <translation>FPGA version</translation>
    </message>
    <message>
        <source>MCU版本</source>
        <translation>MCU version</translation>
    </message>
    <message>
        <source>网址</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>见维修手册</source>
        <translation>See the service manual</translation>
    </message>
    <message>
        <source>电话</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation>Factory reset</translation>
    </message>
</context>
<context>
    <name>SystemInfoMainWidget</name>
    <message>
        <source>校准文件无效，校色保持不变</source>
        <translation>Invalid calibration file, calibration unchanged</translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation>System</translation>
    </message>
    <message>
        <source>语言选择</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>校色模式</source>
        <translation>Calibration mode</translation>
    </message>
    <message>
        <source>选择校准文件</source>
        <translation>Calibration file</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>预设值保存</source>
        <translation>Save preset</translation>
    </message>
    <message>
        <source>预设值加载</source>
        <translation>Load preset</translation>
    </message>
    <message>
        <source>时间设置</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation>Software upgrade</translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation>Factory reset</translation>
    </message>
</context>
<context>
    <name>SystemMenuWidget</name>
    <message>
        <source>视频格式</source>
        <translation>Video format</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>控制</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
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
    <name>TimeSetting</name>
    <message>
        <source>时间设置成功</source>
        <translation>Time set</translation>
    </message>
</context>
<context>
    <name>TimeSettingWidget</name>
    <message>
        <source>时间设置失败</source>
        <translation>Setting the time failed</translation>
    </message>
    <message>
        <source>时间设置</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>时间和日期</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>年、月、日</source>
        <translation>Year, month, day</translation>
    </message>
    <message>
        <source>时、分、秒</source>
        <translation>Hour, minute, second</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>VideoFormatWidget</name>
    <message>
        <source>视频格式</source>
        <translation>Video format</translation>
    </message>
    <message>
        <source>视频范围</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>视频</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>3G SDI格式</source>
        <translation>3G SDI format</translation>
    </message>
    <message>
        <source>SDI音频通道</source>
        <translation>SDI audio pair</translation>
    </message>
    <message>
        <source>SDI输出开启</source>
        <translation>SDI output</translation>
    </message>
    <message>
        <source>SDI输出变换</source>
        <translation>SDI 6G conversion</translation>
    </message>
    <message>
        <source>SDI输出加载LUT</source>
        <translation>LUT on SDI output</translation>
    </message>
</context>
<context>
    <name>WarpWidget</name>
    <message>
        <source>变形</source>
        <translation>Anamorphic</translation>
    </message>
    <message>
        <source>变形比例</source>
        <translation>Squeeze</translation>
    </message>
</context>
<context>
    <name>WavesWidget</name>
    <message>
        <source>波形菜单</source>
        <translation>Scopes</translation>
    </message>
    <message>
        <source>直方图</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>波形图</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>RGB波形图</source>
        <translation>RGB Parade</translation>
    </message>
    <message>
        <source>矢量图</source>
        <translation>Vectorscope</translation>
    </message>
    <message>
        <source>显示位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>透明度</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>亮度</source>
        <translation>Brightness</translation>
    </message>
</context>
<context>
    <name>WirelessChannelWidget</name>
    <message>
        <source>信道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>天线</source>
        <translation>Antenna</translation>
    </message>
    <message>
        <source>内置</source>
        <translation>Internal</translation>
    </message>
    <message>
        <source>外置</source>
        <translation>External</translation>
    </message>
    <message>
        <source>扫频</source>
        <translation>Scan</translation>
    </message>
</context>
<context>
    <name>WirelessPasswordWidget</name>
    <message>
        <source>无线加密</source>
        <translation>Encryption</translation>
    </message>
    <message>
        <source>显示密码</source>
        <translation>Show password</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
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
<context>
    <name>ZoomWidget</name>
    <message>
        <source>放大</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>拖动方框选择放大区域</source>
        <translation>Drag the box to choose the zoomed area</translation>
    </message>
</context>
</TS>
