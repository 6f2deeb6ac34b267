// Every zolm-cli command declared once: its usage line, what it does, each option it takes with
// the number of its values and its help, and what it assumes. Args parses from this (a command
// reads no option that is not declared here), and the help, the command list and the manual
// page are printed from it. The trajectory's format switches come from its formats' table.
#include "cli/cli.h"
#include "cli/help.h"

#include "output/trajectory_formats.h"

#include <QCoreApplication>
#include <QStringList>

namespace zolm::cli {

namespace {

// Stands for the trajectory formats' switches, one per format, in the formats' order.
constexpr DeclaredOption FormatSwitches{nullptr, 0, nullptr, nullptr};

// A shared option with a line one command adds under its help.
constexpr DeclaredOption withLine(DeclaredOption option, const char *line)
{
    option.more = line;
    return option;
}

// Options several commands take, each with its one help. --mode and --reverse: the table's rows
// as the display-mode and order commands leave them.
constexpr DeclaredOption Mode{"--mode", 1, "all|hide-checked|only-checked",
                              QT_TRANSLATE_NOOP("zolm-cli", "\n"
                                                            "表格显示哪些行，同显示方式按钮（默认 all）")};
constexpr DeclaredOption Reverse{"--reverse", 0, nullptr, QT_TRANSLATE_NOOP("zolm-cli", "各行按测点号从大到小排列")};
constexpr DeclaredOption Port{"--port", 1, "PORT",
                              QT_TRANSLATE_NOOP("zolm-cli", "串口设备（/dev/ttyUSB0），SIM 为内置虚拟探管，SIM:FILE.ZLM 为\n"
                                                            "装有该文件测量数据的虚拟探管；默认为保存的通讯口（见 set-port）；\n"
                                                            "尚未保存时，Windows 上为 COM1，其他系统上为第一个 USB 串口\n"
                                                            "（先 ttyUSB*，后 ttyACM*）")};
constexpr DeclaredOption Quiet{"--quiet", 0, nullptr, QT_TRANSLATE_NOOP("zolm-cli", "不显示进度条（只在 stderr 为终端时才在 stderr 上显示）")};
constexpr DeclaredOption FieldScale{"--field-scale", 1, "X",
                                    QT_TRANSLATE_NOOP("zolm-cli", "本次判断所用的探管磁场单位与高斯之比（大于 0）：质量检查把\n"
                                                                  "总磁场与井场地磁模型的总磁场乘以 X 相比较。默认：测量数据井场中\n"
                                                                  "保存的系数，否则为本机为该探管编号记录的系数\n"
                                                                  "（site --calibrate-field-scale），否则为 1")};
constexpr DeclaredOption DogLegLimit{"--dls-limit", 1, "DEG",
                                     QT_TRANSLATE_NOOP("zolm-cli", "狗腿度超过此值的测点给出警告，单位为度/30 米（大于 0，不超过\n"
                                                                   "180）。默认：测量数据的井场（site --dls-limit），否则为 3")};

// show
constexpr DeclaredOption ShowOptions[] = {
    {"--json", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "一个 JSON 对象：probeType、firstSampleTime、interval、pointCount、\n"
                                   "crew、well、declination 和 rows [{row, point, checked, time, depth,\n"
                                   "flags, values[20]}]；不是有限数的值为 null")},
    Mode,
    Reverse};
constexpr CommandHelp ShowCommand{"show", "FILE [--json] [--mode MODE] [--reverse]",
    QT_TRANSLATE_NOOP("zolm-cli", "显示测量数据表格：先是标题行，然后每行一条，以制表符分隔：选择状态（[x] 或\n"
                                  "[ ]）和表格的各列（序号、时间、测深、井斜、磁方位、重力工具面、磁性工具面、\n"
                                  "磁倾角、探管温度、总加速度、总磁场），与表格中显示的完全一样。行号按显示顺序\n"
                                  "从 0 开始；一行的测点号是它在探管存储器中的序号（--depth 和 --tick 用的就是它）。\n"),
    ShowOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "@open-rule@\n"
                                  "示例：zolm-cli show well7.ZLM --mode only-checked\n")};

// export
constexpr DeclaredOption ExportOptions[] = {
    {"-o", 1, "OUT", QT_TRANSLATE_NOOP("zolm-cli", "写到哪里")},
    Mode,
    Reverse};
constexpr CommandHelp ExportCommand{"export", "FILE -o OUT [--mode MODE] [--reverse]",
    QT_TRANSLATE_NOOP("zolm-cli", "按保存的导出格式（见 export-format）把表格各行写成分隔文本，与导出对话框的\n"
                                  "结果相同，但不弹出对话框。文字为 GBK 编码，行尾为 CRLF。真方位 = 磁方位 +\n"
                                  "文件的磁偏角。\n"),
    ExportOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "@out-rule@@open-rule@\n"
                                  "示例：zolm-cli export well7.ZLM -o well7.txt\n")};

// export-format
constexpr const char *TitleLine = QT_TRANSLATE_NOOP("zolm-cli", "第一行是否为标题行");
constexpr const char *Separator = QT_TRANSLATE_NOOP("zolm-cli", "字段分隔符");
constexpr DeclaredOption ExportFormatOptions[] = {
    {"--title", 0, nullptr, TitleLine},
    {"--no-title", 0, nullptr, TitleLine},
    {"--space", 0, nullptr, Separator},
    {"--comma", 0, nullptr, Separator},
    {"--columns", 1, "L1,L2,...",
     QT_TRANSLATE_NOOP("zolm-cli", "依次选择的各列；值为空则一列也不选。每一项可以是中文标签，\n"
                                   "也可以是英文名称：\n"
                                   "@export-item-names@")},
    {"--set", 1, "LABEL=POS",
     QT_TRANSLATE_NOOP("zolm-cli", "按给定值保存该项的位置（32 位有符号数），在 --columns 之后\n"
                                   "进行")}};
constexpr CommandHelp ExportFormatCommand{"export-format", "[--title | --no-title] [--space | --comma] [--columns L1,L2,...] [--set LABEL=POS]...",
    QT_TRANSLATE_NOOP("zolm-cli", "不带选项时显示保存的导出格式：'title: yes|no'、'separator: space|comma'，然后每项\n"
                                  "一行 'LABEL POS'。带选项时像导出对话框的“确定”一样保存格式。\n"),
    ExportFormatOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "示例：zolm-cli export-format --comma --columns depth,inclination,azimuth\n"), 24};

// report
constexpr DeclaredOption ReportOptions[] = {
    {"--layout", 1, "L",
     QT_TRANSLATE_NOOP("zolm-cli", "multi（每页多个测点，横向；默认）、single（单个测点，横向）或\n"
                                   "economy（纵向）")},
    {"--row", 1, "R", QT_TRANSLATE_NOOP("zolm-cli", "单点格式所用的行，从 0 开始（默认 0）")},
    {"-o", 1, "OUT.pdf", QT_TRANSLATE_NOOP("zolm-cli", "PDF 文件；绘图区距纸张边角 1/4 英寸")},
    {"--ops", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "绘图操作列表：'pages N'，然后每页 'page P'、'logo X Y'、\n"
                                   "'text X Y TEXT'、'line X1 Y1 X2 Y2'，单位为设备单位")},
    {"--dpi", 1, "X[,Y]", QT_TRANSLATE_NOOP("zolm-cli", "--ops 的分辨率，1 到 100000（默认 600）")},
    {"--page", 1, "P", QT_TRANSLATE_NOOP("zolm-cli", "--ops 只列出第 P 页（从 1 开始）")},
    Mode,
    Reverse};
constexpr CommandHelp ReportCommand{"report", "FILE [--layout multi|single|economy] [--row R] [--mode MODE] [--reverse]\n"
                                              "       (-o OUT.pdf | --ops [--dpi X[,Y]] [--page P])",
    QT_TRANSLATE_NOOP("zolm-cli", "绘制表格各行的打印报表：生成 A4 的 PDF 页面，或列出其绘图操作。\n"),
    ReportOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "@out-rule@@open-rule@\n"
                                  "示例：zolm-cli report well7.ZLM --layout economy -o well7.pdf\n")};

// edit
constexpr const char *TickList = QT_TRANSLATE_NOOP("zolm-cli", "选择或取消所列的测点：测点号和范围，如\n"
                                                               "3,5,10-20");
constexpr DeclaredOption EditOptions[] = {
    {"-o", 1, "OUT", QT_TRANSLATE_NOOP("zolm-cli", "保存到该文件，而不覆盖 FILE")},
    {"--force", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "即使 FILE 不是完整的测量数据（见下文）也覆盖它，并允许\n"
                                   "--auto-depth 和 --tally 覆盖以前输入的井深")},
    {"--crew", 1, "T", QT_TRANSLATE_NOOP("zolm-cli", "井队编号，最多 14 个 GBK 字节（一个汉字占两个字节）")},
    {"--well", 1, "T", QT_TRANSLATE_NOOP("zolm-cli", "井号，最多 14 个 GBK 字节；GBK 无法表示的文字会被拒绝")},
    {"--declination", 1, "D", QT_TRANSLATE_NOOP("zolm-cli", "磁偏角，单位为度，-360 到 360")},
    {"--check", 1, "all|none|invert", QT_TRANSLATE_NOOP("zolm-cli", "显示的测点的选择标记")},
    {"--tick", 1, "LIST", TickList},
    {"--untick", 1, "LIST", TickList},
    {"--auto-depth", 2, "START LENGTH",
     QT_TRANSLATE_NOOP("zolm-cli", "为选择的测点自动生成井深：第一个选择的测点为\n"
                                   "START（30 到 9999），以后每个测点按 LENGTH（0.1 到 500）递减，\n"
                                   "按测点顺序（即测量时间的顺序，而不是 --reverse 的顺序），直到井深\n"
                                   "小于 0 为止：适用于起钻时测量的数据。若会覆盖某个选择的测点以前\n"
                                   "输入的井深，则拒绝执行（状态 1，列出这些测点），除非给出 --force")},
    {"--up", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "与 --auto-depth 一起用：从 START 起递增，直到井深超过 9999.99：\n"
                                   "适用于下钻时测量的数据")},
    {"--depth", 1, "POINT=METRES",
     QT_TRANSLATE_NOOP("zolm-cli", "一个测点的井深，0 到 9999.99；POINT 是测点号（从 0\n"
                                   "开始，即 'show --json' 给出的），不是 'show' 的行号")},
    {"--declination-from-site", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "磁偏角取 FILE 的井场和日期（见 site）下世界地磁\n"
                                   "模型的值，并经过同样的范围检查；FILE 没有井场时拒绝（状态 1）")},
    {"--tally", 1, "TALLY",
     QT_TRANSLATE_NOOP("zolm-cli", "从井深记录取井深：文本文件，每行一个测点，'TIME DEPTH'，以空格、\n"
                                   "制表符或逗号分隔；'#' 开始注释。TIME 为 HH:MM 或 HH:MM:SS：井场\n"
                                   "设有探管启动时间时（site --start-time；早于上一行的时间算作第二天）\n"
                                   "为钟表时间，否则为探管启动后的时间（show 的时间列；小时数可超过\n"
                                   "24）。DEPTH 单位为米，0.01 到 9999.99。停留按 stations 的方法找出；\n"
                                   "每行对应到其时间落在停留范围内的停留，否则对应到窗口内最近的停留。\n"
                                   "停留的井深填给它的代表测点（若已选择），否则填给离它最近的已选择\n"
                                   "测点，否则填给代表测点。找不到停留的行，以及对应到同一停留的各行，\n"
                                   "在 stderr 上列出，不填入井深；其余的行照常填入。不是井深记录格式的\n"
                                   "行使命令失败（状态 1，不写入任何内容）。以前输入的井深只有加\n"
                                   "--force 才会被覆盖")},
    {"--tally-window", 1, "SECONDS",
     QT_TRANSLATE_NOOP("zolm-cli", "井深记录的时间最多可以在停留之外多少秒，0 到 86400\n"
                                   "（默认 120）")}};
constexpr CommandHelp EditCommand{"edit", "FILE [-o OUT] [--force] [--crew T] [--well T] [--declination D]\n"
                                          "       [--check all|none|invert] [--tick LIST] [--untick LIST]\n"
                                          "       [--auto-depth START LENGTH [--up]] [--depth POINT=METRES]... [--declination-from-site]\n"
                                          "       [--tally TALLY [--tally-window SECONDS]]",
    QT_TRANSLATE_NOOP("zolm-cli", "按给出的顺序进行各项修改，检查和提示与对话框相同，然后保存文件（保存到 OUT，\n"
                                  "或写回 FILE）。没有修改时原样保存。第一项被拒绝的修改显示其提示并以状态 1\n"
                                  "退出，不写入任何内容。\n"),
    EditOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "@out-rule@没有 -o 时，不是完整测量数据的 FILE（长度不是 25132 + 30*N 字节，旧格式不是\n"
                                  "5220 + 30*N 字节，N 为 0 到 1818：也许根本不是测量数据）不会被覆盖（状态 1），\n"
                                  "除非给出 --force。\n"
                                  "测量数据的井场随文件一起保存（见 site）；旧测量数据旁的 FILE.site 会移入保存的\n"
                                  "测量数据中。\n"
                                  "\n"
                                  "示例：zolm-cli edit well7.ZLM --well 7号井 --check none --tick 1-20 --auto-depth 600 30\n")};

// link-test
constexpr DeclaredOption LinkTestOptions[] = {
    Port};
constexpr CommandHelp LinkTestCommand{"link-test", "[--port PORT]",
    QT_TRANSLATE_NOOP("zolm-cli", "测试与探管的通讯，并显示探管的回答。\n"),
    LinkTestOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "示例：zolm-cli link-test --port /dev/ttyUSB0\n")};

// info
constexpr DeclaredOption InfoOptions[] = {
    Port,
    Quiet};
constexpr CommandHelp InfoCommand{"info", "[--port PORT] [--quiet]",
    QT_TRANSLATE_NOOP("zolm-cli", "读取探管信息，按信息对话框的各项每项一行显示 'LABEL: TEXT'（探管编号、类型、\n"
                                  "容量、存储的测点数、延时、间隔、电池）。\n"),
    InfoOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "示例：zolm-cli info --port SIM\n")};

// read
constexpr DeclaredOption ReadOptions[] = {
    Port,
    {"-o", 1, "FILE.ZLM", QT_TRANSLATE_NOOP("zolm-cli", "保存到哪里")},
    {"--single-pass", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "存储器只读一遍（约一半时间）；形状正确的回答中翻转的位或别的块的\n"
                                   "内容将无法发现")},
    Quiet};
constexpr CommandHelp ReadCommand{"read", "[--port PORT] -o FILE.ZLM [--single-pass] [--quiet]",
    QT_TRANSLATE_NOOP("zolm-cli", "读出探管中的测量数据并保存为文件。在第一次请求之前先检查 FILE.ZLM 能否写入；\n"
                                  "任何失败都不写入内容，已有的文件保持不变。若完整读出后文件无法写入，测量数据\n"
                                  "会保存到临时文件夹中的恢复文件，错误信息中给出其名称。探管中没有测点（或多于\n"
                                  "1818 个）时状态为 1。\n"
                                  "每个回答都经过检查（字母、长度、块号），不通过时重新请求，最多再请求 3 次；\n"
                                  "仍不通过则以数据错误结束。除非给出 --single-pass 或设置 VerifyRead 为 0，随后\n"
                                  "会把探管存储器再读一遍并比较：两次内容不同的块重读到两次一致为止（最多 5 次），\n"
                                  "否则读取失败。重读的块数显示在 stderr 上。\n"),
    ReadOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "@out-rule@\n"
                                  "示例：zolm-cli read --port /dev/ttyUSB0 -o well7.ZLM\n")};

// setup
constexpr DeclaredOption SetupOptions[] = {
    Port,
    {"--delay-min", 1, "M", QT_TRANSLATE_NOOP("zolm-cli", "延时分钟数，0 到 1000（默认：保存的值）")},
    {"--delay-sec", 1, "S", QT_TRANSLATE_NOOP("zolm-cli", "延时秒数，0 到 59；总延时至少 5 秒")},
    {"--interval", 1, "I", QT_TRANSLATE_NOOP("zolm-cli", "采样间隔秒数，1 到 255")},
    {"--yes", 0, nullptr, QT_TRANSLATE_NOOP("zolm-cli", "不询问，直接清除探管中的测量数据")},
    Quiet};
constexpr CommandHelp SetupCommand{"setup", "[--port PORT] [--delay-min M] [--delay-sec S] [--interval I] [--yes] [--quiet]",
    QT_TRANSLATE_NOOP("zolm-cli", "像设置对话框一样设置探管的启动延时和采样间隔；通过检查的值保存为新的默认值。\n"
                                  "设置探管会清除其中的测量数据：在终端上先询问；否则除非给出 --yes，拒绝执行\n"
                                  "（状态 1）。\n"),
    SetupOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "示例：zolm-cli setup --delay-min 10 --delay-sec 0 --interval 10 --yes\n")};

// live
constexpr DeclaredOption LiveOptions[] = {
    Port,
    {"--count", 1, "N", QT_TRANSLATE_NOOP("zolm-cli", "采样数")},
    Quiet};
constexpr CommandHelp LiveCommand{"live", "[--port PORT] [--count N] [--quiet]",
    QT_TRANSLATE_NOOP("zolm-cli", "启动探管的实时数据，每个采样显示一行：井斜、方位、重力工具面、磁性工具面、\n"
                                  "磁倾角、总加速度、总磁场、温度，每项为 'LABEL: VALUE'。N 行后停止（默认 10）。\n"
                                  "3 秒内没有采样时状态为 1。\n"),
    LiveOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "示例：zolm-cli live --port SIM --count 3\n")};

// ports
constexpr CommandHelp PortsCommand{"ports", "",
    QT_TRANSLATE_NOOP("zolm-cli", "列出系统中的串口（名称和说明）以及内置虚拟探管 SIM。\n"),
    {},
    QT_TRANSLATE_NOOP("zolm-cli", "示例：zolm-cli ports\n")};

// set-port
constexpr CommandHelp SetPortCommand{"set-port", "PORT",
    QT_TRANSLATE_NOOP("zolm-cli", "经过通讯口对话框的打开测试和提示后，把 PORT 保存为探管命令的默认通讯口（SIM\n"
                                  "不需要测试）。\n"),
    {},
    QT_TRANSLATE_NOOP("zolm-cli", "示例：zolm-cli set-port /dev/ttyUSB0\n")};

// geomag
constexpr DeclaredOption GeomagOptions[] = {
    {"--lat", 1, "DEG", QT_TRANSLATE_NOOP("zolm-cli", "纬度，-89.9 到 89.9（北为正）")},
    {"--lon", 1, "DEG", QT_TRANSLATE_NOOP("zolm-cli", "经度，-180 到 360（东为正）")},
    {"--height", 1, "M", QT_TRANSLATE_NOOP("zolm-cli", "WGS84 椭球面以上的高度，-1000 米到 850 千米（默认 0）")},
    {"--date", 1, "D", QT_TRANSLATE_NOOP("zolm-cli", "YYYY-MM-DD（默认：今天）")},
    {"--json", 0, nullptr, QT_TRANSLATE_NOOP("zolm-cli", "一个 JSON 对象，全精度")}};
constexpr CommandHelp GeomagCommand{"geomag", "--lat DEG --lon DEG [--height M] [--date YYYY-MM-DD] [--json]",
    QT_TRANSLATE_NOOP("zolm-cli", "按世界地磁模型（2020-2024 年用 WMM2020，2025-2029 年用 WMM2025）计算某地某日的\n"
                                  "地磁场：模型、小数年份、磁偏角和磁倾角（度，4 位小数），总强度、水平、北向、\n"
                                  "东向和垂直分量（nT）。\n"),
    GeomagOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "示例：zolm-cli geomag --lat 36.5 --lon 117.2 --date 2026-03-15\n")};

// site
constexpr const char *AsForGeomag = QT_TRANSLATE_NOOP("zolm-cli", "同 geomag");
constexpr const char *Up39Bytes = QT_TRANSLATE_NOOP("zolm-cli", "最多 39 个 GBK 字节\n"
                                                                "（一个汉字占两个字节）");
constexpr const char *Up23Bytes = QT_TRANSLATE_NOOP("zolm-cli", "井队/钻机、油田/区块、井唯一编号：最多 23 个字节");
constexpr const char *Up15Bytes = QT_TRANSLATE_NOOP("zolm-cli", "最多 15 个字节\n"
                                                                "这些是报告用的文字；T 为空则删除该项；GBK 无法表示的字符会被拒绝");
constexpr DeclaredOption SiteOptions[] = {
    {"--lat", 1, "DEG", AsForGeomag},
    {"--lon", 1, "DEG", AsForGeomag},
    {"--height", 1, "M", QT_TRANSLATE_NOOP("zolm-cli", "-1000 到 10000（默认 0）")},
    {"--date", 1, "D", QT_TRANSLATE_NOOP("zolm-cli", "测量日期，YYYY-MM-DD，须在地磁模型的有效期内")},
    {"--vs-azimuth", 1, "DEG", QT_TRANSLATE_NOOP("zolm-cli", "视平移方位")},
    {"--start-time", 1, "\"YYYY-MM-DD HH:MM:SS\"",
     QT_TRANSLATE_NOOP("zolm-cli", "探管启动时的钟表时间：之后井深记录按钟表\n"
                                   "时间计，轨迹窗口和报告显示每个测点的钟表时间；值为空则删除")},
    {"--dls-limit", 1, "DEG",
     QT_TRANSLATE_NOOP("zolm-cli", "警告所用的狗腿度限值（度/30 米，大于 0，不超过 180；默认 3）；\n"
                                   "值为空则删除")},
    {"--client", 1, "T", Up39Bytes},
    {"--company", 1, "T", Up39Bytes},
    {"--location", 1, "T", Up39Bytes},
    {"--service-company", 1, "T", Up39Bytes},
    {"--rig", 1, "T", Up23Bytes},
    {"--field", 1, "T", Up23Bytes},
    {"--uwi", 1, "T", Up23Bytes},
    {"--surveyor", 1, "T", Up15Bytes},
    {"--checked-by", 1, "T", Up15Bytes},
    {"--approved-by", 1, "T", Up15Bytes},
    {"--calibrate-field-scale", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "按本次测量数据设置井场的磁场标定系数：打勾测点（没有\n"
                                   "打勾时为显示的全部测点）总磁场的中值除以井场地磁模型的总磁场\n"
                                   "（高斯）。与 1 相差超过 5% 的系数被拒绝（状态 1，不写入任何内容），\n"
                                   "并给出原因。该系数还会在本机按测量数据的探管编号记录下来（设置\n"
                                   "FieldScale/NUMBER），该探管的下一次测量即从它开始；并显示\n"
                                   "calibrationShots、calibrationMeasured 和 calibrationModel")},
    {"--set-field-scale", 1, "X",
     QT_TRANSLATE_NOOP("zolm-cli", "把 X（大于 0）保存为井场的磁场标定系数，并同样为该探管\n"
                                   "记录")},
    FieldScale,
    {"--clear", 0, nullptr, QT_TRANSLATE_NOOP("zolm-cli", "删除井场（旁边的 FILE.site 也不再采用）")},
    {"-o", 1, "OUT", QT_TRANSLATE_NOOP("zolm-cli", "把测量数据保存到该文件，而不覆盖 FILE")},
    {"--force", 0, nullptr, QT_TRANSLATE_NOOP("zolm-cli", "即使 FILE 不是完整的测量数据也覆盖它（同 edit）")}};
constexpr CommandHelp SiteCommand{"site", "FILE [--lat DEG --lon DEG [--height M] --date YYYY-MM-DD] [--vs-azimuth DEG]\n"
                                          "       [--client T] [--company T] [--rig T] [--field T] [--location T]\n"
                                          "       [--service-company T] [--uwi T] [--surveyor T] [--checked-by T] [--approved-by T]\n"
                                          "       [--calibrate-field-scale | --set-field-scale X] [--field-scale X]\n"
                                          "       [--start-time \"YYYY-MM-DD HH:MM:SS\"] [--dls-limit DEG]\n"
                                          "       [-o OUT] [--force] | FILE --clear [-o OUT] [--force]",
    QT_TRANSLATE_NOOP("zolm-cli", "测量数据的井场，保存在测量数据文件之中（在文件格式未使用的文件头字节中：文件\n"
                                  "长度和其他各字节都不变，其他程序照旧读取测量数据）。没有井场的测量数据采用旁边\n"
                                  "的 FILE.site，即旧版本保存井场的地方；下次保存时把它移入测量数据，FILE.site\n"
                                  "保持不变。\n"
                                  "不带选项时显示井场及该处的模型地磁场（没有井场时状态为 1）：'name: value' 各行，\n"
                                  "依次为 latitude、longitude、height、date、verticalSectionAzimuth、fieldScale、\n"
                                  "dogLegLimit、probeStart、client、company、rig、field、location、serviceCompany、\n"
                                  "uwi、surveyor、checkedBy、approvedBy 中已设置的各项，然后是 model、declination、\n"
                                  "inclination、totalIntensity，然后是质量检查比较总磁场所用的值：qcFieldScale、\n"
                                  "qcFieldScaleSource（option、site、probe 或 default）和 qcTotalField（探管单位）。\n"
                                  "带 --lat、--lon 和 --date 时设置位置和日期（保存的井场的其他各项保持不变）；其他\n"
                                  "选项各修改井场的一项。修改或 --clear 像 edit 一样重写测量数据，并显示井场。\n"),
    SiteOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "@out-rule@\n"
                                  "示例：zolm-cli site well7.ZLM --lat 36.5 --lon 117.2 --date 2026-03-15 --client 第一采油厂\n")};

// qc
constexpr DeclaredOption QcOptions[] = {
    {"--g-tol", 1, "X", QT_TRANSLATE_NOOP("zolm-cli", "重力容差（默认 0.003）")},
    {"--b-tol", 1, "X", QT_TRANSLATE_NOOP("zolm-cli", "磁场容差，探管单位（默认 0.003）")},
    {"--dip-tol", 1, "DEG", QT_TRANSLATE_NOOP("zolm-cli", "磁倾角容差（默认 0.3）")},
    FieldScale,
    {"--no-site", 0, nullptr, QT_TRANSLATE_NOOP("zolm-cli", "即使有井场也用中值")},
    DogLegLimit,
    {"--json", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "一个 JSON 对象；其中 reference 给出所用的 fieldScale 及其\n"
                                   "fieldScaleSource（option、site、probe 或 default）")}};
constexpr CommandHelp QcCommand{"qc", "FILE [--json] [--g-tol X] [--b-tol X] [--dip-tol DEG] [--field-scale X] [--no-site]\n"
                                      "       [--dls-limit DEG]",
    QT_TRANSLATE_NOOP("zolm-cli", "把显示的每个测点的总加速度、总磁场和磁倾角与参考值比较：井场的地磁模型（重力\n"
                                  "为 1，磁场为探管单位），没有井场时为打勾测点的中值。每个测点一行（测点、\n"
                                  "pass/fail、G、dG、B、dB、磁倾角、磁倾角差、不合格项），最后是汇总。即使有测点\n"
                                  "不合格，退出状态也为 0。\n"),
    QcOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "\n"
                                  "@warnings-rule@\n"
                                  "示例：zolm-cli qc well7.ZLM\n")};

// trajectory
constexpr DeclaredOption TrajectoryOptions[] = {
    FormatSwitches,
    {"--meta", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "与 --csv 一起用：先以 '# key: value' 行给出井号、井场、磁偏角、\n"
                                   "地磁模型、磁场标定系数和连接点（即 LAS 文件的 ~Well 和 ~Parameter）")},
    {"-o", 1, "OUT", QT_TRANSLATE_NOOP("zolm-cli", "写到哪里（默认：标准输出）")},
    {"--vs-azimuth", 1, "DEG",
     QT_TRANSLATE_NOOP("zolm-cli", "视平移方位（默认：井场的视平移方位，否则为最后一个测点的\n"
                                   "闭合方位）")},
    {"--tie-in", 1, "MD,INC,AZI,TVD,N,E", QT_TRANSLATE_NOOP("zolm-cli", "连接点（默认全为 0）")},
    withLine(FieldScale, QT_TRANSLATE_NOOP("zolm-cli", "（用于报告中的质量检查结论；各种格式都接受）")),
    DogLegLimit};
constexpr CommandHelp TrajectoryCommand{"trajectory", "FILE [@formats@] [-o OUT] [--vs-azimuth DEG]\n"
                                                      "       [--tie-in MD,INC,AZI,TVD,N,E] [--field-scale X] [--dls-limit DEG]",
    QT_TRANSLATE_NOOP("zolm-cli", "按最小曲率法计算经过各测点的井眼轨迹：有井深的打勾测点，按井深排序；真方位 =\n"
                                  "磁方位 + 文件的磁偏角。每个测点一行：测点、测深、井斜、方位、垂深、北、东、\n"
                                  "视平移、狗腿度（度/30 米）。\n"),
    TrajectoryOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "@out-rule@@warnings-rule@\n"
                                  "示例：zolm-cli trajectory well7.ZLM --csv -o well7.csv\n")};

// stations
constexpr DeclaredOption StationsOptions[] = {
    {"--apply", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "选择每个停留的代表测点，取消其他所有测点（移动中的测量和停留中\n"
                                   "的其余测点），然后像 edit 一样保存；之后可以像其他选择一样修改。\n"
                                   "没有停留时不作修改（状态 1）")},
    {"-o", 1, "OUT", QT_TRANSLATE_NOOP("zolm-cli", "与 --apply 一起用：保存到该文件，而不覆盖 FILE")},
    {"--force", 0, nullptr, QT_TRANSLATE_NOOP("zolm-cli", "与 --apply 一起用：即使 FILE 不是完整的测量数据也覆盖它")},
    {"--json", 0, nullptr,
     QT_TRANSLATE_NOOP("zolm-cli", "一个 JSON 对象：tolerance、stops [{first, last, shots, start, end,\n"
                                   "duration, representative, inclination, azimuth, gtotal, btotal,\n"
                                   "spread {...}}]、summary {points, stops, resting, moving}")},
    {"--inc-tol", 1, "DEG", QT_TRANSLATE_NOOP("zolm-cli", "停留的井斜极差，0 到 180（默认 0.5）")},
    {"--azi-tol", 1, "DEG",
     QT_TRANSLATE_NOOP("zolm-cli", "方位极差，0 到 360（默认 2）；359 与 1 相差 2。井斜小时，井眼稍有\n"
                                   "转动方位就会大幅摆动，因此限值在该处放宽为 --inc-tol / sin(井斜)：\n"
                                   "默认值下在 3 度时为 9.6")},
    {"--g-tol", 1, "X", QT_TRANSLATE_NOOP("zolm-cli", "总加速度极差，单位 g，0 到 10（默认 0.005）")},
    {"--b-tol", 1, "X", QT_TRANSLATE_NOOP("zolm-cli", "总磁场极差，探管单位，0 到 1000000（默认 0.005）")},
    {"--min-duration", 1, "S",
     QT_TRANSLATE_NOOP("zolm-cli", "最短的停留，从其第一个测点到最后一个测点，0 到 86400 秒\n"
                                   "（默认 60）；一个停留至少有两个测点")},
    {"--azi-min-inc", 1, "DEG",
     QT_TRANSLATE_NOOP("zolm-cli", "井斜小于此值的测点不计方位（接近垂直时方位没有意义，不应\n"
                                   "使停留中断），0 到 180（默认 2）")}};
constexpr CommandHelp StationsCommand{"stations", "FILE [--apply [-o OUT] [--force]] [--json] [--inc-tol DEG] [--azi-tol DEG]\n"
                                                  "       [--g-tol X] [--b-tol X] [--min-duration S] [--azi-min-inc DEG]",
    QT_TRANSLATE_NOOP("zolm-cli", "找出多点测量的测站：即停留，其间相邻各次测量的井斜、方位、总加速度和总磁场\n"
                                  "都在下列限值之内（停留中最大值减最小值），且至少持续最短时间。测量数据中的\n"
                                  "每个测点都参与，无论是否显示，按测点顺序（探管测量的顺序）；测点的时间为表格的\n"
                                  "时间列（启动延时，然后每个测点一个间隔）。有非数值的测点不属于任何停留。每个\n"
                                  "停留中离其中值最近的测点（各量以各自的限值衡量）作为代表。\n"
                                  "每个停留一行（序号、测点 首-末、测点数、开始和结束时间、持续秒数、代表测点、\n"
                                  "井斜、方位、总加速度、总磁场的中值，然后是它们的极差；不比较的方位为 '-'），\n"
                                  "最后是汇总。\n"),
    StationsOptions,
    QT_TRANSLATE_NOOP("zolm-cli", "@out-rule@\n"
                                  "示例：zolm-cli stations well7.ZLM --apply\n")};

// In the order the command list and the manual give them.
constexpr CommandHelp Commands[] = {
    ShowCommand, ExportCommand, ExportFormatCommand, ReportCommand, EditCommand,
    LinkTestCommand, InfoCommand, ReadCommand, SetupCommand, LiveCommand, PortsCommand, SetPortCommand,
    GeomagCommand, SiteCommand, QcCommand, TrajectoryCommand, StationsCommand};

} // namespace

std::span<const CommandHelp> commandHelps()
{
    return Commands;
}

const CommandHelp *findCommandHelp(std::string_view command)
{
    for (const CommandHelp &h : Commands) {
        if (command == h.name)
            return &h;
    }
    return nullptr;
}

std::vector<OptionSpec> commandOptions(std::string_view command)
{
    std::vector<OptionSpec> options;
    const CommandHelp *help = findCommandHelp(command);
    if (!help)
        return options;
    for (const DeclaredOption &o : help->options) {
        if (o.name) {
            options.push_back({o.name, o.values, o.placeholder, o.help, o.more});
            continue;
        }
        for (const TrajectoryFormat &f : trajectoryFormats()) {
            if (*f.name)
                options.push_back({std::string("--") + f.name, 0, nullptr, f.cliHelp, nullptr});
        }
    }
    return options;
}

QString commandSynopsis(const CommandHelp &help)
{
    QString synopsis = QString::fromUtf8(help.synopsis);
    if (synopsis.contains(QLatin1String("@formats@"))) {
        QStringList switches;
        for (const TrajectoryFormat &f : trajectoryFormats()) {
            if (*f.name)
                switches << QStringLiteral("--") + QLatin1String(f.name) + (f.cliUsage ? QLatin1Char(' ') + QLatin1String(f.cliUsage) : QString());
        }
        synopsis.replace(QLatin1String("@formats@"), switches.join(QStringLiteral(" | ")));
    }
    return synopsis;
}

QString formatSwitchList()
{
    QStringList switches;
    for (const TrajectoryFormat &f : trajectoryFormats()) {
        if (*f.name)
            switches << QStringLiteral("--") + QLatin1String(f.name);
    }
    if (switches.size() < 2)
        return switches.join(QString());
    const QString last = switches.takeLast();
    return QCoreApplication::translate("zolm-cli", "%1 和 %2")
        .arg(switches.join(QCoreApplication::translate("zolm-cli", "、", "between the items of a list")), last);
}

} // namespace zolm::cli
