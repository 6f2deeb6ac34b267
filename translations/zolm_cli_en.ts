<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AnalysisCommands</name>
    <message>
        <source>警告：%1
</source>
        <translation>Warning: %1
</translation>
    </message>
</context>
<context>
    <name>DepthTally</name>
    <message>
        <source>井深记录第 %1 行：%2</source>
        <translation>Tally line %1: %2</translation>
    </message>
    <message>
        <source>应为“时间 井深”两项，而不是“%1”</source>
        <translation>expected two fields &quot;TIME DEPTH&quot;, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>时间“%1”应为 时:分 或 时:分:秒</source>
        <translation>the time &quot;%1&quot; should be HH:MM or HH:MM:SS</translation>
    </message>
    <message>
        <source>时间“%1”无效</source>
        <translation>the time &quot;%1&quot; is not valid</translation>
    </message>
    <message>
        <source>井深“%1”不是一个数</source>
        <translation>the depth &quot;%1&quot; is not a number</translation>
    </message>
    <message>
        <source>井深 %1 应在 %2 到 %3 米之间</source>
        <translation>the depth %1 should lie between %2 and %3 m</translation>
    </message>
    <message>
        <source>井深记录中没有“时间 井深”数据行</source>
        <translation>the tally holds no &quot;TIME DEPTH&quot; line</translation>
    </message>
    <message>
        <source>井场设有探管启动时间，记录中的时间按钟表时间计；若记录的是探管开机后的时间，请先清除井场的探管启动时间。</source>
        <translation>The site holds the probe&apos;s start time, so the tally&apos;s times are taken as clock times; if they are times since the probe started, clear the site&apos;s probe start time first.</translation>
    </message>
    <message>
        <source>第 %1 行（%2）：前后 %3 秒内没有测点停留，未使用</source>
        <translation>line %1 (%2): no stop of the probe within %3 s, not used</translation>
    </message>
    <message>
        <source>第 %1 行（%2）与第 %3 行落在同一个测点停留（测点 %4），均未使用</source>
        <translation>line %1 (%2) and line %3 fall on the same stop (point %4), none used</translation>
    </message>
</context>
<context>
    <name>FieldScale</name>
    <message>
        <source>井场没有可用的地磁模型：%1</source>
        <translation>the site has no usable magnetic model: %1</translation>
    </message>
    <message>
        <source>打勾的测点没有总磁场数值，无法标定</source>
        <translation>the ticked points have no total field value, so there is nothing to calibrate with</translation>
    </message>
    <message>
        <source>没有带总磁场数值的测点，无法标定</source>
        <translation>no point has a total field value, so there is nothing to calibrate with</translation>
    </message>
    <message>
        <source>%1 个打勾测点</source>
        <translation>%1 ticked points</translation>
    </message>
    <message>
        <source>%1 个测点</source>
        <translation>%1 points</translation>
    </message>
    <message>
        <source>标定系数 %1 与 1 相差 %2%，超过 %3%，未采用：%4的总磁场中值为 %5，井场地磁模型为 %6 高斯。请检查井场的位置和日期，所选测点是否静止、是否受套管或钻具磁干扰，以及探管的磁传感器。</source>
        <translation>The field scale %1 is %2% from 1, more than %3%, and is not used: the median total field of %4 is %5, the site&apos;s magnetic model gives %6 gauss. Check the site&apos;s position and date, whether the chosen points were at rest and free of casing or drill-string interference, and the probe&apos;s magnetometers.</translation>
    </message>
    <message>
        <source>命令行指定</source>
        <translation>given on the command line</translation>
    </message>
    <message>
        <source>本次测量的井场</source>
        <translation>this survey&apos;s site</translation>
    </message>
    <message>
        <source>本机记录的探管 %1 标定值</source>
        <translation>probe %1&apos;s value remembered on this computer</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>default</translation>
    </message>
    <message>
        <source>磁场标定系数 %1（%2）</source>
        <translation>field scale %1 (%2)</translation>
    </message>
</context>
<context>
    <name>Geomagnetic</name>
    <message>
        <source>位置、高度或日期不是数字</source>
        <translation>the position, height or date is not a number</translation>
    </message>
    <message>
        <source>纬度必须在 -89.9 到 89.9 之间（两极的磁偏角没有定义）</source>
        <translation>the latitude must lie between -89.9 and 89.9 (the declination is not defined at the poles)</translation>
    </message>
    <message>
        <source>经度必须在 -180 到 360 之间</source>
        <translation>the longitude must lie between -180 and 360</translation>
    </message>
    <message>
        <source>高度必须在 -1000 米到 850 千米之间</source>
        <translation>the height must lie between -1000 m and 850 km</translation>
    </message>
    <message>
        <source>日期超出地磁模型的有效期（2020-01-01 至 2029-12-31）</source>
        <translation>the date is outside the magnetic models&apos; span (2020-01-01 to 2029-12-31)</translation>
    </message>
</context>
<context>
    <name>Output</name>
    <message>
        <source>无法写入导出文件 %1：%2</source>
        <translation>Cannot write the export file %1: %2</translation>
    </message>
    <message>
        <source>无法写入报表文件 %1：%2</source>
        <translation>Cannot write the report file %1: %2</translation>
    </message>
    <message>
        <source>表格中没有数据</source>
        <translation>The table holds no data</translation>
    </message>
</context>
<context>
    <name>ProbeCommands</name>
    <message>
        <source>用 --port 指定通讯口，或用 zolm-cli set-port 保存一个。</source>
        <translation>Give the port with --port, or store one with zolm-cli set-port.</translation>
    </message>
    <message>
        <source>没有终端可以回答；加上 --yes 即确认清除探管中的数据并写入设置。</source>
        <translation>No terminal to answer; add --yes to confirm clearing the probe&apos;s survey and writing the settings.</translation>
    </message>
</context>
<context>
    <name>Site</name>
    <message>
        <source>井场文件 %1 无法读取，已忽略：%2</source>
        <translation>The site file %1 cannot be read and is ignored: %2</translation>
    </message>
    <message>
        <source>客户</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>公司</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>井队/钻机</source>
        <translation>Rig</translation>
    </message>
    <message>
        <source>油田/区块</source>
        <translation>Field/block</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>服务公司</source>
        <translation>Service company</translation>
    </message>
    <message>
        <source>井唯一编号</source>
        <translation>Unique well ID</translation>
    </message>
    <message>
        <source>测量人</source>
        <translation>Surveyed by</translation>
    </message>
    <message>
        <source>校核人</source>
        <translation>Checked by</translation>
    </message>
    <message>
        <source>审核人</source>
        <translation>Approved by</translation>
    </message>
    <message>
        <source>%1不能含有换行等控制字符</source>
        <translation>%1 cannot hold line breaks or other control characters</translation>
    </message>
    <message>
        <source>%1中的字符“%2”无法保存在文件中，请换用其他字符。</source>
        <translation>The character &quot;%2&quot; in %1 cannot be saved in the file; use another character.</translation>
    </message>
    <message>
        <source>%1最多 %2 个字节（一个汉字占两个字节）</source>
        <translation>%1 holds at most %2 bytes (a Chinese character takes two)</translation>
    </message>
    <message>
        <source>高度必须在 -1000 到 10000 米之间</source>
        <translation>the height must lie between -1000 and 10000 m</translation>
    </message>
    <message>
        <source>视平移方位必须在 0 到 360 之间</source>
        <translation>the vertical-section azimuth must lie between 0 and 360</translation>
    </message>
    <message>
        <source>日期无效</source>
        <translation>the date is not valid</translation>
    </message>
    <message>
        <source>磁场标定系数必须大于 0，且不超过 %1</source>
        <translation>the field scale must be above 0 and at most %1</translation>
    </message>
    <message>
        <source>狗腿度限值必须大于 0，且不超过 %1 °/30m</source>
        <translation>the dog-leg limit must be above 0 and at most %1 °/30m</translation>
    </message>
    <message>
        <source>探管启动时间无效</source>
        <translation>the probe&apos;s start time is not valid</translation>
    </message>
    <message>
        <source>文件是空的</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>不是有效的 JSON（%1）</source>
        <translation>not valid JSON (%1)</translation>
    </message>
    <message>
        <source>不是 JSON 对象</source>
        <translation>not a JSON object</translation>
    </message>
    <message>
        <source>纬度和经度必须是数字</source>
        <translation>the latitude and longitude must be numbers</translation>
    </message>
    <message>
        <source>缺少日期</source>
        <translation>the date is missing</translation>
    </message>
    <message>
        <source>高度必须是数字</source>
        <translation>the height must be a number</translation>
    </message>
    <message>
        <source>视平移方位必须是数字</source>
        <translation>the vertical-section azimuth must be a number</translation>
    </message>
    <message>
        <source>日期 &quot;%1&quot; 不是 YYYY-MM-DD 格式的日期</source>
        <translation>the date &quot;%1&quot; is not a YYYY-MM-DD date</translation>
    </message>
    <message>
        <source>磁场标定系数必须是数字</source>
        <translation>the field scale must be a number</translation>
    </message>
    <message>
        <source>狗腿度限值必须是数字</source>
        <translation>the dog-leg limit must be a number</translation>
    </message>
    <message>
        <source>探管启动时间 &quot;%1&quot; 不是 YYYY-MM-DD HH:MM:SS 格式</source>
        <translation>the probe&apos;s start time &quot;%1&quot; is not YYYY-MM-DD HH:MM:SS</translation>
    </message>
    <message>
        <source>%1必须是文字</source>
        <translation>%1 must be text</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>文件过大</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>无法写入井场文件 %1：%2</source>
        <translation>Cannot write the site file %1: %2</translation>
    </message>
    <message>
        <source>文件中的井场数据版本为 %1，本程序无法识别，已忽略</source>
        <translation>The file&apos;s site data has version %1, which this program does not know; ignored</translation>
    </message>
    <message>
        <source>文件中的井场数据已损坏（校验不符），已忽略</source>
        <translation>The file&apos;s site data is damaged (its checksum does not match); ignored</translation>
    </message>
    <message>
        <source>文件中的井场无效，已忽略：%1</source>
        <translation>The file&apos;s site is not valid and is ignored: %1</translation>
    </message>
    <message>
        <source>这不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
</context>
<context>
    <name>SiteCommand</name>
    <message>
        <source>%1 没有井场</source>
        <translation>%1 has no site</translation>
    </message>
    <message>
        <source>测量数据中没有探管编号，标定系数只存入了本次测量
</source>
        <translation>The survey holds no probe number: the field scale is stored in this survey only
</translation>
    </message>
    <message>
        <source>无法在本机记录探管 %1 的标定系数
</source>
        <translation>Cannot remember probe %1&apos;s field scale on this computer
</translation>
    </message>
</context>
<context>
    <name>StationsCommand</name>
    <message>
        <source>%1 中没有找到测站，未修改。</source>
        <translation>No stations found in %1; nothing changed.</translation>
    </message>
</context>
<context>
    <name>Stops</name>
    <message>
        <source>井斜极差限值必须在 0 到 180 度之间</source>
        <translation>the inclination limit must lie between 0 and 180 degrees</translation>
    </message>
    <message>
        <source>方位极差限值必须在 0 到 360 度之间</source>
        <translation>the azimuth limit must lie between 0 and 360 degrees</translation>
    </message>
    <message>
        <source>总加速度极差限值必须在 0 到 10 之间</source>
        <translation>the total gravity limit must lie between 0 and 10</translation>
    </message>
    <message>
        <source>总磁场极差限值必须在 0 到 1000000 之间</source>
        <translation>the total field limit must lie between 0 and 1000000</translation>
    </message>
    <message>
        <source>最短停留时间必须在 0 到 86400 秒之间</source>
        <translation>the shortest stop must lie between 0 and 86400 seconds</translation>
    </message>
    <message>
        <source>不计方位的井斜下限必须在 0 到 180 度之间</source>
        <translation>the inclination below which azimuths are left out must lie between 0 and 180 degrees</translation>
    </message>
</context>
<context>
    <name>SurveyWarnings</name>
    <message>
        <source>测点 %1 已选择但没有井深，未参与轨迹计算</source>
        <translation>point %1 is ticked but has no depth; left out of the path</translation>
    </message>
    <message>
        <source>测点 %1 的井斜或方位无效，未参与轨迹计算</source>
        <translation>point %1&apos;s inclination or azimuth is not valid; left out of the path</translation>
    </message>
    <message>
        <source>测点 %1 的井深不在连接点以下，未参与轨迹计算</source>
        <translation>point %1&apos;s depth is not below the tie-in; left out of the path</translation>
    </message>
    <message>
        <source>测点 %1 与测点 %2 井深相同，未参与轨迹计算</source>
        <translation>point %1 has the same depth as point %2; left out of the path</translation>
    </message>
    <message>
        <source>测点 %1 与上一测点方向相反，未参与轨迹计算</source>
        <translation>point %1 points opposite to the station before; left out of the path</translation>
    </message>
    <message>
        <source>按测量时间应在井深 %1 米和 %2 米之间</source>
        <translation>by its time it should lie between %1 m and %2 m</translation>
    </message>
    <message>
        <source>按测量时间应在井深 %1 米之后</source>
        <translation>by its time it should lie after %1 m</translation>
    </message>
    <message>
        <source>按测量时间应在井深 %1 米之前</source>
        <translation>by its time it should lie before %1 m</translation>
    </message>
    <message>
        <source>测点 %1 的井深 %2 米与测量时间的顺序不符（%3），请检查是否输错</source>
        <translation>point %1&apos;s depth of %2 m breaks the order of the shots&apos; times (%3); check it for a typo</translation>
    </message>
    <message>
        <source>已设置井场，但磁偏角为 0：方位未作磁偏角校正（井场地磁模型的磁偏角为 %1°）</source>
        <translation>the site is set but the declination is 0: the azimuths are not corrected for declination (the site&apos;s model gives %1°)</translation>
    </message>
    <message>
        <source>测点 %1（井深 %2 米）的狗腿度 %3°/30m 超过限值 %4°/30m</source>
        <translation>point %1 (depth %2 m) has a dog-leg of %3°/30m, above the limit of %4°/30m</translation>
    </message>
    <message>
        <source>（从连接点算起：请检查井深方向，下钻时测量的数据自动井深应逐点递增）</source>
        <translation> (from the tie-in: check the depths&apos; direction; a survey taken while running in should have depths that grow point by point)</translation>
    </message>
</context>
<context>
    <name>zolm</name>
    <message>
        <source>警告（续）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vexmoor    ZOLM电子多点测斜仪  测斜报告</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation type="unfinished">%1: %2</translation>
    </message>
    <message>
        <source>测斜报告</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>井号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>质量检查的总磁场参考 = 地磁模型总磁场 × %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>质量检查的参考取自测量数据，不用磁场标定系数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告：无</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告：%1 条，见第 %2 页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>签字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>姓名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日期</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zolm-cli</name>
    <message>
        <source>%1：%2 应为一个数，而不是“%3”</source>
        <translation>%1: %2 takes a number, not &apos;%3&apos;</translation>
    </message>
    <message>
        <source>%1：--field-scale 必须大于 0，且不超过 %2
</source>
        <translation>%1: --field-scale must be above 0 and at most %2
</translation>
    </message>
    <message>
        <source>%1：--dls-limit 必须大于 0，且不超过 %2
</source>
        <translation>%1: --dls-limit must be above 0 and at most %2
</translation>
    </message>
    <message>
        <source>无法写入标准输出</source>
        <translation>Cannot write to standard output</translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>geomag：需要 --lat 和 --lon</source>
        <translation>geomag: --lat and --lon are needed</translation>
    </message>
    <message>
        <source>geomag：--date 应为 YYYY-MM-DD，而不是“%1”</source>
        <translation>geomag: --date takes YYYY-MM-DD, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>geomag：%1</source>
        <translation>geomag: %1</translation>
    </message>
    <message>
        <source>site：--start-time 应为“YYYY-MM-DD HH:MM:SS”，而不是“%1”</source>
        <translation>site: --start-time takes &quot;YYYY-MM-DD HH:MM:SS&quot;, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>site：--dls-limit 应为一个数，而不是“%1”</source>
        <translation>site: --dls-limit takes a number, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>site：--clear 只能与 -o 和 --force 一起用</source>
        <translation>site: --clear takes no other option than -o and --force</translation>
    </message>
    <message>
        <source>site：--calibrate-field-scale 与 --set-field-scale 只能选一个</source>
        <translation>site: --calibrate-field-scale and --set-field-scale each take the place of the other</translation>
    </message>
    <message>
        <source>site：-o 和 --force 只在修改井场时使用</source>
        <translation>site: -o and --force go with a change of the site</translation>
    </message>
    <message>
        <source>site：新的井场需要 --lat、--lon 和 --date</source>
        <translation>site: a new site needs --lat, --lon and --date</translation>
    </message>
    <message>
        <source>site：--date 应为 YYYY-MM-DD，而不是“%1”</source>
        <translation>site: --date takes YYYY-MM-DD, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>site：%1</source>
        <translation>site: %1</translation>
    </message>
    <message>
        <source>qc：--g-tol 必须在 0 到 1 之间</source>
        <translation>qc: --g-tol must lie between 0 and 1</translation>
    </message>
    <message>
        <source>qc：--b-tol 必须在 0 到 1000000 之间</source>
        <translation>qc: --b-tol must lie between 0 and 1000000</translation>
    </message>
    <message>
        <source>qc：--dip-tol 必须在 0 到 90 之间</source>
        <translation>qc: --dip-tol must lie between 0 and 90</translation>
    </message>
    <message>
        <source>trajectory：--meta 只与 --csv 一起用</source>
        <translation>trajectory: --meta goes with --csv</translation>
    </message>
    <message>
        <source>trajectory：--tie-in 应为 MD,INC,AZI,TVD,N,E，而不是“%1”</source>
        <translation>trajectory: --tie-in takes MD,INC,AZI,TVD,N,E, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>trajectory：连接点的测深必须在 0 到 100000 米之间</source>
        <translation>trajectory: the tie-in&apos;s MD must lie between 0 and 100000 m</translation>
    </message>
    <message>
        <source>trajectory：连接点的井斜必须在 0 到 180 之间</source>
        <translation>trajectory: the tie-in&apos;s inclination must lie between 0 and 180</translation>
    </message>
    <message>
        <source>trajectory：连接点的方位必须在 0 到 360 之间</source>
        <translation>trajectory: the tie-in&apos;s azimuth must lie between 0 and 360</translation>
    </message>
    <message>
        <source>trajectory：连接点的垂深、北和东必须在 -100000 到 100000 米之间</source>
        <translation>trajectory: the tie-in&apos;s TVD, N and E must lie between -100000 and 100000 m</translation>
    </message>
    <message>
        <source>trajectory：--vs-azimuth 必须在 0 到 360 之间</source>
        <translation>trajectory: --vs-azimuth must lie between 0 and 360</translation>
    </message>
    <message>
        <source>trajectory: 没有可用的测点（需要打勾并输入测深的测点）</source>
        <translation>trajectory: no usable stations (stations need a tick and a depth)</translation>
    </message>
    <message>
        <source>trajectory: 无法生成 PDF</source>
        <translation>trajectory: cannot make the PDF</translation>
    </message>
    <message>
        <source>edit: %1 没有可用的井场，无法取得磁偏角
</source>
        <translation>edit: %1 has no usable site, so there is no declination to take
</translation>
    </message>
    <message>
        <source>%1 需要一个值</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 需要 %2 个值</source>
        <translation>%1 needs %2 value(s)</translation>
    </message>
    <message>
        <source>%1：需要%2</source>
        <translation>%1: %2 is needed</translation>
    </message>
    <message>
        <source>一个 .ZLM 文件</source>
        <translation>a .ZLM file</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1：多余的参数“%2”</source>
        <translation>%1: unexpected argument &apos;%2&apos;</translation>
    </message>
    <message>
        <source>zolm-cli：%1
用法见 zolm-cli --help。
</source>
        <translation>zolm-cli: %1
Try &apos;zolm-cli --help&apos;.
</translation>
    </message>
    <message>
        <source>无法读取井深记录 %1：%2
</source>
        <translation>Cannot read the tally %1: %2
</translation>
    </message>
    <message>
        <source>井深记录%1
</source>
        <translation>Tally %1
</translation>
    </message>
    <message>
        <source>井深记录 %1 没有一行对应到探管的停留，未作修改
</source>
        <translation>No line of the tally %1 finds a stop of the probe; nothing changed
</translation>
    </message>
    <message>
        <source>井深记录 %1：%2 行中 %3 行已填入井深
</source>
        <translation>Tally %1: %3 of %2 lines gave their depths
</translation>
    </message>
    <message>
        <source>export-format：没有导出项“%1”；导出项为 %2，或用名称 %3</source>
        <translation>export-format: no export item &apos;%1&apos;; the items are %2, or by name %3</translation>
    </message>
    <message>
        <source>export：需要 FILE 和 -o OUT</source>
        <translation>export: FILE and -o OUT are needed</translation>
    </message>
    <message>
        <source>export-format：--title 与 --no-title、--space 与 --comma 各只能选一个</source>
        <translation>export-format: --title/--no-title and --space/--comma each take one</translation>
    </message>
    <message>
        <source>export-format：“%1”选了两次</source>
        <translation>export-format: &apos;%1&apos; is chosen twice</translation>
    </message>
    <message>
        <source>export-format：--set 应为 LABEL=POS，POS 为 32 位整数，而不是“%1”</source>
        <translation>export-format: --set takes LABEL=POS with a 32-bit POS, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>report：需要 -o OUT.pdf 或 --ops 之一</source>
        <translation>report: either -o OUT.pdf or --ops</translation>
    </message>
    <message>
        <source>report：--dpi 和 --page 只用于 --ops</source>
        <translation>report: --dpi and --page go with --ops</translation>
    </message>
    <message>
        <source>report：--layout 应为 multi、single 或 economy</source>
        <translation>report: --layout takes multi, single or economy</translation>
    </message>
    <message>
        <source>report：--dpi 应为 X 或 X,Y（1 到 100000）</source>
        <translation>report: --dpi takes X or X,Y (1 to 100000)</translation>
    </message>
    <message>
        <source>report：--row 应为一个行号</source>
        <translation>report: --row takes a row number</translation>
    </message>
    <message>
        <source>report：--page 应为一个页码</source>
        <translation>report: --page takes a page number</translation>
    </message>
    <message>
        <source>edit：“%1”不是测点列表，应如 3,5,10-20</source>
        <translation>edit: &apos;%1&apos; is not a list of points such as 3,5,10-20</translation>
    </message>
    <message>
        <source>edit：文件中没有测点 %1（测点为 0 到 %2）</source>
        <translation>edit: no point %1 in this document (points 0 to %2)</translation>
    </message>
    <message>
        <source>edit：--up 只与 --auto-depth 一起用</source>
        <translation>edit: --up goes with --auto-depth</translation>
    </message>
    <message>
        <source>edit：--tally-window 只与 --tally 一起用</source>
        <translation>edit: --tally-window goes with --tally</translation>
    </message>
    <message>
        <source>edit：--tally-window 应为整秒数，而不是“%1”</source>
        <translation>edit: --tally-window takes whole seconds, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>edit：--check 应为 all、none 或 invert</source>
        <translation>edit: --check takes all, none or invert</translation>
    </message>
    <message>
        <source>edit：--depth 应为 POINT=METRES</source>
        <translation>edit: --depth takes POINT=METRES</translation>
    </message>
    <message>
        <source>-o OUT：普通文件（或新文件）整体替换，写入失败时保留原来的内容；已有的目标
若不是普通文件（FIFO、设备、/dev/stdout），则同 cp 一样直接写入；&apos;-&apos; 写到
标准输出。写入出错时退出状态为 1。
</source>
        <translation>-o OUT: a regular file (or a new one) is replaced atomically, so a failed write leaves the
old bytes; an existing target that is not a regular file (a FIFO, a device, /dev/stdout)
is written in place, as cp does; &apos;-&apos; writes to standard output. A write error exits 1.
</translation>
    </message>
    <message>
        <source>警告写到 stderr，每条一行，以“警告：”开头：井深与测量时间顺序不符的打勾测点
（如把 90 输成 900），未参与轨迹计算的打勾测点及原因（没有井深等），井场地磁
模型给出磁偏角而文件中磁偏角为 0，以及狗腿度超过限值的测点。警告不影响退出
状态。
</source>
        <translation>Warnings go to stderr, one line each, starting with &apos;警告：&apos;: ticked shots whose depth
breaks the order of their times (a typo such as 900 for 90), ticked shots left out of the
path and why (no depth, ...), a declination of 0 while the site&apos;s model gives another, and
stations whose dog-leg is above the limit. They do not change the exit status.
</translation>
    </message>
    <message>
        <source>文件按桌面程序的方式打开：显示全部测点，按升序排列；然后依次应用 --mode 和
--reverse。不是完整测量数据的文件（长度不是 25132 + 30*N 字节，旧格式不是
5220 + 30*N 字节，N 为 0 到 1818）仍会打开，并在 stderr 上给出警告。
</source>
        <translation>The document opens as the desktop program opens it: every point shown, ascending; then
--mode and --reverse apply, in that order. A file that is not exactly a survey (its length
is not 25132 + 30*N bytes, or 5220 + 30*N for the older layout, with its count N from 0 to
1818) still opens, with a warning on stderr.
</translation>
    </message>
    <message>
        <source>ZOLM 的测量数据和探管功能，不带窗口。退出状态：0 完成，1 操作失败，2 用法错误。

  --settings FILE   使用该设置文件（也可用 ZOLM_SETTINGS=FILE）
  --lang en|zh      文字的语言：en 英文，zh 中文（也可用 ZOLM_LANG=en；默认中文，
                    与系统的语言设置无关）
</source>
        <translation>The survey and probe functions of ZOLM without a window. Exit status: 0 done, 1 the
operation failed, 2 wrong usage.

  --settings FILE   use this settings file (also: ZOLM_SETTINGS=FILE)
  --lang en|zh      the language of the texts: en English, zh Chinese (also: ZOLM_LANG=en;
                    Chinese unless asked, whatever the system&apos;s language)
</translation>
    </message>
    <message>
        <source>用法：zolm-cli [--settings FILE] [--lang en|zh] COMMAND [ARGS]
      zolm-cli --version | --help | COMMAND --help
</source>
        <translation>usage: zolm-cli [--settings FILE] [--lang en|zh] COMMAND [ARGS]
       zolm-cli --version | --help | COMMAND --help
</translation>
    </message>
    <message>
        <source>命令：
</source>
        <translation>Commands:
</translation>
    </message>
    <message>
        <source>
&apos;zolm-cli COMMAND --help&apos; 给出各命令的详细说明。
</source>
        <translation>
&apos;zolm-cli COMMAND --help&apos; tells more of each command.
</translation>
    </message>
    <message>
        <source>用法：%1

</source>
        <translation>usage: %1

</translation>
    </message>
    <message>
        <source>不带窗口处理测量数据和探管</source>
        <translation>survey documents and the probe, without a window</translation>
    </message>
    <message>
        <source>设置（通讯口、探管设置、导出格式）</source>
        <translation>the settings (port, probe settings, export format)</translation>
    </message>
    <message>
        <source>未知的选项“%1”</source>
        <translation>unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--lang 应为 en 或 zh，而不是“%1”</source>
        <translation>--lang takes en or zh, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>需要一个命令</source>
        <translation>a command is needed</translation>
    </message>
    <message>
        <source>未知的命令“%1”</source>
        <translation>unknown command &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1：--mode 应为 all、hide-checked 或 only-checked，而不是“%2”</source>
        <translation>%1: --mode takes all, hide-checked or only-checked, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>警告：文件“%1”不是完整的测量数据文件（%2），其中的数据可能无意义。
</source>
        <translation>Warning: the file &quot;%1&quot; is not a complete survey file (%2); its data may mean nothing.
</translation>
    </message>
    <message>
        <source>未保存：文件“%1”不是完整的测量数据文件，不覆盖它。确要覆盖请加 --force，或用 -o 另存。
</source>
        <translation>Not saved: the file &quot;%1&quot; is not a complete survey file, so it is not overwritten. Add --force to overwrite it, or save elsewhere with -o.
</translation>
    </message>
    <message>
        <source>无法写入文件“%1”：%2</source>
        <translation>Cannot write the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>文件夹“%1”不存在</source>
        <translation>the folder &quot;%1&quot; does not exist</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>文件夹“%1”不可写</source>
        <translation>the folder &quot;%1&quot; cannot be written</translation>
    </message>
    <message>
        <source>无法保存文件“%1”：%2</source>
        <translation>Cannot save the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>read：需要 -o FILE.ZLM</source>
        <translation>read: -o FILE.ZLM is needed</translation>
    </message>
    <message>
        <source>读出的数据也无法保存到临时文件夹。
</source>
        <translation>The survey read could not be saved to the temporary folder either.
</translation>
    </message>
    <message>
        <source>读出的数据已保存到“%1”。
</source>
        <translation>The survey read was saved to &quot;%1&quot;.
</translation>
    </message>
    <message>
        <source>live：--count 应为整数个采样</source>
        <translation>live: --count needs a whole number of samples</translation>
    </message>
    <message>
        <source>set-port：需要 PORT</source>
        <translation>set-port: PORT is needed</translation>
    </message>
    <message>
        <source>stations：%1 应为一个数，而不是“%2”</source>
        <translation>stations: %1 takes a number, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>stations：-o 和 --force 只与 --apply 一起用</source>
        <translation>stations: -o and --force go with --apply</translation>
    </message>
    <message>
        <source>trajectory：%1 只能选一个</source>
        <translation>trajectory: %1 each take the place of the others</translation>
    </message>
    <message>
        <source>trajectory：--%1 需要 -o OUT.%2</source>
        <translation>trajectory: --%1 needs -o OUT.%2</translation>
    </message>
    <message>
        <source>
表格显示哪些行，同显示方式按钮（默认 all）</source>
        <translation>
which rows the table shows, as the display-mode buttons (default: all)</translation>
    </message>
    <message>
        <source>各行按测点号从大到小排列</source>
        <translation>the rows in descending point order</translation>
    </message>
    <message>
        <source>串口设备（/dev/ttyUSB0），SIM 为内置虚拟探管，SIM:FILE.ZLM 为
装有该文件测量数据的虚拟探管；默认为保存的通讯口（见 set-port）；
尚未保存时，Windows 上为 COM1，其他系统上为第一个 USB 串口
（先 ttyUSB*，后 ttyACM*）</source>
        <translation>a serial device (/dev/ttyUSB0), SIM for the built-in virtual probe, or
SIM:FILE.ZLM for a virtual probe holding that document&apos;s survey;
default: the stored port (see set-port); until one is stored, on Windows
COM1, elsewhere the first USB serial adapter (ttyUSB*, then ttyACM*)</translation>
    </message>
    <message>
        <source>不显示进度条（只在 stderr 为终端时才在 stderr 上显示）</source>
        <translation>no progress bar (it is shown on stderr only when stderr is a terminal)</translation>
    </message>
    <message>
        <source>本次判断所用的探管磁场单位与高斯之比（大于 0）：质量检查把
总磁场与井场地磁模型的总磁场乘以 X 相比较。默认：测量数据井场中
保存的系数，否则为本机为该探管编号记录的系数
（site --calibrate-field-scale），否则为 1</source>
        <translation>the probe&apos;s field units per gauss for this judgement (above 0): QC
compares the total field with the site model&apos;s field times X. Default:
the scale stored in the survey&apos;s site, else the one this computer
remembers for the survey&apos;s probe number (site --calibrate-field-scale),
else 1</translation>
    </message>
    <message>
        <source>狗腿度超过此值的测点给出警告，单位为度/30 米（大于 0，不超过
180）。默认：测量数据的井场（site --dls-limit），否则为 3</source>
        <translation>the dog-leg severity above which a station is warned of, in degrees
per 30 m (above 0, at most 180). Default: the survey&apos;s site (site
--dls-limit), else 3</translation>
    </message>
    <message>
        <source>一个 JSON 对象：probeType、firstSampleTime、interval、pointCount、
crew、well、declination 和 rows [{row, point, checked, time, depth,
flags, values[20]}]；不是有限数的值为 null</source>
        <translation>one JSON object: probeType, firstSampleTime, interval, pointCount, crew,
well, declination and rows [{row, point, checked, time, depth, flags,
values[20]}]; a value that is not finite is null</translation>
    </message>
    <message>
        <source>显示测量数据表格：先是标题行，然后每行一条，以制表符分隔：选择状态（[x] 或
[ ]）和表格的各列（序号、时间、测深、井斜、磁方位、重力工具面、磁性工具面、
磁倾角、探管温度、总加速度、总磁场），与表格中显示的完全一样。行号按显示顺序
从 0 开始；一行的测点号是它在探管存储器中的序号（--depth 和 --tick 用的就是它）。
</source>
        <translation>Prints the survey table: a title line, then one line per row, tab-separated: the check
state ([x] or [ ]) and the table&apos;s columns (point, time, depth, inclination, azimuth,
gravity toolface, magnetic toolface, dip, temperature, total gravity, total field) exactly
as the table shows them. Rows are numbered from 0 in the order shown; a row&apos;s point number
is its index in the probe&apos;s memory (what --depth and --tick take).
</translation>
    </message>
    <message>
        <source>@open-rule@
示例：zolm-cli show well7.ZLM --mode only-checked
</source>
        <translation>@open-rule@
Example: zolm-cli show well7.ZLM --mode only-checked
</translation>
    </message>
    <message>
        <source>写到哪里</source>
        <translation>where to write</translation>
    </message>
    <message>
        <source>按保存的导出格式（见 export-format）把表格各行写成分隔文本，与导出对话框的
结果相同，但不弹出对话框。文字为 GBK 编码，行尾为 CRLF。真方位 = 磁方位 +
文件的磁偏角。
</source>
        <translation>Writes the table&apos;s rows as delimited text with the stored export format (see
export-format), as the export dialog would, with no dialog. Texts are GBK, lines end in
CRLF. True azimuth = magnetic azimuth + the document&apos;s declination.
</translation>
    </message>
    <message>
        <source>@out-rule@@open-rule@
示例：zolm-cli export well7.ZLM -o well7.txt
</source>
        <translation>@out-rule@@open-rule@
Example: zolm-cli export well7.ZLM -o well7.txt
</translation>
    </message>
    <message>
        <source>第一行是否为标题行</source>
        <translation>a title line first, or not</translation>
    </message>
    <message>
        <source>字段分隔符</source>
        <translation>the field separator</translation>
    </message>
    <message>
        <source>依次选择的各列；值为空则一列也不选。每一项可以是中文标签，
也可以是英文名称：
@export-item-names@</source>
        <translation>the columns in order; an empty value chooses none. Each item is
its Chinese label or its English name:
@export-item-names@</translation>
    </message>
    <message>
        <source>按给定值保存该项的位置（32 位有符号数），在 --columns 之后
进行</source>
        <translation>stores that item&apos;s position as given (a signed 32-bit value),
after --columns</translation>
    </message>
    <message>
        <source>不带选项时显示保存的导出格式：&apos;title: yes|no&apos;、&apos;separator: space|comma&apos;，然后每项
一行 &apos;LABEL POS&apos;。带选项时像导出对话框的“确定”一样保存格式。
</source>
        <translation>Without options prints the stored export format: &apos;title: yes|no&apos;, &apos;separator: space|comma&apos;,
then &apos;LABEL POS&apos; per item. With options stores it as the export dialog&apos;s OK does.
</translation>
    </message>
    <message>
        <source>示例：zolm-cli export-format --comma --columns depth,inclination,azimuth
</source>
        <translation>Example: zolm-cli export-format --comma --columns depth,inclination,azimuth
</translation>
    </message>
    <message>
        <source>multi（每页多个测点，横向；默认）、single（单个测点，横向）或
economy（纵向）</source>
        <translation>multi (several points a page, landscape; default), single (one point,
landscape) or economy (portrait)</translation>
    </message>
    <message>
        <source>单点格式所用的行，从 0 开始（默认 0）</source>
        <translation>the row for the single-point layout, from 0 (default 0)</translation>
    </message>
    <message>
        <source>PDF 文件；绘图区距纸张边角 1/4 英寸</source>
        <translation>the PDF; the drawing rectangle sits 1/4 inch from the paper&apos;s corner</translation>
    </message>
    <message>
        <source>绘图操作列表：&apos;pages N&apos;，然后每页 &apos;page P&apos;、&apos;logo X Y&apos;、
&apos;text X Y TEXT&apos;、&apos;line X1 Y1 X2 Y2&apos;，单位为设备单位</source>
        <translation>the draw list: &apos;pages N&apos;, then per page &apos;page P&apos;, &apos;logo X Y&apos;,
&apos;text X Y TEXT&apos;, &apos;line X1 Y1 X2 Y2&apos;, in device units</translation>
    </message>
    <message>
        <source>--ops 的分辨率，1 到 100000（默认 600）</source>
        <translation>the resolution of --ops, 1 to 100000 (default 600)</translation>
    </message>
    <message>
        <source>--ops 只列出第 P 页（从 1 开始）</source>
        <translation>only page P (from 1) of --ops</translation>
    </message>
    <message>
        <source>绘制表格各行的打印报表：生成 A4 的 PDF 页面，或列出其绘图操作。
</source>
        <translation>Draws the printed report of the table&apos;s rows: as A4 PDF pages, or as its list of drawing
operations.
</translation>
    </message>
    <message>
        <source>@out-rule@@open-rule@
示例：zolm-cli report well7.ZLM --layout economy -o well7.pdf
</source>
        <translation>@out-rule@@open-rule@
Example: zolm-cli report well7.ZLM --layout economy -o well7.pdf
</translation>
    </message>
    <message>
        <source>选择或取消所列的测点：测点号和范围，如
3,5,10-20</source>
        <translation>set or clear the check of the listed points: point numbers
and ranges, e.g. 3,5,10-20</translation>
    </message>
    <message>
        <source>保存到该文件，而不覆盖 FILE</source>
        <translation>save there instead of over FILE</translation>
    </message>
    <message>
        <source>即使 FILE 不是完整的测量数据（见下文）也覆盖它，并允许
--auto-depth 和 --tally 覆盖以前输入的井深</source>
        <translation>overwrite FILE even when it is not exactly a survey (see below), and
let --auto-depth and --tally replace depths entered before</translation>
    </message>
    <message>
        <source>井队编号，最多 14 个 GBK 字节（一个汉字占两个字节）</source>
        <translation>crew number, at most 14 GBK bytes (a Chinese character takes two)</translation>
    </message>
    <message>
        <source>井号，最多 14 个 GBK 字节；GBK 无法表示的文字会被拒绝</source>
        <translation>well number, at most 14 GBK bytes; text GBK cannot hold is refused</translation>
    </message>
    <message>
        <source>磁偏角，单位为度，-360 到 360</source>
        <translation>magnetic declination in degrees, -360 to 360</translation>
    </message>
    <message>
        <source>显示的测点的选择标记</source>
        <translation>the check marks of the shown points</translation>
    </message>
    <message>
        <source>为选择的测点自动生成井深：第一个选择的测点为
START（30 到 9999），以后每个测点按 LENGTH（0.1 到 500）递减，
按测点顺序（即测量时间的顺序，而不是 --reverse 的顺序），直到井深
小于 0 为止：适用于起钻时测量的数据。若会覆盖某个选择的测点以前
输入的井深，则拒绝执行（状态 1，列出这些测点），除非给出 --force</source>
        <translation>automatic depths for the checked points: START (30 to 9999)
for the first checked point, then counting DOWN by LENGTH (0.1 to 500)
for each later one, in point order (the order of the shots&apos; times, not
the order of --reverse), until the depth would go below 0: a survey taken
while pulling out of the hole. A checked point whose entered depth it
would replace makes it refuse (exit 1, the points named) unless --force</translation>
    </message>
    <message>
        <source>与 --auto-depth 一起用：从 START 起递增，直到井深超过 9999.99：
适用于下钻时测量的数据</source>
        <translation>with --auto-depth: count UP from START instead, until the depth would
pass 9999.99: a survey taken while running into the hole</translation>
    </message>
    <message>
        <source>一个测点的井深，0 到 9999.99；POINT 是测点号（从 0
开始，即 &apos;show --json&apos; 给出的），不是 &apos;show&apos; 的行号</source>
        <translation>one point&apos;s depth, 0 to 9999.99; POINT is the point number
(from 0, as &apos;show --json&apos; gives it), not the row number of &apos;show&apos;</translation>
    </message>
    <message>
        <source>磁偏角取 FILE 的井场和日期（见 site）下世界地磁
模型的值，并经过同样的范围检查；FILE 没有井场时拒绝（状态 1）</source>
        <translation>the declination from the World Magnetic Model for the site
and date of FILE (see site), through the same range check;
refused (exit 1) when FILE has no site</translation>
    </message>
    <message>
        <source>从井深记录取井深：文本文件，每行一个测点，&apos;TIME DEPTH&apos;，以空格、
制表符或逗号分隔；&apos;#&apos; 开始注释。TIME 为 HH:MM 或 HH:MM:SS：井场
设有探管启动时间时（site --start-time；早于上一行的时间算作第二天）
为钟表时间，否则为探管启动后的时间（show 的时间列；小时数可超过
24）。DEPTH 单位为米，0.01 到 9999.99。停留按 stations 的方法找出；
每行对应到其时间落在停留范围内的停留，否则对应到窗口内最近的停留。
停留的井深填给它的代表测点（若已选择），否则填给离它最近的已选择
测点，否则填给代表测点。找不到停留的行，以及对应到同一停留的各行，
在 stderr 上列出，不填入井深；其余的行照常填入。不是井深记录格式的
行使命令失败（状态 1，不写入任何内容）。以前输入的井深只有加
--force 才会被覆盖</source>
        <translation>depths from the driller&apos;s tally: a text file, one station a line,
&apos;TIME DEPTH&apos; separated by blanks, a tab or a comma; &apos;#&apos; starts a
comment. TIME is HH:MM or HH:MM:SS: the clock time when the site holds the
probe&apos;s start time (site --start-time; a time earlier than the line
before is on the next day), else the time since the probe started (the
time column of show; hours go on past 24). DEPTH in metres, 0.01 to
9999.99. The stops are found as stations finds them; each line goes to
the stop whose span holds its time, else to the nearest stop within the
window. The stop&apos;s depth goes to its representative shot when that is
checked, else to the checked shot nearest it, else to the representative.
A line that finds no stop, and lines that find the same stop, are named
on stderr and assign nothing; the others are applied. A line that is not
a tally line fails the command (exit 1, nothing written). Depths entered
before are replaced only with --force</translation>
    </message>
    <message>
        <source>井深记录的时间最多可以在停留之外多少秒，0 到 86400
（默认 120）</source>
        <translation>how far outside a stop a tally time may lie, 0 to 86400
(default 120)</translation>
    </message>
    <message>
        <source>按给出的顺序进行各项修改，检查和提示与对话框相同，然后保存文件（保存到 OUT，
或写回 FILE）。没有修改时原样保存。第一项被拒绝的修改显示其提示并以状态 1
退出，不写入任何内容。
</source>
        <translation>Applies the edits in the order given, with the dialogs&apos; checks and messages, then saves the
document (to OUT, or back to FILE). With no edit it saves the document unchanged. The first
refused edit prints its message and exits 1 before anything is written.
</translation>
    </message>
    <message>
        <source>@out-rule@没有 -o 时，不是完整测量数据的 FILE（长度不是 25132 + 30*N 字节，旧格式不是
5220 + 30*N 字节，N 为 0 到 1818：也许根本不是测量数据）不会被覆盖（状态 1），
除非给出 --force。
测量数据的井场随文件一起保存（见 site）；旧测量数据旁的 FILE.site 会移入保存的
测量数据中。

示例：zolm-cli edit well7.ZLM --well 7号井 --check none --tick 1-20 --auto-depth 600 30
</source>
        <translation>@out-rule@Without -o, a FILE that is not exactly a survey (its length is not 25132 + 30*N bytes, or
5220 + 30*N for the older layout, with its count N from 0 to 1818: perhaps not a survey
at all) is not overwritten (exit 1) unless --force is given.
The survey&apos;s site goes with it (see site); a FILE.site beside an older survey moves into
the saved survey.

Example: zolm-cli edit well7.ZLM --well 7号井 --check none --tick 1-20 --auto-depth 600 30
</translation>
    </message>
    <message>
        <source>测试与探管的通讯，并显示探管的回答。
</source>
        <translation>Tests the link to the probe and prints the probe&apos;s answer text.
</translation>
    </message>
    <message>
        <source>示例：zolm-cli link-test --port /dev/ttyUSB0
</source>
        <translation>Example: zolm-cli link-test --port /dev/ttyUSB0
</translation>
    </message>
    <message>
        <source>读取探管信息，按信息对话框的各项每项一行显示 &apos;LABEL: TEXT&apos;（探管编号、类型、
容量、存储的测点数、延时、间隔、电池）。
</source>
        <translation>Reads the probe&apos;s information and prints one line per field of the information dialog,
&apos;LABEL: TEXT&apos; (probe number, type, capacity, stored points, delay, interval, battery).
</translation>
    </message>
    <message>
        <source>示例：zolm-cli info --port SIM
</source>
        <translation>Example: zolm-cli info --port SIM
</translation>
    </message>
    <message>
        <source>保存到哪里</source>
        <translation>where to save</translation>
    </message>
    <message>
        <source>存储器只读一遍（约一半时间）；形状正确的回答中翻转的位或别的块的
内容将无法发现</source>
        <translation>read the memory once (about half the time); a flipped bit, or another
block&apos;s bytes, in an answer of the right shape then goes unnoticed</translation>
    </message>
    <message>
        <source>读出探管中的测量数据并保存为文件。在第一次请求之前先检查 FILE.ZLM 能否写入；
任何失败都不写入内容，已有的文件保持不变。若完整读出后文件无法写入，测量数据
会保存到临时文件夹中的恢复文件，错误信息中给出其名称。探管中没有测点（或多于
1818 个）时状态为 1。
每个回答都经过检查（字母、长度、块号），不通过时重新请求，最多再请求 3 次；
仍不通过则以数据错误结束。除非给出 --single-pass 或设置 VerifyRead 为 0，随后
会把探管存储器再读一遍并比较：两次内容不同的块重读到两次一致为止（最多 5 次），
否则读取失败。重读的块数显示在 stderr 上。
</source>
        <translation>Reads the survey the probe holds and saves it as a document. It checks that FILE.ZLM can be
written before the first request; on any failure it writes nothing and an existing file
keeps its bytes. If the file cannot be written after a complete read, the survey is saved
to a recovery file in the temporary folder, named in the error. A probe holding no points
(or more than 1818) exits 1.
Every answer is checked (its letter, its exact length, a block&apos;s number) and asked for
again, up to 3 more times, when it fails; then the read ends with a data error. Unless
--single-pass is given or the setting VerifyRead is 0, the probe&apos;s memory is then read a
second time and compared: a block whose copies differ is read until two reads agree (at
most 5), else the read fails. Blocks read again are counted on stderr.
</translation>
    </message>
    <message>
        <source>@out-rule@
示例：zolm-cli read --port /dev/ttyUSB0 -o well7.ZLM
</source>
        <translation>@out-rule@
Example: zolm-cli read --port /dev/ttyUSB0 -o well7.ZLM
</translation>
    </message>
    <message>
        <source>延时分钟数，0 到 1000（默认：保存的值）</source>
        <translation>delay minutes, 0 to 1000 (default: the stored value)</translation>
    </message>
    <message>
        <source>延时秒数，0 到 59；总延时至少 5 秒</source>
        <translation>delay seconds, 0 to 59; the whole delay is at least 5 seconds</translation>
    </message>
    <message>
        <source>采样间隔秒数，1 到 255</source>
        <translation>sampling interval in seconds, 1 to 255</translation>
    </message>
    <message>
        <source>不询问，直接清除探管中的测量数据</source>
        <translation>discard the probe&apos;s survey without asking</translation>
    </message>
    <message>
        <source>像设置对话框一样设置探管的启动延时和采样间隔；通过检查的值保存为新的默认值。
设置探管会清除其中的测量数据：在终端上先询问；否则除非给出 --yes，拒绝执行
（状态 1）。
</source>
        <translation>Sets the probe&apos;s start delay and sampling interval, as the settings dialog does; values
that pass are stored as the new defaults. Setting the probe discards the survey it holds:
on a terminal it asks first; otherwise it refuses (exit 1) unless --yes is given.
</translation>
    </message>
    <message>
        <source>示例：zolm-cli setup --delay-min 10 --delay-sec 0 --interval 10 --yes
</source>
        <translation>Example: zolm-cli setup --delay-min 10 --delay-sec 0 --interval 10 --yes
</translation>
    </message>
    <message>
        <source>采样数</source>
        <translation>how many samples</translation>
    </message>
    <message>
        <source>启动探管的实时数据，每个采样显示一行：井斜、方位、重力工具面、磁性工具面、
磁倾角、总加速度、总磁场、温度，每项为 &apos;LABEL: VALUE&apos;。N 行后停止（默认 10）。
3 秒内没有采样时状态为 1。
</source>
        <translation>Starts the probe&apos;s live stream and prints one line per sample: inclination, azimuth,
gravity toolface, magnetic toolface, dip, total gravity, total field, temperature, each
&apos;LABEL: VALUE&apos;. Stops the stream after N lines (default 10). No sample for 3 seconds
exits 1.
</translation>
    </message>
    <message>
        <source>示例：zolm-cli live --port SIM --count 3
</source>
        <translation>Example: zolm-cli live --port SIM --count 3
</translation>
    </message>
    <message>
        <source>列出系统中的串口（名称和说明）以及内置虚拟探管 SIM。
</source>
        <translation>Lists the serial ports the system has (name and description) and SIM, the built-in virtual
probe.
</translation>
    </message>
    <message>
        <source>示例：zolm-cli ports
</source>
        <translation>Example: zolm-cli ports
</translation>
    </message>
    <message>
        <source>经过通讯口对话框的打开测试和提示后，把 PORT 保存为探管命令的默认通讯口（SIM
不需要测试）。
</source>
        <translation>Stores PORT as the default port of the probe commands, after the port dialog&apos;s open test
and message (SIM needs no test).
</translation>
    </message>
    <message>
        <source>示例：zolm-cli set-port /dev/ttyUSB0
</source>
        <translation>Example: zolm-cli set-port /dev/ttyUSB0
</translation>
    </message>
    <message>
        <source>纬度，-89.9 到 89.9（北为正）</source>
        <translation>latitude, -89.9 to 89.9 (north positive)</translation>
    </message>
    <message>
        <source>经度，-180 到 360（东为正）</source>
        <translation>longitude, -180 to 360 (east positive)</translation>
    </message>
    <message>
        <source>WGS84 椭球面以上的高度，-1000 米到 850 千米（默认 0）</source>
        <translation>above the WGS84 ellipsoid, -1000 m to 850 km (default 0)</translation>
    </message>
    <message>
        <source>YYYY-MM-DD（默认：今天）</source>
        <translation>YYYY-MM-DD (default: today)</translation>
    </message>
    <message>
        <source>一个 JSON 对象，全精度</source>
        <translation>one JSON object, full precision</translation>
    </message>
    <message>
        <source>按世界地磁模型（2020-2024 年用 WMM2020，2025-2029 年用 WMM2025）计算某地某日的
地磁场：模型、小数年份、磁偏角和磁倾角（度，4 位小数），总强度、水平、北向、
东向和垂直分量（nT）。
</source>
        <translation>The geomagnetic field at a place and date from the World Magnetic Model (WMM2020 for
2020-2024, WMM2025 for 2025-2029): model, decimal year, declination and inclination
(degrees, 4 decimals), total, horizontal, north, east and down intensity (nT).
</translation>
    </message>
    <message>
        <source>示例：zolm-cli geomag --lat 36.5 --lon 117.2 --date 2026-03-15
</source>
        <translation>Example: zolm-cli geomag --lat 36.5 --lon 117.2 --date 2026-03-15
</translation>
    </message>
    <message>
        <source>同 geomag</source>
        <translation>as for geomag</translation>
    </message>
    <message>
        <source>最多 39 个 GBK 字节
（一个汉字占两个字节）</source>
        <translation>at most 39 GBK bytes (a
Chinese character takes two)</translation>
    </message>
    <message>
        <source>井队/钻机、油田/区块、井唯一编号：最多 23 个字节</source>
        <translation>rig, oil field or block, unique well id: at most 23 bytes</translation>
    </message>
    <message>
        <source>最多 15 个字节
这些是报告用的文字；T 为空则删除该项；GBK 无法表示的字符会被拒绝</source>
        <translation>at most 15 bytes
texts for the reports; an empty T removes one; a character GBK cannot
hold is refused</translation>
    </message>
    <message>
        <source>-1000 到 10000（默认 0）</source>
        <translation>-1000 to 10000 (default 0)</translation>
    </message>
    <message>
        <source>测量日期，YYYY-MM-DD，须在地磁模型的有效期内</source>
        <translation>the survey date, YYYY-MM-DD, one the models cover</translation>
    </message>
    <message>
        <source>视平移方位</source>
        <translation>the vertical-section azimuth</translation>
    </message>
    <message>
        <source>探管启动时的钟表时间：之后井深记录按钟表
时间计，轨迹窗口和报告显示每个测点的钟表时间；值为空则删除</source>
        <translation>the probe&apos;s clock time when it started: the tally
then takes clock times, and the trajectory window and report show each
shot&apos;s clock time; an empty value removes it</translation>
    </message>
    <message>
        <source>警告所用的狗腿度限值（度/30 米，大于 0，不超过 180；默认 3）；
值为空则删除</source>
        <translation>the dog-leg severity limit the warnings use (degrees per 30 m, above
0, at most 180; default 3); an empty value removes it</translation>
    </message>
    <message>
        <source>按本次测量数据设置井场的磁场标定系数：打勾测点（没有
打勾时为显示的全部测点）总磁场的中值除以井场地磁模型的总磁场
（高斯）。与 1 相差超过 5% 的系数被拒绝（状态 1，不写入任何内容），
并给出原因。该系数还会在本机按测量数据的探管编号记录下来（设置
FieldScale/NUMBER），该探管的下一次测量即从它开始；并显示
calibrationShots、calibrationMeasured 和 calibrationModel</source>
        <translation>sets the site&apos;s field scale from this survey: the median
total field of the checked shots (of every shown shot when none is
checked) over the site model&apos;s total field in gauss. A scale more than
5% from 1 is refused (exit 1, nothing written) with the reason. The scale
is also remembered on this computer for the survey&apos;s probe number
(setting FieldScale/NUMBER), so the probe&apos;s next survey starts with it;
calibrationShots, calibrationMeasured and calibrationModel are printed</translation>
    </message>
    <message>
        <source>把 X（大于 0）保存为井场的磁场标定系数，并同样为该探管
记录</source>
        <translation>stores X (above 0) as the site&apos;s field scale, remembered for
the probe in the same way</translation>
    </message>
    <message>
        <source>删除井场（旁边的 FILE.site 也不再采用）</source>
        <translation>no site any more (a FILE.site beside it is not taken again)</translation>
    </message>
    <message>
        <source>把测量数据保存到该文件，而不覆盖 FILE</source>
        <translation>save the survey there instead of over FILE</translation>
    </message>
    <message>
        <source>即使 FILE 不是完整的测量数据也覆盖它（同 edit）</source>
        <translation>overwrite FILE even when it is not exactly a survey (as for edit)</translation>
    </message>
    <message>
        <source>测量数据的井场，保存在测量数据文件之中（在文件格式未使用的文件头字节中：文件
长度和其他各字节都不变，其他程序照旧读取测量数据）。没有井场的测量数据采用旁边
的 FILE.site，即旧版本保存井场的地方；下次保存时把它移入测量数据，FILE.site
保持不变。
不带选项时显示井场及该处的模型地磁场（没有井场时状态为 1）：&apos;name: value&apos; 各行，
依次为 latitude、longitude、height、date、verticalSectionAzimuth、fieldScale、
dogLegLimit、probeStart、client、company、rig、field、location、serviceCompany、
uwi、surveyor、checkedBy、approvedBy 中已设置的各项，然后是 model、declination、
inclination、totalIntensity，然后是质量检查比较总磁场所用的值：qcFieldScale、
qcFieldScaleSource（option、site、probe 或 default）和 qcTotalField（探管单位）。
带 --lat、--lon 和 --date 时设置位置和日期（保存的井场的其他各项保持不变）；其他
选项各修改井场的一项。修改或 --clear 像 edit 一样重写测量数据，并显示井场。
</source>
        <translation>The survey&apos;s site, kept inside the survey file (in header bytes the file format leaves
unused: its length and every other byte stay as they are, and other programs read the
survey as before). A survey without one takes FILE.site beside it, where older versions
kept the site; the next save moves that into the survey and leaves FILE.site as it is.
With no option prints the site and the model&apos;s field there (exit 1 when there is none):
&apos;name: value&apos; lines, the fields that are set among latitude, longitude, height, date,
verticalSectionAzimuth, fieldScale, dogLegLimit, probeStart, client, company, rig, field,
location, serviceCompany, uwi, surveyor, checkedBy, approvedBy, then model, declination,
inclination, totalIntensity, then what QC compares the total field with: qcFieldScale,
qcFieldScaleSource (option, site, probe or default) and qcTotalField (probe units).
With --lat, --lon and --date sets the position and date (the other fields of a stored site
are kept); the other options change one field of the site. A change, or --clear, rewrites
the survey as edit does and prints the site.
</translation>
    </message>
    <message>
        <source>@out-rule@
示例：zolm-cli site well7.ZLM --lat 36.5 --lon 117.2 --date 2026-03-15 --client 第一采油厂
</source>
        <translation>@out-rule@
Example: zolm-cli site well7.ZLM --lat 36.5 --lon 117.2 --date 2026-03-15 --client 第一采油厂
</translation>
    </message>
    <message>
        <source>重力容差（默认 0.003）</source>
        <translation>gravity tolerance (default 0.003)</translation>
    </message>
    <message>
        <source>磁场容差，探管单位（默认 0.003）</source>
        <translation>field tolerance in probe units (default 0.003)</translation>
    </message>
    <message>
        <source>磁倾角容差（默认 0.3）</source>
        <translation>dip tolerance (default 0.3)</translation>
    </message>
    <message>
        <source>即使有井场也用中值</source>
        <translation>use the medians even when there is a site</translation>
    </message>
    <message>
        <source>一个 JSON 对象；其中 reference 给出所用的 fieldScale 及其
fieldScaleSource（option、site、probe 或 default）</source>
        <translation>one JSON object; its reference names the fieldScale used and its
fieldScaleSource (option, site, probe or default)</translation>
    </message>
    <message>
        <source>把显示的每个测点的总加速度、总磁场和磁倾角与参考值比较：井场的地磁模型（重力
为 1，磁场为探管单位），没有井场时为打勾测点的中值。每个测点一行（测点、
pass/fail、G、dG、B、dB、磁倾角、磁倾角差、不合格项），最后是汇总。即使有测点
不合格，退出状态也为 0。
</source>
        <translation>Checks each shown point&apos;s total gravity, total field and dip against a reference: the
site&apos;s model (gravity 1, field in probe units) or, without a site, the medians of the
checked points. One line per point (point, pass/fail, G, dG, B, dB, dip, ddip, what
failed), then a summary. Exit 0 even when points fail.
</translation>
    </message>
    <message>
        <source>
@warnings-rule@
示例：zolm-cli qc well7.ZLM
</source>
        <translation>
@warnings-rule@
Example: zolm-cli qc well7.ZLM
</translation>
    </message>
    <message>
        <source>与 --csv 一起用：先以 &apos;# key: value&apos; 行给出井号、井场、磁偏角、
地磁模型、磁场标定系数和连接点（即 LAS 文件的 ~Well 和 ~Parameter）</source>
        <translation>with --csv: the well, site, declination, model, field scale and tie-in
first, as &apos;# key: value&apos; lines (the LAS file&apos;s ~Well and ~Parameter)</translation>
    </message>
    <message>
        <source>写到哪里（默认：标准输出）</source>
        <translation>where to write (default: standard output)</translation>
    </message>
    <message>
        <source>视平移方位（默认：井场的视平移方位，否则为最后一个测点的
闭合方位）</source>
        <translation>the vertical-section azimuth (default: the site&apos;s, else the closure
azimuth of the last station)</translation>
    </message>
    <message>
        <source>连接点（默认全为 0）</source>
        <translation>the tie-in point (default all 0)</translation>
    </message>
    <message>
        <source>（用于报告中的质量检查结论；各种格式都接受）</source>
        <translation>(the report&apos;s QC verdicts; every format takes it)</translation>
    </message>
    <message>
        <source>按最小曲率法计算经过各测点的井眼轨迹：有井深的打勾测点，按井深排序；真方位 =
磁方位 + 文件的磁偏角。每个测点一行：测点、测深、井斜、方位、垂深、北、东、
视平移、狗腿度（度/30 米）。
</source>
        <translation>The well path by minimum curvature through the survey stations: the checked points with a
depth, sorted by depth; true azimuth = magnetic azimuth + the document&apos;s declination. One
line per station: point, MD, inclination, azimuth, TVD, N, E, VS, DLS (deg/30 m).
</translation>
    </message>
    <message>
        <source>@out-rule@@warnings-rule@
示例：zolm-cli trajectory well7.ZLM --csv -o well7.csv
</source>
        <translation>@out-rule@@warnings-rule@
Example: zolm-cli trajectory well7.ZLM --csv -o well7.csv
</translation>
    </message>
    <message>
        <source>选择每个停留的代表测点，取消其他所有测点（移动中的测量和停留中
的其余测点），然后像 edit 一样保存；之后可以像其他选择一样修改。
没有停留时不作修改（状态 1）</source>
        <translation>ticks each stop&apos;s representative and unticks every other point (the
moving shots and the rest of each stop), then saves as edit does; the
ticks can be changed afterwards as any others. Without a stop nothing is
changed (exit 1)</translation>
    </message>
    <message>
        <source>与 --apply 一起用：保存到该文件，而不覆盖 FILE</source>
        <translation>with --apply: save there instead of over FILE</translation>
    </message>
    <message>
        <source>与 --apply 一起用：即使 FILE 不是完整的测量数据也覆盖它</source>
        <translation>with --apply: overwrite FILE even when it is not exactly a survey</translation>
    </message>
    <message>
        <source>一个 JSON 对象：tolerance、stops [{first, last, shots, start, end,
duration, representative, inclination, azimuth, gtotal, btotal,
spread {...}}]、summary {points, stops, resting, moving}</source>
        <translation>one JSON object: tolerance, stops [{first, last, shots, start, end,
duration, representative, inclination, azimuth, gtotal, btotal,
spread {...}}], summary {points, stops, resting, moving}</translation>
    </message>
    <message>
        <source>停留的井斜极差，0 到 180（默认 0.5）</source>
        <translation>inclination spread of a stop, 0 to 180 (default 0.5)</translation>
    </message>
    <message>
        <source>方位极差，0 到 360（默认 2）；359 与 1 相差 2。井斜小时，井眼稍有
转动方位就会大幅摆动，因此限值在该处放宽为 --inc-tol / sin(井斜)：
默认值下在 3 度时为 9.6</source>
        <translation>azimuth spread, 0 to 360 (default 2); 359 and 1 are 2 apart. At a low
inclination a small turn of the hole swings the azimuth far, so the limit
widens there to --inc-tol / sin(inclination): 9.6 at 3 degrees by default</translation>
    </message>
    <message>
        <source>总加速度极差，单位 g，0 到 10（默认 0.005）</source>
        <translation>total gravity spread in g, 0 to 10 (default 0.005)</translation>
    </message>
    <message>
        <source>总磁场极差，探管单位，0 到 1000000（默认 0.005）</source>
        <translation>total field spread in probe units, 0 to 1000000 (default 0.005)</translation>
    </message>
    <message>
        <source>最短的停留，从其第一个测点到最后一个测点，0 到 86400 秒
（默认 60）；一个停留至少有两个测点</source>
        <translation>the shortest stop, from its first shot to its last, 0 to 86400
seconds (default 60); a stop holds at least two shots</translation>
    </message>
    <message>
        <source>井斜小于此值的测点不计方位（接近垂直时方位没有意义，不应
使停留中断），0 到 180（默认 2）</source>
        <translation>the azimuth of a shot inclined less than this is left out (near
vertical it means nothing and must not part a stop), 0 to 180 (default 2)</translation>
    </message>
    <message>
        <source>找出多点测量的测站：即停留，其间相邻各次测量的井斜、方位、总加速度和总磁场
都在下列限值之内（停留中最大值减最小值），且至少持续最短时间。测量数据中的
每个测点都参与，无论是否显示，按测点顺序（探管测量的顺序）；测点的时间为表格的
时间列（启动延时，然后每个测点一个间隔）。有非数值的测点不属于任何停留。每个
停留中离其中值最近的测点（各量以各自的限值衡量）作为代表。
每个停留一行（序号、测点 首-末、测点数、开始和结束时间、持续秒数、代表测点、
井斜、方位、总加速度、总磁场的中值，然后是它们的极差；不比较的方位为 &apos;-&apos;），
最后是汇总。
</source>
        <translation>Finds the stations of a multi-shot run: the stops, where consecutive shots keep their
inclination, azimuth, total gravity and total field within the limits below (largest minus
smallest value over the stop) for at least the shortest duration. Every point of the survey
is looked at, shown or not, in point order (the order the probe took them); a shot&apos;s time is
the table&apos;s time column (the start delay, then one interval per shot). A shot with a value
that is not a number belongs to no stop. Of each stop the shot nearest the stop&apos;s medians
(each quantity measured in its own limit) represents it.
One line per stop (number, points first-last, shots, start and end time, duration in
seconds, representative point, median inclination, azimuth, total gravity, total field,
then their spreads; &apos;-&apos; for an azimuth not compared), then a summary.
</translation>
    </message>
    <message>
        <source>@out-rule@
示例：zolm-cli stations well7.ZLM --apply
</source>
        <translation>@out-rule@
Example: zolm-cli stations well7.ZLM --apply
</translation>
    </message>
    <message>
        <source>%1 和 %2</source>
        <translation>%1 and %2</translation>
    </message>
    <message>
        <source>、</source>
        <comment>between the items of a list</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>stations：%1</source>
        <translation>stations: %1</translation>
    </message>
    <message>
        <source>无法保存导出格式：设置文件 %1 无法写入。</source>
        <translation>Cannot store the export format: the settings file %1 cannot be written.</translation>
    </message>
    <message>
        <source>report：表格中没有第 %1 行（共 %2 行）</source>
        <translation>report: the table has no row %1 (rows: %2)</translation>
    </message>
    <message>
        <source>report：没有第 %1 页（共 %2 页）</source>
        <translation>report: no page %1 (pages: %2)</translation>
    </message>
    <message>
        <source>edit：--tally-window 必须在 0 到 %1 秒之间</source>
        <translation>edit: --tally-window must lie between 0 and %1 seconds</translation>
    </message>
    <message>
        <source>无法保存设置：%1</source>
        <translation>Cannot store the settings: %1</translation>
    </message>
</context>
<context>
    <name>zolm-probe-sim</name>
    <message>
        <source>用法：zolm-probe-sim [--survey FILE.ZLM | --points N | RUN OPTION...] [--battery R]
                     [--line-rate BAUD] [--link PATH] [--fault FAULT]... [--save FILE.ZLM]
                     [--save-tally FILE]
      zolm-probe-sim --help | --version
测量过程选项：--direction in|out  --td M  --kickoff M  --build DEG  --hold DEG  --azimuth DEG
             --course M  --stop S  --speed M/S  --trip-speed M/S  --lat DEG  --lon DEG
             --height M  --date YYYY-MM-DD  --field-scale X  --noise X  --vibration G
             --delay S  --interval S  --seed N
故障：silent-after:N  silent-at:LETTER:K  split  noise  readback-mismatch  drop-stream
      flip:LETTER:K:BYTE:BIT  flip-rate:P[:SEED]  wire-flip-rate:P[:SEED]  stale-block:K
      short:LETTER:K  long:LETTER:K
</source>
        <translation>usage: zolm-probe-sim [--survey FILE.ZLM | --points N | RUN OPTION...] [--battery R]
                      [--line-rate BAUD] [--link PATH] [--fault FAULT]... [--save FILE.ZLM]
                      [--save-tally FILE]
       zolm-probe-sim --help | --version
run options: --direction in|out  --td M  --kickoff M  --build DEG  --hold DEG  --azimuth DEG
             --course M  --stop S  --speed M/S  --trip-speed M/S  --lat DEG  --lon DEG
             --height M  --date YYYY-MM-DD  --field-scale X  --noise X  --vibration G
             --delay S  --interval S  --seed N
faults: silent-after:N  silent-at:LETTER:K  split  noise  readback-mismatch  drop-stream
        flip:LETTER:K:BYTE:BIT  flip-rate:P[:SEED]  wire-flip-rate:P[:SEED]  stale-block:K
        short:LETTER:K  long:LETTER:K
</translation>
    </message>
    <message>
        <source>
伪终端上的虚拟探管：第一行显示终端的路径，然后像探管一样应答，直到收到 SIGINT
或 SIGTERM。

  --survey FILE.ZLM  探管装有该文件的测量数据和标定数据
  --points N         按已知井眼轨迹合成的 N 个测点的测量数据（0 到 1818）
  --battery R        电池读数，0 到 65535
  --line-rate BAUD   按该速率的真实线路的节奏应答
  --link PATH        指向该终端的符号链接
  --fault FAULT      测试用的故障（见上）；可以重复
  --save FILE.ZLM    把读出的结果写成文件，然后退出
  --save-tally FILE  写出本次测量过程的井深记录（见下），然后继续

真实的多点测量过程，未给出 --survey 或 --points 时采用：探管沿井眼轨迹下入（或
起出），造斜点以上垂直，然后以恒定的造斜率增斜并稳斜，真方位不变。每隔一个测段
长度在测站停留一段时间，测站之间移动（加速度计晃动，工具面转动），并通过其标定
数据感受井场的地磁场（世界地磁模型）：测得的方位是磁方位。按探管存储器中的设置，
从启动延时起每隔一个间隔测量一次，直到探管回到地面或存储器（1818 个测点）已满。
相同的选项给出逐字节相同的测量数据。
  --direction in|out  out（默认）：不停留下到井底，起出时测量；in：下入时测量，
                      不停留起出
  --td M              最深测站的测深，1 到 10000（默认 1500）
  --kickoff M         垂直下到该深度，0 到 10000（默认 300）
  --build DEG         造斜点以下的造斜率，度/30 米，0.01 到 30（默认 2.5）
  --hold DEG          造斜后保持的井斜，0 到 90（默认 30）
  --azimuth DEG       造斜和稳斜段的真方位，0 到 360（默认 45）
  --course M          测站间距，单位米，1 到 1000（默认 30）；测站位于其各整数倍
                      直到最深处，以及 --td 本身
  --stop S            在每个测站停留的秒数，0 到 36000（默认 120）；每次停留像井队
                      计时那样最多长出四分之一，第一次停留一直持续到启动延时结束
  --speed M/S         测站之间的速度，0.01 到 10（默认 0.5）
  --trip-speed M/S    不停留起下钻的速度，0.01 到 10（默认 2）
  --lat DEG --lon DEG --height M --date YYYY-MM-DD
                      井场（默认 38.71、116.10、0、2026-05-20）：总磁场、磁倾角和
                      磁偏角取自 2020 到 2029 年的地磁模型
  --field-scale X     磁力计的单位与高斯之比，0.5 到 2（默认 1.01：标定磁场系数之前，
                      该探管测得的磁场偏高 1 %）
  --noise X           传感器噪声，各轴的标准差，以满量程为单位，0 到 0.1
                      （默认 0.0003）
  --vibration G       探管移动时加速度计的振动，各轴的标准差，单位 g，0 到 2
                      （默认 0.05）
  --delay S           探管的启动延时，0 到 65535 秒（默认 600）
  --interval S        探管的采样间隔，1 到 255 秒（默认 10）
  --seed N            噪声、转动和停留时长的随机种子（默认 1）
井深记录按到达的顺序每个测站一行，&quot;HH:MM:SS DEPTH&quot;：停留中点的时间，为探管启动后
的时间（表格的时间列），以及测站的测深，单位米；以 # 开头的行是注释。
环境变量 ZOLM_SIM_RUN 设置时，zolm-cli 和 zolm 的通讯口 SIM 装有这样的测量过程：
&quot;default&quot;，或去掉短横线的测量过程选项，写成 NAME=VALUE，以逗号分隔
（ZOLM_SIM_RUN=seed=2,direction=in）。

故障：请求从 0 起计数，对所有字母（silent-after）或按字母分别计数
（silent-at:LETTER:K，该字母的第 K 个请求不应答）。split 逐字节写出应答，noise
在应答前加入杂散字节，readback-mismatch 使 W 保存另一个间隔，drop-stream 不应答 A。
线路故障损坏而不是丢失数据；应答仍是格式正确的帧。K 为该字母的应答计数，从 0
开始（实时数据的采样是 @ 应答）：
  flip:LETTER:K:BYTE:BIT   翻转第 K 个应答的一位（BIT 为 0 到 7）；BYTE 从字母起计数
                           （0 为字母本身）
  flip-rate:P[:SEED]       以概率 P 翻转每个应答字母之后的每一位；SEED（默认 1）
                           使结果可重复
  wire-flip-rate:P[:SEED]  以概率 P 翻转线路上的每一位，双向，包括标记、转义和请求
  stale-block:K            第 K 个 B 请求得到所请求块的前一块的数据（块 0 得到块 1
                           的），但块号不变
  short:LETTER:K           第 K 个应答短一个字节
  long:LETTER:K            第 K 个应答长一个字节（0x00）

示例：zolm-probe-sim --points 50 --link /tmp/probe &amp;
      zolm-cli read --port /tmp/probe -o s.ZLM
      zolm-probe-sim --direction in --seed 7 --save run.ZLM --save-tally run.txt
</source>
        <translation>
A virtual probe on a pseudo-terminal: prints the terminal&apos;s path as its first line, then
answers as a probe until SIGINT or SIGTERM.

  --survey FILE.ZLM  the probe holds that document&apos;s survey and calibration
  --points N         a synthetic survey of N points (0 to 1818) from a known well path
  --battery R        the battery reading, 0 to 65535
  --line-rate BAUD   paces the answers as a real line of that rate would
  --link PATH        a symbolic link to the terminal
  --fault FAULT      a fault for tests (above); may be repeated
  --save FILE.ZLM    writes what a read would produce as a document, and exits
  --save-tally FILE  writes the driller&apos;s tally of the run (below) and goes on

A realistic multi-shot run, held unless --survey or --points is given: the probe is lowered (or
pulled) along a well path, vertical down to the kick-off, then building at a constant rate
and holding its inclination, in one true azimuth. It rests at a station every course
length for a while and moves between them (the accelerometers shake, the toolface turns),
and sees the Earth&apos;s field of a site (World Magnetic Model) through its calibration: the
azimuth it measures is magnetic. Shots are taken from the start delay on, every interval,
as the probe&apos;s settings in its memory say, until the probe is back at the surface or its
memory (1818 shots) is full. The same options give the same survey, byte for byte.
  --direction in|out  out (default): lowered to the bottom without stops, surveyed while
                      pulled out; in: surveyed while lowered, pulled out without stops
  --td M              measured depth of the deepest station, 1 to 10000 (default 1500)
  --kickoff M         vertical down to this depth, 0 to 10000 (default 300)
  --build DEG         build rate below the kick-off, degrees per 30 m, 0.01 to 30 (default 2.5)
  --hold DEG          inclination held after the build, 0 to 90 (default 30)
  --azimuth DEG       true azimuth of the build and hold, 0 to 360 (default 45)
  --course M          metres between stations, 1 to 1000 (default 30); stations lie at
                      every multiple of it down to the deepest, and at --td itself
  --stop S            seconds at each station, 0 to 36000 (default 120); each stop lasts
                      up to a quarter longer, as a crew times it, and the first lasts
                      until the start delay has passed
  --speed M/S         speed between stations, 0.01 to 10 (default 0.5)
  --trip-speed M/S    speed of the trip without stops, 0.01 to 10 (default 2)
  --lat DEG --lon DEG --height M --date YYYY-MM-DD
                      the site (default 38.71, 116.10, 0, 2026-05-20): total field, dip
                      and declination from the model for 2020 to 2029
  --field-scale X     the magnetometers&apos; units per gauss, 0.5 to 2 (default 1.01: this
                      probe reads the field 1 % high until its field scale is calibrated)
  --noise X           sensor noise, standard deviation per axis in full-scale units,
                      0 to 0.1 (default 0.0003)
  --vibration G       accelerometer vibration while the probe moves, standard deviation
                      per axis in g, 0 to 2 (default 0.05)
  --delay S           the probe&apos;s start delay, 0 to 65535 seconds (default 600)
  --interval S        the probe&apos;s sampling interval, 1 to 255 seconds (default 10)
  --seed N            the noise, the turns and the stops&apos; lengths (default 1)
The tally has a line per station in the order visited, &quot;HH:MM:SS DEPTH&quot;: the middle of
the stop as time since the probe started (the table&apos;s time column), and the station&apos;s
measured depth in metres; lines starting with # are comments.
The port SIM of zolm-cli and zolm holds such a run when the environment variable
ZOLM_SIM_RUN is set: &quot;default&quot;, or the run options without their dashes as NAME=VALUE,
separated by commas (ZOLM_SIM_RUN=seed=2,direction=in).

Faults: requests are counted from 0 over all letters (silent-after) or per letter
(silent-at:LETTER:K, the K-th request of that letter gets no answer). split writes answers
a byte at a time, noise puts stray bytes before them, readback-mismatch makes W store another
interval, drop-stream leaves A unanswered.
Line faults corrupt rather than drop; answers stay well-formed frames. K counts answers of
that letter from 0 (the stream&apos;s samples are @ answers):
  flip:LETTER:K:BYTE:BIT   flips one bit (0 to 7) of the K-th answer; BYTE counts the body
                           from its letter (0 is the letter)
  flip-rate:P[:SEED]       flips each bit of every answer after its letter with
                           probability P; SEED (default 1) makes it repeatable
  wire-flip-rate:P[:SEED]  flips each bit on the line with probability P, both ways,
                           markers, escapes and requests included
  stale-block:K            the K-th B request gets the data of the block before the one
                           asked (block 0: block 1&apos;s) under its own block number
  short:LETTER:K           the K-th answer one byte shorter
  long:LETTER:K            the K-th answer one byte longer (0x00)

Example: zolm-probe-sim --points 50 --link /tmp/probe &amp;
         zolm-cli read --port /tmp/probe -o s.ZLM
         zolm-probe-sim --direction in --seed 7 --save run.ZLM --save-tally run.txt
</translation>
    </message>
    <message>
        <source>zolm-probe-sim：%1
</source>
        <translation>zolm-probe-sim: %1
</translation>
    </message>
    <message>
        <source>探管中没有以前采集的数据。
</source>
        <translation>The probe holds no survey taken before.
</translation>
    </message>
    <message>
        <source>--points 需要 0 到 1818 的测点数</source>
        <translation>--points needs a count from 0 to 1818</translation>
    </message>
    <message>
        <source>--survey 需要一个文件</source>
        <translation>--survey needs a file</translation>
    </message>
    <message>
        <source>--battery 需要 0 到 65535 的读数</source>
        <translation>--battery needs a reading from 0 to 65535</translation>
    </message>
    <message>
        <source>--line-rate 需要一个波特率</source>
        <translation>--line-rate needs a baud rate</translation>
    </message>
    <message>
        <source>--link 需要一个路径</source>
        <translation>--link needs a path</translation>
    </message>
    <message>
        <source>--fault 需要一个故障</source>
        <translation>--fault needs a fault</translation>
    </message>
    <message>
        <source>--save 需要一个文件</source>
        <translation>--save needs a file</translation>
    </message>
    <message>
        <source>--save-tally 需要一个文件</source>
        <translation>--save-tally needs a file</translation>
    </message>
    <message>
        <source>%1 需要一个值</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>未知的选项 %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>--survey 和 --points 只能选一个</source>
        <translation>--survey and --points exclude each other</translation>
    </message>
    <message>
        <source>测量过程选项或 --save-tally 不能与 --survey 或 --points 一起用</source>
        <translation>a run option or --save-tally excludes --survey and --points</translation>
    </message>
    <message>
        <source>zolm-probe-sim：%1 次测量后存储器已满；测量过程的最后 %2 次测量未保存
</source>
        <translation>zolm-probe-sim: the memory is full after %1 shots; the last %2 shots of the run are not stored
</translation>
    </message>
    <message>
        <source>--%1 的值有误：应为 %2</source>
        <translation>bad value for --%1: expected %2</translation>
    </message>
    <message>
        <source>0 到 10000 米</source>
        <translation>metres from 0 to 10000</translation>
    </message>
    <message>
        <source>0.01 到 30 度/30 米</source>
        <translation>degrees per 30 m from 0.01 to 30</translation>
    </message>
    <message>
        <source>0 到 90 度</source>
        <translation>degrees from 0 to 90</translation>
    </message>
    <message>
        <source>0 到 360 度</source>
        <translation>degrees from 0 to 360</translation>
    </message>
    <message>
        <source>1 到 10000 米</source>
        <translation>metres from 1 to 10000</translation>
    </message>
    <message>
        <source>1 到 1000 米</source>
        <translation>metres from 1 to 1000</translation>
    </message>
    <message>
        <source>0 到 36000 的整秒数</source>
        <translation>whole seconds from 0 to 36000</translation>
    </message>
    <message>
        <source>0.01 到 10 米/秒</source>
        <translation>metres per second from 0.01 to 10</translation>
    </message>
    <message>
        <source>in 或 out</source>
        <translation>in or out</translation>
    </message>
    <message>
        <source>-89.9 到 89.9 度</source>
        <translation>degrees from -89.9 to 89.9</translation>
    </message>
    <message>
        <source>-180 到 360 度</source>
        <translation>degrees from -180 to 360</translation>
    </message>
    <message>
        <source>-1000 到 10000 米</source>
        <translation>metres from -1000 to 10000</translation>
    </message>
    <message>
        <source>2020-01-01 到 2029-12-31 之间的日期 YYYY-MM-DD</source>
        <translation>a date YYYY-MM-DD from 2020-01-01 to 2029-12-31</translation>
    </message>
    <message>
        <source>0.5 到 2 的系数</source>
        <translation>a scale from 0.5 to 2</translation>
    </message>
    <message>
        <source>0 到 0.1 的标准差</source>
        <translation>a standard deviation from 0 to 0.1</translation>
    </message>
    <message>
        <source>0 到 2 g 的标准差</source>
        <translation>a standard deviation in g from 0 to 2</translation>
    </message>
    <message>
        <source>0 到 65535 的整秒数</source>
        <translation>whole seconds from 0 to 65535</translation>
    </message>
    <message>
        <source>1 到 255 的整秒数</source>
        <translation>whole seconds from 1 to 255</translation>
    </message>
    <message>
        <source>0 到 18446744073709551615 的整数</source>
        <translation>a whole number from 0 to 18446744073709551615</translation>
    </message>
    <message>
        <source>未知的选项 --%1</source>
        <translation>unknown option --%1</translation>
    </message>
    <message>
        <source>故障“%1”有误：%2</source>
        <translation>bad fault &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>应为 silent-after:N</source>
        <translation>expected silent-after:N</translation>
    </message>
    <message>
        <source>应为 silent-at:LETTER:K</source>
        <translation>expected silent-at:LETTER:K</translation>
    </message>
    <message>
        <source>应为 flip:LETTER:K:BYTE:BIT（BIT 为 0 到 7）</source>
        <translation>expected flip:LETTER:K:BYTE:BIT (BIT 0 to 7)</translation>
    </message>
    <message>
        <source>应为 flip-rate:P[:SEED]（P 为 0 到 1）</source>
        <translation>expected flip-rate:P[:SEED] (P from 0 to 1)</translation>
    </message>
    <message>
        <source>应为 wire-flip-rate:P[:SEED]（P 为 0 到 1）</source>
        <translation>expected wire-flip-rate:P[:SEED] (P from 0 to 1)</translation>
    </message>
    <message>
        <source>应为 stale-block:K</source>
        <translation>expected stale-block:K</translation>
    </message>
    <message>
        <source>应为 short:LETTER:K</source>
        <translation>expected short:LETTER:K</translation>
    </message>
    <message>
        <source>应为 long:LETTER:K</source>
        <translation>expected long:LETTER:K</translation>
    </message>
    <message>
        <source>未知的故障</source>
        <translation>unknown fault</translation>
    </message>
    <message>
        <source>应为 NAME=VALUE，而不是“%1”</source>
        <translation>expected NAME=VALUE, got &quot;%1&quot;</translation>
    </message>
    <message>
        <source>合成的测量数据有 0 到 %1 个测点</source>
        <translation>a synthetic survey holds 0 to %1 points</translation>
    </message>
    <message>
        <source>%1 已存在，且不是符号链接</source>
        <translation>%1 exists and is not a symlink</translation>
    </message>
    <message>
        <source>虚拟探管需要伪终端，本系统没有</source>
        <translation>the virtual probe needs a pseudo-terminal, which this system does not have</translation>
    </message>
</context>
</TS>
