// zolm-probe-sim: a virtual probe on a pseudo-terminal. Prints the pty's path as its first
// line, then answers as a probe until SIGINT or SIGTERM. With --save it writes the survey a
// read would produce as a document and exits.
#include "document/document.h"
#include "platform/language.h"
#include "platform/number_text.h"
#include "platform/output_file.h"
#include "virtual_probe.h"

#include <QCoreApplication>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <pthread.h>
#endif

namespace {

const char *const usageText = QT_TRANSLATE_NOOP("zolm-probe-sim",
    "用法：zolm-probe-sim [--survey FILE.ZLM | --points N | RUN OPTION...] [--battery R]\n"
    "                     [--line-rate BAUD] [--link PATH] [--fault FAULT]... [--save FILE.ZLM]\n"
    "                     [--save-tally FILE]\n"
    "      zolm-probe-sim --help | --version\n"
    "测量过程选项：--direction in|out  --td M  --kickoff M  --build DEG  --hold DEG  --azimuth DEG\n"
    "             --course M  --stop S  --speed M/S  --trip-speed M/S  --lat DEG  --lon DEG\n"
    "             --height M  --date YYYY-MM-DD  --field-scale X  --noise X  --vibration G\n"
    "             --delay S  --interval S  --seed N\n"
    "故障：silent-after:N  silent-at:LETTER:K  split  noise  readback-mismatch  drop-stream\n"
    "      flip:LETTER:K:BYTE:BIT  flip-rate:P[:SEED]  wire-flip-rate:P[:SEED]  stale-block:K\n"
    "      short:LETTER:K  long:LETTER:K\n");

const char *const helpText = QT_TRANSLATE_NOOP("zolm-probe-sim",
    "\n"
    "伪终端上的虚拟探管：第一行显示终端的路径，然后像探管一样应答，直到收到 SIGINT\n"
    "或 SIGTERM。\n"
    "\n"
    "  --survey FILE.ZLM  探管装有该文件的测量数据和标定数据\n"
    "  --points N         按已知井眼轨迹合成的 N 个测点的测量数据（0 到 1818）\n"
    "  --battery R        电池读数，0 到 65535\n"
    "  --line-rate BAUD   按该速率的真实线路的节奏应答\n"
    "  --link PATH        指向该终端的符号链接\n"
    "  --fault FAULT      测试用的故障（见上）；可以重复\n"
    "  --save FILE.ZLM    把读出的结果写成文件，然后退出\n"
    "  --save-tally FILE  写出本次测量过程的井深记录（见下），然后继续\n"
    "\n"
    "真实的多点测量过程，未给出 --survey 或 --points 时采用：探管沿井眼轨迹下入（或\n"
    "起出），造斜点以上垂直，然后以恒定的造斜率增斜并稳斜，真方位不变。每隔一个测段\n"
    "长度在测站停留一段时间，测站之间移动（加速度计晃动，工具面转动），并通过其标定\n"
    "数据感受井场的地磁场（世界地磁模型）：测得的方位是磁方位。按探管存储器中的设置，\n"
    "从启动延时起每隔一个间隔测量一次，直到探管回到地面或存储器（1818 个测点）已满。\n"
    "相同的选项给出逐字节相同的测量数据。\n"
    "  --direction in|out  out（默认）：不停留下到井底，起出时测量；in：下入时测量，\n"
    "                      不停留起出\n"
    "  --td M              最深测站的测深，1 到 10000（默认 1500）\n"
    "  --kickoff M         垂直下到该深度，0 到 10000（默认 300）\n"
    "  --build DEG         造斜点以下的造斜率，度/30 米，0.01 到 30（默认 2.5）\n"
    "  --hold DEG          造斜后保持的井斜，0 到 90（默认 30）\n"
    "  --azimuth DEG       造斜和稳斜段的真方位，0 到 360（默认 45）\n"
    "  --course M          测站间距，单位米，1 到 1000（默认 30）；测站位于其各整数倍\n"
    "                      直到最深处，以及 --td 本身\n"
    "  --stop S            在每个测站停留的秒数，0 到 36000（默认 120）；每次停留像井队\n"
    "                      计时那样最多长出四分之一，第一次停留一直持续到启动延时结束\n"
    "  --speed M/S         测站之间的速度，0.01 到 10（默认 0.5）\n"
    "  --trip-speed M/S    不停留起下钻的速度，0.01 到 10（默认 2）\n"
    "  --lat DEG --lon DEG --height M --date YYYY-MM-DD\n"
    "                      井场（默认 38.71、116.10、0、2026-05-20）：总磁场、磁倾角和\n"
    "                      磁偏角取自 2020 到 2029 年的地磁模型\n"
    "  --field-scale X     磁力计的单位与高斯之比，0.5 到 2（默认 1.01：标定磁场系数之前，\n"
    "                      该探管测得的磁场偏高 1 %）\n"
    "  --noise X           传感器噪声，各轴的标准差，以满量程为单位，0 到 0.1\n"
    "                      （默认 0.0003）\n"
    "  --vibration G       探管移动时加速度计的振动，各轴的标准差，单位 g，0 到 2\n"
    "                      （默认 0.05）\n"
    "  --delay S           探管的启动延时，0 到 65535 秒（默认 600）\n"
    "  --interval S        探管的采样间隔，1 到 255 秒（默认 10）\n"
    "  --seed N            噪声、转动和停留时长的随机种子（默认 1）\n"
    "井深记录按到达的顺序每个测站一行，\"HH:MM:SS DEPTH\"：停留中点的时间，为探管启动后\n"
    "的时间（表格的时间列），以及测站的测深，单位米；以 # 开头的行是注释。\n"
    "环境变量 ZOLM_SIM_RUN 设置时，zolm-cli 和 zolm 的通讯口 SIM 装有这样的测量过程：\n"
    "\"default\"，或去掉短横线的测量过程选项，写成 NAME=VALUE，以逗号分隔\n"
    "（ZOLM_SIM_RUN=seed=2,direction=in）。\n"
    "\n"
    "故障：请求从 0 起计数，对所有字母（silent-after）或按字母分别计数\n"
    "（silent-at:LETTER:K，该字母的第 K 个请求不应答）。split 逐字节写出应答，noise\n"
    "在应答前加入杂散字节，readback-mismatch 使 W 保存另一个间隔，drop-stream 不应答 A。\n"
    "线路故障损坏而不是丢失数据；应答仍是格式正确的帧。K 为该字母的应答计数，从 0\n"
    "开始（实时数据的采样是 @ 应答）：\n"
    "  flip:LETTER:K:BYTE:BIT   翻转第 K 个应答的一位（BIT 为 0 到 7）；BYTE 从字母起计数\n"
    "                           （0 为字母本身）\n"
    "  flip-rate:P[:SEED]       以概率 P 翻转每个应答字母之后的每一位；SEED（默认 1）\n"
    "                           使结果可重复\n"
    "  wire-flip-rate:P[:SEED]  以概率 P 翻转线路上的每一位，双向，包括标记、转义和请求\n"
    "  stale-block:K            第 K 个 B 请求得到所请求块的前一块的数据（块 0 得到块 1\n"
    "                           的），但块号不变\n"
    "  short:LETTER:K           第 K 个应答短一个字节\n"
    "  long:LETTER:K            第 K 个应答长一个字节（0x00）\n"
    "\n"
    "示例：zolm-probe-sim --points 50 --link /tmp/probe &\n"
    "      zolm-cli read --port /tmp/probe -o s.ZLM\n"
    "      zolm-probe-sim --direction in --seed 7 --save run.ZLM --save-tally run.txt\n");

QString translated(const char *text)
{
    return QCoreApplication::translate("zolm-probe-sim", text);
}

void printErr(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
}

int usage(const QString &why)
{
    printErr(QCoreApplication::translate("zolm-probe-sim", "zolm-probe-sim：%1\n").arg(why) + translated(usageText));
    return 2;
}

int failure(const QString &why)
{
    printErr(QCoreApplication::translate("zolm-probe-sim", "zolm-probe-sim：%1\n").arg(why));
    return 1;
}

bool parseNumber(const char *text, long low, long high, long &out)
{
    std::string_view s = text ? text : "";
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) // as strtol took them
        s.remove_prefix(1);
    const auto v = zolm::parseInteger(s);
    if (!v || *v < low || *v > high)
        return false;
    out = static_cast<long>(*v);
    return true;
}

int saveSurvey(const zolm::sim::VirtualProbeOptions &options, const QString &path)
{
    zolm::sim::ProbeMemory memory;
    QString error;
    if (!zolm::sim::loadProbeMemory(options, memory, &error))
        return failure(error);
    const auto images = zolm::sim::readAsThePcWould(memory);
    if (!images) {
        // What the PC says to a probe that holds nothing it can read.
        printErr(QCoreApplication::translate("zolm-probe-sim", "探管中没有以前采集的数据。\n"));
        return 1;
    }
    zolm::CNDravikDoc doc;
    doc.loadFromProbe(images->parameters.bytes, images->data.bytes);
    if (const zolm::Done saved = doc.saveFile(path); !saved)
        return failure(saved.error().message);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // A tool for tests and demonstrations, with no settings of its own: English only when
    // ZOLM_LANG asks for it. Chinese needs no catalogue (see zolm-cli).
    if (zolm::parseLanguage(qEnvironmentVariable("ZOLM_LANG")) == zolm::UiLanguage::English)
        zolm::installLanguage(app, zolm::UiLanguage::English);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs((translated(usageText) + translated(helpText)).toUtf8().constData(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zolm-probe-sim %s\n", ZOLM_VERSION);
            return 0;
        }
    }
    zolm::sim::VirtualProbeOptions options;
    bool havePoints = false;
    QString saveFile;
    QString tallyFile;
    zolm::sim::RunOptions run;
    bool haveRun = false;
    // Every option takes a value: step over both.
    for (int i = 1; i < argc; i += 2) {
        const std::string a = argv[i];
        const char *v = i + 1 < argc ? argv[i + 1] : nullptr;
        long n = 0;
        if (a == "--points") {
            if (!parseNumber(v, 0, zolm::MaxSurveyPoints, n))
                return usage(QCoreApplication::translate("zolm-probe-sim", "--points 需要 0 到 1818 的测点数"));
            options.points = static_cast<int>(n);
            havePoints = true;
        } else if (a == "--survey") {
            if (!v)
                return usage(QCoreApplication::translate("zolm-probe-sim", "--survey 需要一个文件"));
            options.surveyFile = QString::fromLocal8Bit(v);
        } else if (a == "--battery") {
            if (!parseNumber(v, 0, 65535, n))
                return usage(QCoreApplication::translate("zolm-probe-sim", "--battery 需要 0 到 65535 的读数"));
            options.battery = static_cast<std::uint16_t>(n);
        } else if (a == "--line-rate") {
            if (!parseNumber(v, 1, 100000000, n))
                return usage(QCoreApplication::translate("zolm-probe-sim", "--line-rate 需要一个波特率"));
            options.lineRate = static_cast<int>(n);
        } else if (a == "--link") {
            if (!v)
                return usage(QCoreApplication::translate("zolm-probe-sim", "--link 需要一个路径"));
            options.link = QString::fromLocal8Bit(v);
        } else if (a == "--fault") {
            QString error;
            if (!v || !zolm::sim::addFault(options, QString::fromLocal8Bit(v), &error))
                return usage(v ? error : QCoreApplication::translate("zolm-probe-sim", "--fault 需要一个故障"));
        } else if (a == "--save") {
            if (!v)
                return usage(QCoreApplication::translate("zolm-probe-sim", "--save 需要一个文件"));
            saveFile = QString::fromLocal8Bit(v);
        } else if (a == "--save-tally") {
            if (!v)
                return usage(QCoreApplication::translate("zolm-probe-sim", "--save-tally 需要一个文件"));
            tallyFile = QString::fromLocal8Bit(v);
            haveRun = true;
        } else if (a.starts_with("--") && zolm::sim::isRunOption(QString::fromStdString(a.substr(2)))) {
            QString error;
            if (!v)
                return usage(QCoreApplication::translate("zolm-probe-sim", "%1 需要一个值").arg(QString::fromStdString(a)));
            if (!zolm::sim::setRunOption(run, QString::fromStdString(a.substr(2)), QString::fromLocal8Bit(v), &error))
                return usage(error);
            haveRun = true;
        } else {
            return usage(QCoreApplication::translate("zolm-probe-sim", "未知的选项 %1").arg(QString::fromStdString(a)));
        }
    }
    if (havePoints && !options.surveyFile.isEmpty())
        return usage(QCoreApplication::translate("zolm-probe-sim", "--survey 和 --points 只能选一个"));
    if (haveRun && (havePoints || !options.surveyFile.isEmpty()))
        return usage(QCoreApplication::translate("zolm-probe-sim", "测量过程选项或 --save-tally 不能与 --survey 或 --points 一起用"));
    if (!havePoints && options.surveyFile.isEmpty())
        haveRun = true;
    if (haveRun) {
        // Made once here: the tally and the probe's memory come from the same run.
        zolm::sim::MultiShotRun made;
        QString error;
        if (!zolm::sim::makeMultiShotRun(run, made, &error))
            return failure(error);
        if (made.shotsLost > 0)
            printErr(QCoreApplication::translate("zolm-probe-sim", "zolm-probe-sim：%1 次测量后存储器已满；测量过程的最后 %2 次测量未保存\n")
                         .arg(zolm::MaxSurveyPoints)
                         .arg(made.shotsLost));
        if (!tallyFile.isEmpty()) {
            if (const zolm::Done written = zolm::writeOutput(tallyFile, zolm::sim::tallyText(run, made)); !written)
                return failure(QStringLiteral("%1: %2").arg(tallyFile, written.error().message));
        }
        options.run = run;
        options.memory = std::move(made.memory);
    }

    if (!saveFile.isEmpty())
        return saveSurvey(options, saveFile);

#ifdef _WIN32
    // No pseudo-terminals here: start() says so.
    zolm::sim::VirtualProbe probe(options);
    QString error;
    probe.start(&error);
    return failure(error);
}
#else
    // The signals are taken synchronously below; block them before the probe's thread
    // starts so that it inherits the mask and they reach only this thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    zolm::sim::VirtualProbe probe(options);
    QString error;
    if (!probe.start(&error))
        return failure(error);
    std::printf("%s\n", probe.devicePath().toLocal8Bit().constData());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    probe.stop();
    return 0;
}
#endif
