<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>AntennaExternal</name>
    <message>
        <source>请确保所有天线安装正确！</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AssistInputWidget</name>
    <message>
        <source>画中画</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>信号源选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画面位置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左下</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右下</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左半屏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右半屏</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorCalibrateFile</name>
    <message>
        <source>选择校准文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请插入USB设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>校准文件无效，校色保持不变</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>返回</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorTempWidget</name>
    <message>
        <source>色温调整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色温</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGB调整</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorWidget</name>
    <message>
        <source>色彩管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色域</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HDR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色温</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>伽马曲线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测光表</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColourWidget</name>
    <message>
        <source>色域类型</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ControlWidget</name>
    <message>
        <source>控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>音量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>风扇控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自动</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DisplayMainWidget</name>
    <message>
        <source>亮度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>对比度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扫描模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正常</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>过像素</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>像素到像素</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>背光</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>锐化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单透明度</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DisplayWidget</name>
    <message>
        <source>显示</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EraseLutSuccess</name>
    <message>
        <source>删除自定义LUT文件成功</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FocusWidget</name>
    <message>
        <source>峰值对焦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>对焦颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>灵敏度</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FrameCompareWidget</name>
    <message>
        <source>截图对比</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>透明度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左右位置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从USB选择截图</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FrameGetWidget</name>
    <message>
        <source>开启机内调整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>截图</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FrameWidget</name>
    <message>
        <source>截图管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>截图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>截图对比</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FunctionMenuWidget</name>
    <message>
        <source>功能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F1自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F2自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F3自定义</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FunctionWidget</name>
    <message>
        <source>截图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>截图对比</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>直方图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>波形图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGB波形图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>矢量图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标记</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>峰值对焦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>斑马纹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>伪色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>变形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>安全框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LUT对比</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>伽马曲线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>测光表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画中画</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最高亮度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无线模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画面冻结</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&lt;-&gt;B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扫描模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F1自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F2自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F3自定义</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GammaWidget</name>
    <message>
        <source>伽马曲线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>伽马值</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HDRWidget</name>
    <message>
        <source>HDR开启</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HDR类型</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImportLutFailed</name>
    <message>
        <source>超过导入上限50个，导入失败</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImportLutSuccess</name>
    <message>
        <source>导入自定义LUT文件成功</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LightMeterWidget</name>
    <message>
        <source>测光表开启</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LutContrast</name>
    <message>
        <source>请确保LUT开启且加载有效文件</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LutWidget</name>
    <message>
        <source>LUT开启</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LUT载入选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预设</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LUT预设选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LUT自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainInputWidget</name>
    <message>
        <source>信号源选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通道复位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>复位</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
        <source>USB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MarkWidget</name>
    <message>
        <source>标记</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标记颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标记线宽</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标记比例</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
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
    <name>PhotoWidget</name>
    <message>
        <source>摄影菜单</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标记</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>峰值对焦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>斑马纹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>伪色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>变形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>安全框</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreConfig</name>
    <message>
        <source>是否覆盖之前的预设值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是否加载保存的预设值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PseudoWidget</name>
    <message>
        <source>伪色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>伪色区间</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RGBadjustWidget</name>
    <message>
        <source>RGB调整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R增益</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G增益</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B增益</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R偏移</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G偏移</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B偏移</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGB增益复位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGB偏移复位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>返回</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResetSystem</name>
    <message>
        <source>是否恢复出厂设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SDIFormat</name>
    <message>
        <source>3G SDI格式</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SafeWidget</name>
    <message>
        <source>安全框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>安全框颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>安全框线宽</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>安全框比例</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScanProgress</name>
    <message>
        <source>正在扫频</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>完成</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScreenFrameFail</name>
    <message>
        <source>截图失败 请插入USB设备</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScreenFrameSuccess</name>
    <message>
        <source>截图成功 USB:Image/</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SelectWidget</name>
    <message>
        <source>LUT预设选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LUT自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从USB选择截图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>返回</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请插入USB设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LUT文件载入失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>截图载入失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除失败</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SignalWidget</name>
    <message>
        <source>信号源管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>主画面信道</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从画面信道</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无线信道</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无线密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左下</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右下</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左半屏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右半屏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画面位置</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SingleColorWidget</name>
    <message>
        <source>单色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>红色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>绿色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>灰色</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemInfoAbout</name>
    <message>
        <source>关于</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>产品</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>便携监视器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>型号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>软件版本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FPGA版本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MCU版本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>见维修手册</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>电话</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemInfoMainWidget</name>
    <message>
        <source>校准文件无效，校色保持不变</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>语言选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>校色模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择校准文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预设值保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预设值加载</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时间设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemMenuWidget</name>
    <message>
        <source>视频格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>功能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>返回</source>
        <translation type="unfinished"></translation>
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
    <name>TimeSetting</name>
    <message>
        <source>时间设置成功</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimeSettingWidget</name>
    <message>
        <source>时间设置失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时间设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时间和日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年、月、日</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时、分、秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VideoFormatWidget</name>
    <message>
        <source>视频格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频范围</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3G SDI格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SDI音频通道</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SDI输出开启</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SDI输出变换</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SDI输出加载LUT</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WarpWidget</name>
    <message>
        <source>变形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>变形比例</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WavesWidget</name>
    <message>
        <source>波形菜单</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>直方图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>波形图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGB波形图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>矢量图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示位置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左下</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右下</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>透明度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>亮度</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WirelessChannelWidget</name>
    <message>
        <source>信道</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>天线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>外置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扫频</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WirelessPasswordWidget</name>
    <message>
        <source>无线加密</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
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
<context>
    <name>ZoomWidget</name>
    <message>
        <source>放大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拖动方框选择放大区域</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
