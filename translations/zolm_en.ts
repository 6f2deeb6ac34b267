<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Document</name>
    <message>
        <source>无法打开文件“%1”：%2</source>
        <translation>Cannot open file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>无法读取文件“%1”：%2</source>
        <translation>Cannot read file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>无法保存文件“%1”：%2</source>
        <translation>Cannot save file &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>EditTexts</name>
    <message>
        <source>选择的数据中有 %1 个测点已经输入了井深，将被新的井深覆盖。

是否覆盖？</source>
        <translation>%1 of the selected points already have a depth, which will be replaced by the new depth.

Replace them?</translation>
    </message>
    <message>
        <source>%1 个测点已经输入了井深（测点 %2），不会覆盖；确需覆盖请加 --force</source>
        <translation>%1 points already have a depth (points %2) and are not overwritten; add --force to overwrite them</translation>
    </message>
    <message>
        <source>请键入一个数。</source>
        <translation>Please type a number.</translation>
    </message>
    <message>
        <source>“请填入一个在%1和%2之间的数字。”</source>
        <translation>&quot;Please enter a number between %1 and %2.&quot;</translation>
    </message>
    <message>
        <source>“请填入不多于%1个的字符。”</source>
        <translation>&quot;Please enter no more than %1 characters.&quot;</translation>
    </message>
    <message>
        <source>字符“%1”无法保存在文件中，请换用其他字符。</source>
        <translation>The character &quot;%1&quot; cannot be saved in the file; please use another character.</translation>
    </message>
    <message>
        <source>井队编号</source>
        <translation>Crew No.</translation>
    </message>
    <message>
        <source>井号</source>
        <translation>Well</translation>
    </message>
    <message>
        <source>磁偏角</source>
        <translation>Declination</translation>
    </message>
    <message>
        <source>&quot;自动生成井深&quot;只用于选择的数据

当前没有选择任何数据</source>
        <translation>&quot;Auto Depth&quot; works on the selected points only.

No points are selected.</translation>
    </message>
    <message>
        <source>输入井队号</source>
        <translation>Enter Crew Number</translation>
    </message>
    <message>
        <source>请输入井队号</source>
        <translation>Please enter the crew number</translation>
    </message>
    <message>
        <source>输入井号</source>
        <translation>Enter Well Name</translation>
    </message>
    <message>
        <source>请输入井号</source>
        <translation>Please enter the well name</translation>
    </message>
    <message>
        <source>输入磁偏角</source>
        <translation>Enter Declination</translation>
    </message>
    <message>
        <source>请输入磁偏角</source>
        <translation>Please enter the magnetic declination</translation>
    </message>
    <message>
        <source>提示：真方位 = 磁方位 + 磁偏角</source>
        <translation>Note: true azimuth = magnetic azimuth + declination</translation>
    </message>
    <message>
        <source>自动生成井深</source>
        <translation>Auto Depth</translation>
    </message>
    <message>
        <source>在选择的数据点中自动填入测深数据</source>
        <translation>Fill in measured depths for the selected points automatically</translation>
    </message>
    <message>
        <source>请输入起始测深</source>
        <translation>Starting measured depth</translation>
    </message>
    <message>
        <source>请输入段长</source>
        <translation>Interval length</translation>
    </message>
    <message>
        <source>输入测深数据(单位:米)</source>
        <translation>Enter Measured Depth (m)</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>文件或文件夹不存在</source>
        <translation>the file or folder does not exist</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>没有访问权限</source>
        <translation>access denied</translation>
    </message>
    <message>
        <source>磁盘是只读的</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>文件已被其它程序占用</source>
        <translation>the file is in use by another program</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>this is a folder</translation>
    </message>
    <message>
        <source>路径中有一项不是文件夹</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>文件名太长</source>
        <translation>the file name is too long</translation>
    </message>
    <message>
        <source>打开的文件太多</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>未知错误</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>LanguageMenu</name>
    <message>
        <source>语言将在程序重新启动后更改。</source>
        <translation>The language will change when the program is restarted.</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
</context>
<context>
    <name>PortChoice</name>
    <message>
        <source>内置虚拟探管</source>
        <translation>Built-in virtual probe</translation>
    </message>
</context>
<context>
    <name>ProbeInfo</name>
    <message>
        <source>%1伏</source>
        <translation>%1 V</translation>
    </message>
    <message>
        <source>多点120</source>
        <translation>Multi-shot 120</translation>
    </message>
    <message>
        <source>多点</source>
        <translation>Multi-shot</translation>
    </message>
    <message>
        <source>单点</source>
        <translation>Single-shot</translation>
    </message>
    <message>
        <source>直井</source>
        <translation>Vertical well</translation>
    </message>
    <message>
        <source>新型</source>
        <translation>New type</translation>
    </message>
    <message>
        <source>1000点</source>
        <translation>1000 points</translation>
    </message>
    <message>
        <source>1818点</source>
        <translation>1818 points</translation>
    </message>
    <message>
        <source>%1分%2秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>探管编号</source>
        <translation>Probe number</translation>
    </message>
    <message>
        <source>探管类型</source>
        <translation>Probe type</translation>
    </message>
    <message>
        <source>探管容量</source>
        <translation>Probe capacity</translation>
    </message>
    <message>
        <source>现存数据数量</source>
        <translation>Points stored</translation>
    </message>
    <message>
        <source>延时时间</source>
        <translation>Delay time</translation>
    </message>
    <message>
        <source>采集时间间隔</source>
        <translation>Sampling interval</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>电池电压</source>
        <translation>Battery voltage</translation>
    </message>
    <message>
        <source>估计剩余电量</source>
        <translation>Estimated charge left</translation>
    </message>
</context>
<context>
    <name>ProbeSettings</name>
    <message>
        <source>请输入一个介于 %1 和 %2 之间的整数。</source>
        <translation>Please enter a whole number between %1 and %2.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>探管中还存有以前采集的数据，设置探管会清除这些数据。

是否继续?

选择YES将清除数据，

选择NO将不会清除数据。</source>
        <translation>The probe still holds data from an earlier survey; setting up the probe erases it.

Continue?

Choose YES to erase the data,

choose NO to keep it.</translation>
    </message>
    <message>
        <source>错误输入</source>
        <translation>Invalid Input</translation>
    </message>
    <message>
        <source>延时最小不能小于 5 秒钟!</source>
        <translation>The delay cannot be less than 5 seconds!</translation>
    </message>
    <message>
        <source>时间间隔最小不能小于 1 秒钟!</source>
        <translation>The interval cannot be less than 1 second!</translation>
    </message>
</context>
<context>
    <name>ProbeText</name>
    <message>
        <source>请检查通讯线和接头后重试。</source>
        <translation>Check the cable and connectors, then try again.</translation>
    </message>
    <message>
        <source>通讯数据错误</source>
        <translation>Communication data error</translation>
    </message>
    <message>
        <source>通讯数据错误(%1)</source>
        <translation>Communication data error (%1)</translation>
    </message>
    <message>
        <source>探管数据校验失败</source>
        <translation>Probe data verification failed</translation>
    </message>
    <message>
        <source>探管数据校验失败(%1)</source>
        <translation>Probe data verification failed (%1)</translation>
    </message>
    <message>
        <source>通讯线路有误码，已重读 %1 块。</source>
        <translation>The line had errors; %1 blocks were read again.</translation>
    </message>
    <message>
        <source>通讯口 %1 写入失败。</source>
        <translation>Writing to port %1 failed.</translation>
    </message>
    <message>
        <source>通讯口 %1 写入失败：%2</source>
        <translation>Writing to port %1 failed: %2</translation>
    </message>
    <message>
        <source>请选择通讯口</source>
        <translation>Please select a port</translation>
    </message>
    <message>
        <source>校验探管数据</source>
        <translation>Verifying probe data</translation>
    </message>
    <message>
        <source>剩余 %1:%2</source>
        <translation>%1:%2 left</translation>
    </message>
    <message>
        <source>通讯超时

请检查探管通讯线、电池和电源开关</source>
        <translation>Communication timed out

Check the probe cable, the battery and the power switch</translation>
    </message>
    <message>
        <source>通讯超时(%1)

请检查探管通讯线、电池和电源开关</source>
        <translation>Communication timed out (%1)

Check the probe cable, the battery and the power switch</translation>
    </message>
    <message>
        <source>通讯超时(3.%1)

请检查探管通讯线、电池和电源开关</source>
        <translation>Communication timed out (3.%1)

Check the probe cable, the battery and the power switch</translation>
    </message>
    <message>
        <source>通讯超时(4.%1)

请检查探管通讯线、电池和电源开关</source>
        <translation>Communication timed out (4.%1)

Check the probe cable, the battery and the power switch</translation>
    </message>
    <message>
        <source>
通讯测试通过           
</source>
        <translation>
Communication test passed           
</translation>
    </message>
    <message>
        <source>参数成功写入探管

读回的参数文件与写入探管的完全一致</source>
        <translation>Settings written to the probe

The settings read back match those written exactly</translation>
    </message>
    <message>
        <source>参数未能写入探管

读回的参数文件与写入探管的不一致</source>
        <translation>Settings not written to the probe

The settings read back differ from those written</translation>
    </message>
    <message>
        <source>探管中没有以前采集的数据。</source>
        <translation>The probe holds no earlier survey data.</translation>
    </message>
    <message>
        <source>探管中的数据已成功读出到表格中。</source>
        <translation>The probe data have been read into the table.</translation>
    </message>
    <message>
        <source>通讯口 %1 无法打开。</source>
        <translation>Port %1 cannot be opened.</translation>
    </message>
    <message>
        <source>通讯口 %1 无法打开：%2</source>
        <translation>Port %1 cannot be opened: %2</translation>
    </message>
    <message>
        <source>通讯口 %1 无法打开!

可能的原因:

通讯口不存在或被其它程序占用。</source>
        <translation>Port %1 cannot be opened!

Possible cause:

the port does not exist or another program is using it.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>错误信息</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>结果信息</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>正在与探管通讯...</source>
        <translation>Communicating with the probe...</translation>
    </message>
    <message>
        <source>通讯和探管LED测试</source>
        <translation>Communication and probe LED test</translation>
    </message>
    <message>
        <source>正在启动实时数据输出</source>
        <translation>Starting real-time output</translation>
    </message>
    <message>
        <source>正在停止实时数据输出</source>
        <translation>Stopping real-time output</translation>
    </message>
    <message>
        <source>检查探管中是否有历史数据</source>
        <translation>Checking the probe for earlier data</translation>
    </message>
    <message>
        <source>将设置参数写入探管</source>
        <translation>Writing the settings to the probe</translation>
    </message>
    <message>
        <source>读回写入的参数</source>
        <translation>Reading back the settings written</translation>
    </message>
    <message>
        <source>读取探管参数</source>
        <translation>Reading the probe parameters</translation>
    </message>
    <message>
        <source>读取探管数据</source>
        <translation>Reading the probe data</translation>
    </message>
</context>
<context>
    <name>QcHighlight</name>
    <message>
        <source>井场地磁模型，磁场标定系数 %1</source>
        <translation>site geomagnetic model, field scale %1</translation>
    </message>
    <message>
        <source>%1 不是数字</source>
        <translation>%1 is not a number</translation>
    </message>
    <message>
        <source>%1 没有参考值</source>
        <translation>%1 has no reference value</translation>
    </message>
    <message>
        <source>%1 %2，偏差 %3（容差 ±%4）</source>
        <translation>%1 %2, deviation %3 (tolerance ±%4)</translation>
    </message>
    <message>
        <source>测量数据中值</source>
        <translation>median of the survey</translation>
    </message>
    <message>
        <source>质量检查不合格（参考：%1）</source>
        <translation>Failed quality check (reference: %1)</translation>
    </message>
</context>
<context>
    <name>Quantity</name>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>测  深</source>
        <translation>MD</translation>
    </message>
    <message>
        <source>测深</source>
        <translation>MD</translation>
    </message>
    <message>
        <source>井  斜</source>
        <translation>Inc</translation>
    </message>
    <message>
        <source>井斜</source>
        <translation>Inclination</translation>
    </message>
    <message>
        <source>磁方位</source>
        <translation>Mag. azimuth</translation>
    </message>
    <message>
        <source>方位</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <source>重力工具面</source>
        <translation>Gravity TF</translation>
    </message>
    <message>
        <source>高边工具面</source>
        <translation>High-side TF</translation>
    </message>
    <message>
        <source>磁性工具面</source>
        <translation>Magnetic TF</translation>
    </message>
    <message>
        <source>磁倾角</source>
        <translation>Dip</translation>
    </message>
    <message>
        <source>探管温度</source>
        <translation>Probe temp.</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>总加速度</source>
        <translation>Total gravity</translation>
    </message>
    <message>
        <source>总磁场</source>
        <translation>Total field</translation>
    </message>
    <message>
        <source>井队号</source>
        <translation>Crew</translation>
    </message>
    <message>
        <source>井号</source>
        <translation>Well</translation>
    </message>
    <message>
        <source>真方位</source>
        <translation>True azimuth</translation>
    </message>
    <message>
        <source>磁偏角</source>
        <translation>Declination</translation>
    </message>
</context>
<context>
    <name>SerialLink</name>
    <message>
        <source>%1 毫秒内未能发出</source>
        <translation>not sent within %1 ms</translation>
    </message>
    <message>
        <source>错误 %1</source>
        <translation>error %1</translation>
    </message>
    <message>
        <source>设备不存在</source>
        <translation>the device does not exist</translation>
    </message>
    <message>
        <source>没有访问权限，或已被其它程序占用</source>
        <translation>access denied, or another program is using it</translation>
    </message>
    <message>
        <source>不是串口设备（%1）</source>
        <translation>not a serial device (%1)</translation>
    </message>
    <message>
        <source>已经打开</source>
        <translation>already open</translation>
    </message>
    <message>
        <source>不是串口设备</source>
        <translation>not a serial device</translation>
    </message>
    <message>
        <source>无法打开</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>SurveyFile</name>
    <message>
        <source>这不是本程序的测斜数据文件（文件的长度和格式都不相符）。</source>
        <translation>This is not a survey file of this program (its length and format do not match).</translation>
    </message>
    <message>
        <source>文件不完整：长度为 %1 字节，至少应为 %2 字节。</source>
        <translation>The file is incomplete: it is %1 bytes long and should be at least %2 bytes.</translation>
    </message>
    <message>
        <source>文件中的测点数 %1 超过了最多 %2 个测点，无法打开。</source>
        <translation>The file holds %1 points, more than the %2 allowed; it cannot be opened.</translation>
    </message>
    <message>
        <source>文件不完整：长度为 %1 字节，按其中的 %2 个测点应为 %3 字节。</source>
        <translation>The file is incomplete: it is %1 bytes long and should be %3 bytes for its %2 points.</translation>
    </message>
    <message>
        <source>长度为 %1 字节，不足 %2 字节</source>
        <translation>%1 bytes long, less than %2 bytes</translation>
    </message>
    <message>
        <source>测点数为 %1，不在 0 到 %2 之间</source>
        <translation>%1 points, not between 0 and %2</translation>
    </message>
    <message>
        <source>长度为 %1 字节，按其中的 %2 个测点应为 %3 字节</source>
        <translation>%1 bytes long, but %3 bytes for its %2 points</translation>
    </message>
    <message>
        <source>测点数 %1 超过了最多 %2 个测点，无法保存。</source>
        <translation>%1 points is more than the %2 allowed; the file cannot be saved.</translation>
    </message>
</context>
<context>
    <name>zolm-cli</name>
    <message>
        <source>其他格式</source>
        <translation>other formats</translation>
    </message>
    <message>
        <source>测量报告（需要 -o）：井场中的人员和地点、质量检查及其磁场标定
系数、警告、签字栏</source>
        <translation>the survey report (needs -o): who and where from the site, QC with its
field scale, the warnings, a signature block</translation>
    </message>
</context>
<context>
    <name>zolm::app::AutoDepthDialog</name>
    <message>
        <source>井深方向（按测量时间顺序）</source>
        <translation>Depth direction (in the order of the shots&apos; times)</translation>
    </message>
    <message>
        <source>逐点递减：起钻时测量</source>
        <translation>Decreasing: surveyed while pulling out</translation>
    </message>
    <message>
        <source>逐点递增：下钻时测量</source>
        <translation>Increasing: surveyed while running in</translation>
    </message>
    <message>
        <source>第一个选择的测点为起始测深，以后每个选择的测点减少一个段长，直到小于 0</source>
        <translation>The first selected point gets the starting depth; each later selected point one interval less, until below 0</translation>
    </message>
    <message>
        <source>第一个选择的测点为起始测深，以后每个选择的测点增加一个段长</source>
        <translation>The first selected point gets the starting depth; each later selected point one interval more</translation>
    </message>
</context>
<context>
    <name>zolm::app::CAboutDlg</name>
    <message>
        <source>ZOLM 程序版本 %1</source>
        <translation>ZOLM program version %1</translation>
    </message>
    <message>
        <source>关于ZOLM电子多点测斜仪主程序</source>
        <translation>About the ZOLM Electronic Multi-shot Inclinometer Program</translation>
    </message>
    <message>
        <source>nZOLM 1.01(120) 版 (200507250825)</source>
        <translation>nZOLM version 1.01(120) (200507250825)</translation>
    </message>
</context>
<context>
    <name>zolm::app::CExportFormatDlg</name>
    <message>
        <source>导出标题，并放在文件第一行</source>
        <translation>Export the titles, on the first line of the file</translation>
    </message>
    <message>
        <source>用空格分隔</source>
        <translation>Separated by spaces</translation>
    </message>
    <message>
        <source>用逗号分隔</source>
        <translation>Separated by commas</translation>
    </message>
    <message>
        <source>加入导出文件</source>
        <translation>Add to Export</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>向上移动</source>
        <translation>Move Up</translation>
    </message>
    <message>
        <source>向下移动</source>
        <translation>Move Down</translation>
    </message>
    <message>
        <source>原始数据</source>
        <translation>Available data</translation>
    </message>
    <message>
        <source>导出数据（有先后顺序）</source>
        <translation>Exported data (in this order)</translation>
    </message>
    <message>
        <source>是否导出项目标题?</source>
        <translation>Export the item titles?</translation>
    </message>
    <message>
        <source>数据之间用什么分隔?</source>
        <translation>Separate the values with?</translation>
    </message>
    <message>
        <source>设置导出文件格式</source>
        <translation>Export File Format</translation>
    </message>
    <message>
        <source>文本文件 (*.txt);;所有文件 (*.*)</source>
        <translation>Text files (*.txt);;All files (*.*)</translation>
    </message>
</context>
<context>
    <name>zolm::app::CMainFrame</name>
    <message>
        <source>导入井深记录...</source>
        <translation>Import Depth Tally...</translation>
    </message>
    <message>
        <source>按司钻的井深记录（时间 井深）为各测点停留填入井深</source>
        <translation>Fill in the depths of the probe&apos;s stops from the driller&apos;s tally (time depth)</translation>
    </message>
    <message>
        <source>自动选点</source>
        <translation>Pick Stations</translation>
    </message>
    <message>
        <source>找出探管停留的测站，每个测站勾选一个代表测点，其余测点取消勾选</source>
        <translation>Find the stations where the probe stopped, tick one representative point at each and untick the others</translation>
    </message>
    <message>
        <source>打印测斜报告...</source>
        <translation>Print Survey Report...</translation>
    </message>
    <message>
        <source>打印测斜报告：井场、测点、质量检查、警告和签字栏</source>
        <translation>Print the survey report: site, stations, quality check, warnings and signatures</translation>
    </message>
    <message>
        <source>测斜报告预览</source>
        <translation>Survey Report Preview</translation>
    </message>
    <message>
        <source>显示测斜报告的整页</source>
        <translation>Show the whole pages of the survey report</translation>
    </message>
    <message>
        <source>测斜报告另存为PDF...</source>
        <translation>Save Survey Report as PDF...</translation>
    </message>
    <message>
        <source>把测斜报告保存为PDF文件</source>
        <translation>Save the survey report as a PDF file</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>警告 %1 条：%2</source>
        <translation>%1 warnings: %2</translation>
    </message>
    <message>
        <source>井深记录 (*.txt *.csv *.tally);;所有文件 (*)</source>
        <translation>Depth tallies (*.txt *.csv *.tally);;All files (*)</translation>
    </message>
    <message>
        <source>导入井深记录</source>
        <translation>Import Depth Tally</translation>
    </message>
    <message>
        <source>VexmoorZOLM电子单多点测斜仪</source>
        <translation>Vexmoor ZOLM Electronic Single/Multi-shot Inclinometer</translation>
    </message>
    <message>
        <source>ZOLM文件 (*.ZLM)</source>
        <translation>ZOLM files (*.ZLM)</translation>
    </message>
    <message>
        <source>文件 %1 不完全是一个测斜数据文件（%2），已尽量读出其中的数据。

为保护原文件，保存时只能另存为其它文件名。</source>
        <translation>File %1 is not exactly a survey file (%2); as much of its data as possible has been read.

To protect the original file, it can only be saved under another name.</translation>
    </message>
    <message>
        <source>打开(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>打开一个现有文档</source>
        <translation>Open an existing document</translation>
    </message>
    <message>
        <source>新建(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>保存活动文档</source>
        <translation>Save the active document</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>用新名称保存活动文档</source>
        <translation>Save the active document under a new name</translation>
    </message>
    <message>
        <source>导出数据</source>
        <translation>Export Data</translation>
    </message>
    <message>
        <source>按设定的格式导出数据文件</source>
        <translation>Export a data file in the format set</translation>
    </message>
    <message>
        <source>设定导出数据格式</source>
        <translation>Export Data Format</translation>
    </message>
    <message>
        <source>打印(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>打印活动文档</source>
        <translation>Print the active document</translation>
    </message>
    <message>
        <source>直接打印</source>
        <translation>Print Directly</translation>
    </message>
    <message>
        <source>打印预览(&amp;V)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>显示整页</source>
        <translation>Show whole pages</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>改变打印机及打印选项</source>
        <translation>Change the printer and printing options</translation>
    </message>
    <message>
        <source>选多点方式打印</source>
        <translation>Multi-shot Layout</translation>
    </message>
    <message>
        <source>选单点方式打印</source>
        <translation>Single-shot Layout</translation>
    </message>
    <message>
        <source>选经济方式打印</source>
        <translation>Economy Layout</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>退出应用程序；提示保存文档</source>
        <translation>Quit the program; asks to save the document</translation>
    </message>
    <message>
        <source>设置探管</source>
        <translation>Set Up Probe</translation>
    </message>
    <message>
        <source>探管信息</source>
        <translation>Probe Information</translation>
    </message>
    <message>
        <source>实时输出</source>
        <translation>Real-time Output</translation>
    </message>
    <message>
        <source>测试通讯口</source>
        <translation>Test Port</translation>
    </message>
    <message>
        <source>读取探管</source>
        <translation>Read Probe</translation>
    </message>
    <message>
        <source>选择通讯口</source>
        <translation>Select Port</translation>
    </message>
    <message>
        <source>井队编号</source>
        <translation>Crew Number</translation>
    </message>
    <message>
        <source>修改井队编号</source>
        <translation>Change the crew number</translation>
    </message>
    <message>
        <source>井号</source>
        <translation>Well Name</translation>
    </message>
    <message>
        <source>修改井号</source>
        <translation>Change the well name</translation>
    </message>
    <message>
        <source>磁偏角</source>
        <translation>Declination</translation>
    </message>
    <message>
        <source>修改磁偏角</source>
        <translation>Change the magnetic declination</translation>
    </message>
    <message>
        <source>自动井深</source>
        <translation>Auto Depth</translation>
    </message>
    <message>
        <source>对选择的数据自动生成井深</source>
        <translation>Fill in depths for the selected points automatically</translation>
    </message>
    <message>
        <source>选择全部数据</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>全部不选择</source>
        <translation>Select None</translation>
    </message>
    <message>
        <source>反向选择</source>
        <translation>Invert Selection</translation>
    </message>
    <message>
        <source>颠倒顺序</source>
        <translation>Reverse Order</translation>
    </message>
    <message>
        <source>隐藏选择的数据</source>
        <translation>Hide Selected</translation>
    </message>
    <message>
        <source>只显示选择的数据</source>
        <translation>Show Selected Only</translation>
    </message>
    <message>
        <source>只显示选择的数据(隐藏未选择的数据)</source>
        <translation>Show only the selected points (hide the others)</translation>
    </message>
    <message>
        <source>显示全部数据</source>
        <translation>Show All</translation>
    </message>
    <message>
        <source>轨迹计算</source>
        <translation>Trajectory Calculation</translation>
    </message>
    <message>
        <source>井场...</source>
        <translation>Site...</translation>
    </message>
    <message>
        <source>设定井场位置和测量日期，由地磁模型得到磁偏角</source>
        <translation>Set the site position and survey date; the declination comes from the geomagnetic model</translation>
    </message>
    <message>
        <source>质量检查</source>
        <translation>Quality Check</translation>
    </message>
    <message>
        <source>用颜色标出质量检查不合格的测点</source>
        <translation>Colour the points that fail the quality check</translation>
    </message>
    <message>
        <source>井眼轨迹</source>
        <translation>Well Path</translation>
    </message>
    <message>
        <source>显示井眼轨迹的测点表、水平投影图和垂直剖面图</source>
        <translation>Show the well path: stations, plan view and vertical section</translation>
    </message>
    <message>
        <source>帮助主题(&amp;H)</source>
        <translation>&amp;Help Topics</translation>
    </message>
    <message>
        <source>关于 nDravik(&amp;A)...</source>
        <translation>&amp;About nDravik...</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>最近文件</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>探管(&amp;P)</source>
        <translation>&amp;Probe</translation>
    </message>
    <message>
        <source>分析(&amp;A)</source>
        <translation>&amp;Analysis</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>打开硬盘文件</source>
        <translation>Open File</translation>
    </message>
    <message>
        <source>通讯口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source> 通讯口 </source>
        <translation> Port </translation>
    </message>
    <message>
        <source>测试端口</source>
        <translation>Test Port</translation>
    </message>
    <message>
        <source>探管</source>
        <translation>Probe</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>读取探管采集数据</source>
        <translation>Read Probe Data</translation>
    </message>
    <message>
        <source>实时</source>
        <translation>Real Time</translation>
    </message>
    <message>
        <source>实时输出数据</source>
        <translation>Real-time Output</translation>
    </message>
    <message>
        <source>轨迹</source>
        <translation>Trajectory</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>全不选</source>
        <translation>None</translation>
    </message>
    <message>
        <source>反选</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>隐藏选择</source>
        <translation>Hide Selected</translation>
    </message>
    <message>
        <source>显示选择</source>
        <translation>Show Selected</translation>
    </message>
    <message>
        <source>全部显示</source>
        <translation>Show All</translation>
    </message>
    <message>
        <source> 打印方式 </source>
        <translation> Layout </translation>
    </message>
    <message>
        <source>多点</source>
        <translation>Multi</translation>
    </message>
    <message>
        <source>单点</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>经济</source>
        <translation>Economy</translation>
    </message>
    <message>
        <source>导出格式</source>
        <translation>Export Format</translation>
    </message>
    <message>
        <source>表头</source>
        <translation>Header</translation>
    </message>
    <message>
        <source>井队编号:ABCDEFGHIJKLM</source>
        <translation>Crew No.:ABCDEFGHIJKLM</translation>
    </message>
    <message>
        <source>磁偏角: 1580.01</source>
        <translation>Declination: 1580.01</translation>
    </message>
    <message>
        <source>自动生成井深</source>
        <translation>Auto Depth</translation>
    </message>
    <message>
        <source>显示方式</source>
        <translation>Display</translation>
    </message>
    <message>
        <source> 显示方式 </source>
        <translation> Display </translation>
    </message>
    <message>
        <source>原始数据</source>
        <translation>Raw data</translation>
    </message>
    <message>
        <source>5组平均</source>
        <translation>Average of 5</translation>
    </message>
    <message>
        <source>10组平均</source>
        <translation>Average of 10</translation>
    </message>
    <message>
        <source>20组平均</source>
        <translation>Average of 20</translation>
    </message>
    <message>
        <source>30组平均</source>
        <translation>Average of 30</translation>
    </message>
    <message>
        <source>60组平均</source>
        <translation>Average of 60</translation>
    </message>
    <message>
        <source>分析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>井场</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>大写</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>滚动</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>无标题</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>是否保存对 %1 的修改？</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请另选一个文件名保存，原文件保持不变。</source>
        <translation>Please save under another file name; the original file stays as it is.</translation>
    </message>
    <message>
        <source>没有找到轨迹计算程序</source>
        <translation>The trajectory calculation program was not found</translation>
    </message>
</context>
<context>
    <name>zolm::app::CNDravikView</name>
    <message>
        <source>没有找到测站：没有一段测点在 %1 秒以上保持井斜、方位、总加速度和总磁场稳定。勾选未作改动。</source>
        <translation>No stations found: no run of points keeps inclination, azimuth, total gravity and total field steady for %1 seconds or more. The ticks are unchanged.</translation>
    </message>
    <message>
        <source>找到 %1 个测站，每个测站勾选了最接近其中值的一个测点，其余测点均已取消勾选（停留中 %2 个，移动中 %3 个）。勾选仍可逐点修改。</source>
        <translation>Found %1 stations; at each, the point closest to its median is ticked and all other points are unticked (%2 while stopped, %3 while moving). The ticks can still be changed point by point.</translation>
    </message>
    <message>
        <source>无法读取井深记录 %1：%2</source>
        <translation>Cannot read the depth tally %1: %2</translation>
    </message>
    <message>
        <source>
……另有 %1 行</source>
        <translation>
... and %1 more lines</translation>
    </message>
    <message>
        <source>井深记录中没有一行对应到探管的停留，井深未作改动。</source>
        <translation>No line of the depth tally matches a stop of the probe; the depths are unchanged.</translation>
    </message>
    <message>
        <source>已从井深记录的 %1 行中填入 %2 个测点的井深。</source>
        <translation>Depths of %2 points filled in from %1 lines of the depth tally.</translation>
    </message>
    <message>
        <source>

以下各行未使用：
</source>
        <translation>

These lines were not used:
</translation>
    </message>
</context>
<context>
    <name>zolm::app::CPortSelectDlg</name>
    <message>
        <source>读取时校验数据</source>
        <translation>Verify the data when reading</translation>
    </message>
    <message>
        <source>选择通讯口</source>
        <translation>Select Port</translation>
    </message>
    <message>
        <source>选择电脑与探管连接的通讯口</source>
        <translation>Select the port that connects the computer to the probe</translation>
    </message>
</context>
<context>
    <name>zolm::app::FieldDialog</name>
    <message>
        <source>ZOLM多点程序</source>
        <translation>ZOLM Multi-shot</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>zolm::app::ManualWindow</name>
    <message>
        <source>ZOLM 使用手册</source>
        <translation>ZOLM Manual</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>查找手册中的文字</source>
        <translation>Find text in the manual</translation>
    </message>
    <message>
        <source>查找下一个</source>
        <translation>Find Next</translation>
    </message>
    <message>
        <source>查找:</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>找不到“%1”</source>
        <translation>&quot;%1&quot; not found</translation>
    </message>
</context>
<context>
    <name>zolm::app::ProbeInfoDialog</name>
    <message>
        <source>探管信息</source>
        <translation>Probe Information</translation>
    </message>
</context>
<context>
    <name>zolm::app::ProbeSettingsDialog</name>
    <message>
        <source>设置探管</source>
        <translation>Set Up Probe</translation>
    </message>
    <message>
        <source>延时时间</source>
        <translation>Delay time</translation>
    </message>
    <message>
        <source>分钟 ＋</source>
        <translation>min +</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>采样间隔</source>
        <translation>Sampling interval</translation>
    </message>
    <message>
        <source>写入探管</source>
        <translation>Write to Probe</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>设置探管的延时时间和采样间隔时间</source>
        <translation>Set the probe&apos;s delay time and sampling interval</translation>
    </message>
</context>
<context>
    <name>zolm::app::ProgressWindow</name>
    <message>
        <source>超时</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
</context>
<context>
    <name>zolm::app::RealTimeWindow</name>
    <message>
        <source>实时输出数据</source>
        <translation>Real-time Output</translation>
    </message>
    <message>
        <source>探管实时输出数据</source>
        <translation>Real-time data from the probe</translation>
    </message>
    <message>
        <source>退出实时数据</source>
        <translation>Exit Real Time</translation>
    </message>
</context>
<context>
    <name>zolm::app::ReportPrinting</name>
    <message>
        <source>测斜报告预览</source>
        <translation>Survey Report Preview</translation>
    </message>
    <message>
        <source>无法启动打印作业。</source>
        <translation>The print job cannot be started.</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
</context>
<context>
    <name>zolm::app::SiteDialog</name>
    <message>
        <source>指定磁场标定系数</source>
        <translation>Set the field scale</translation>
    </message>
    <message>
        <source>探管磁场单位与高斯之比：质量检查以地磁模型总磁场乘以它作为总磁场的参考值</source>
        <translation>Ratio of the probe&apos;s field unit to gauss: the quality check takes the model&apos;s total field times this as the total field&apos;s reference</translation>
    </message>
    <message>
        <source>按本次测量标定</source>
        <translation>Calibrate from this survey</translation>
    </message>
    <message>
        <source>以打勾测点（没有打勾时为全部测点）的总磁场中值与井场地磁模型之比作为标定系数</source>
        <translation>Take the ratio of the ticked points&apos; median total field (all points when none is ticked) to the site&apos;s geomagnetic model as the scale</translation>
    </message>
    <message>
        <source>报告信息</source>
        <translation>Report details</translation>
    </message>
    <message>
        <source>最多 %1 个字节（一个汉字占两个字节）</source>
        <translation>At most %1 bytes (a Chinese character takes two)</translation>
    </message>
    <message>
        <source>使用上次的井场</source>
        <translation>Use Last Site</translation>
    </message>
    <message>
        <source>填入本机上次设定的井场：纬度 %1°，经度 %2°，以及报告信息（测量日期不变）</source>
        <translation>Fill in the site last set on this computer: latitude %1°, longitude %2°, and the report details (the survey date stays)</translation>
    </message>
    <message>
        <source>本机还没有设定过井场</source>
        <translation>No site has been set on this computer yet</translation>
    </message>
    <message>
        <source>探管启动时间</source>
        <translation>Probe start time</translation>
    </message>
    <message>
        <source>探管开始计时（写入设置）时的钟表时间：井深记录可按钟表时间导入，轨迹和报告显示各测点的钟表时间</source>
        <translation>Clock time when the probe started timing (settings written): depth tallies can then be imported by clock time, and the well path and report show each point&apos;s clock time</translation>
    </message>
    <message>
        <source>狗腿度限值</source>
        <translation>Dogleg limit</translation>
    </message>
    <message>
        <source>狗腿度超过此值的测点给出警告；不指定时为 3 °/30m</source>
        <translation>Points with a dogleg severity above this are warned of; 3 °/30m when not set</translation>
    </message>
    <message>
        <source>由 %1 个打勾测点标定</source>
        <translation>calibrated from %1 ticked points</translation>
    </message>
    <message>
        <source>由 %1 个测点标定</source>
        <translation>calibrated from %1 points</translation>
    </message>
    <message>
        <source>：实测总磁场中值 %1，地磁模型 %2 高斯</source>
        <translation>: median total field measured %1, geomagnetic model %2 gauss</translation>
    </message>
    <message>
        <source>未指定：质量检查使用本机记录的探管 %1 标定值 %2</source>
        <translation>not set: the quality check uses probe %1&apos;s scale recorded on this computer, %2</translation>
    </message>
    <message>
        <source>未指定：质量检查按 1 计算</source>
        <translation>not set: the quality check uses 1</translation>
    </message>
    <message>
        <source>井场与地磁参考</source>
        <translation>Site and Geomagnetic Reference</translation>
    </message>
    <message>
        <source>指定视平移方位</source>
        <translation>Set the vertical section azimuth</translation>
    </message>
    <message>
        <source>纬度（北为正）:</source>
        <translation>Latitude (north positive):</translation>
    </message>
    <message>
        <source>经度（东为正）:</source>
        <translation>Longitude (east positive):</translation>
    </message>
    <message>
        <source>海拔高度:</source>
        <translation>Elevation:</translation>
    </message>
    <message>
        <source>测量日期:</source>
        <translation>Survey date:</translation>
    </message>
    <message>
        <source>地磁模型:</source>
        <translation>Geomagnetic model:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确定并设置磁偏角</source>
        <translation>OK and Set Declination</translation>
    </message>
    <message>
        <source>保存井场，并把文件的磁偏角设为地磁模型的磁偏角</source>
        <translation>Save the site and set the file&apos;s declination to the geomagnetic model&apos;s</translation>
    </message>
    <message>
        <source>%1    磁偏角 %2°    磁倾角 %3°    总磁场 %4 nT</source>
        <translation>%1    declination %2°    dip %3°    total field %4 nT</translation>
    </message>
</context>
<context>
    <name>zolm::app::StationModel</name>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>点号</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>测深(m)</source>
        <translation>MD (m)</translation>
    </message>
    <message>
        <source>井斜(°)</source>
        <translation>Inc (°)</translation>
    </message>
    <message>
        <source>真方位(°)</source>
        <translation>True Az (°)</translation>
    </message>
    <message>
        <source>垂深(m)</source>
        <translation>TVD (m)</translation>
    </message>
    <message>
        <source>北(m)</source>
        <translation>North (m)</translation>
    </message>
    <message>
        <source>东(m)</source>
        <translation>East (m)</translation>
    </message>
    <message>
        <source>视平移(m)</source>
        <translation>V. section (m)</translation>
    </message>
    <message>
        <source>狗腿度(°/30m)</source>
        <translation>DLS (°/30m)</translation>
    </message>
    <message>
        <source>质量检查</source>
        <translation>QC</translation>
    </message>
</context>
<context>
    <name>zolm::app::TrajectoryPlot</name>
    <message>
        <source>水平投影</source>
        <translation>Plan view</translation>
    </message>
    <message>
        <source>东 (m)</source>
        <translation>East (m)</translation>
    </message>
    <message>
        <source>北 (m)</source>
        <translation>North (m)</translation>
    </message>
    <message>
        <source>垂直剖面（视平移方位 %1°）</source>
        <translation>Vertical section (azimuth %1°)</translation>
    </message>
    <message>
        <source>视平移 (m)</source>
        <translation>Vertical section (m)</translation>
    </message>
    <message>
        <source>垂深 (m)</source>
        <translation>TVD (m)</translation>
    </message>
    <message>
        <source>网格 %1 m</source>
        <translation>grid %1 m</translation>
    </message>
</context>
<context>
    <name>zolm::app::TrajectoryWindow</name>
    <message>
        <source>打印测斜报告...</source>
        <translation>Print Survey Report...</translation>
    </message>
    <message>
        <source>测斜报告预览</source>
        <translation>Survey Report Preview</translation>
    </message>
    <message>
        <source>警告：请在使用轨迹前核对这些测点</source>
        <translation>Warning: check these points before using the well path</translation>
    </message>
    <message>
        <source>无法生成 PDF 文件 %1</source>
        <translation>Cannot make the PDF file %1</translation>
    </message>
    <message>
        <source>没有可用的测点：请为测点打勾并输入测深。</source>
        <translation>No usable points: tick the points and enter their measured depths.</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>Fail</translation>
    </message>
    <message>
        <source>井眼轨迹</source>
        <translation>Well Path</translation>
    </message>
    <message>
        <source>测点 %1 个，跳过 %2 个；井底垂深 %3 m，闭合距 %4 m，闭合方位 %5°；磁偏角 %6°；质量检查不合格 %7 个</source>
        <translation>%1 stations, %2 skipped; TVD at bottom %3 m, closure %4 m, closure azimuth %5°; declination %6°; %7 failed the quality check</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write file %1: %2</translation>
    </message>
    <message>
        <source>导出CSV...</source>
        <translation>Export CSV...</translation>
    </message>
    <message>
        <source>导出轨迹 CSV</source>
        <translation>Export Well Path as CSV</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv);;所有文件 (*.*)</source>
        <translation>CSV files (*.csv);;All files (*.*)</translation>
    </message>
    <message>
        <source>导出LAS...</source>
        <translation>Export LAS...</translation>
    </message>
    <message>
        <source>导出轨迹 LAS</source>
        <translation>Export Well Path as LAS</translation>
    </message>
    <message>
        <source>LAS 文件 (*.las);;所有文件 (*.*)</source>
        <translation>LAS files (*.las);;All files (*.*)</translation>
    </message>
    <message>
        <source>测斜报告另存为PDF...</source>
        <translation>Save Survey Report as PDF...</translation>
    </message>
    <message>
        <source>测斜报告另存为PDF</source>
        <translation>Save Survey Report as PDF</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf);;所有文件 (*.*)</source>
        <translation>PDF files (*.pdf);;All files (*.*)</translation>
    </message>
</context>
</TS>
