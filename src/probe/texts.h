#pragma once
// The probe operations' own texts, exactly as the user has always seen them, and those of the
// checked read after them.
#include <QCoreApplication>
#include <QString>

namespace zolm::probe::text {

inline QString timeout() { return QCoreApplication::translate("ProbeText", "通讯超时\n\n请检查探管通讯线、电池和电源开关"); }
// n = 1..4: which step of the operation failed.
inline QString timeoutStep(int n) { return QCoreApplication::translate("ProbeText", "通讯超时(%1)\n\n请检查探管通讯线、电池和电源开关").arg(n); }
// k: 0-based index of the parameter block.
inline QString parameterBlockTimeout(int k) { return QCoreApplication::translate("ProbeText", "通讯超时(3.%1)\n\n请检查探管通讯线、电池和电源开关").arg(k); }
// j: the data block number.
inline QString dataBlockTimeout(int j) { return QCoreApplication::translate("ProbeText", "通讯超时(4.%1)\n\n请检查探管通讯线、电池和电源开关").arg(j); }
inline QString linkTestPassed() { return QCoreApplication::translate("ProbeText", "\n通讯测试通过           \n"); }
inline QString settingsWritten() { return QCoreApplication::translate("ProbeText", "参数成功写入探管\n\n读回的参数文件与写入探管的完全一致"); }
inline QString settingsNotWritten() { return QCoreApplication::translate("ProbeText", "参数未能写入探管\n\n读回的参数文件与写入探管的不一致"); }
inline QString noStoredData() { return QCoreApplication::translate("ProbeText", "探管中没有以前采集的数据。"); }
inline QString dataRead() { return QCoreApplication::translate("ProbeText", "探管中的数据已成功读出到表格中。"); }

// A line that corrupts: answers that kept failing their checks, or a piece of memory that never
// read the same twice. `step`: the step the time-out text would name there ("4.17"; empty
// for an operation whose texts name none).
inline QString checkCable() { return QCoreApplication::translate("ProbeText", "请检查通讯线和接头后重试。"); }
inline QString dataError(const QString &step)
{
    const QString head = step.isEmpty() ? QCoreApplication::translate("ProbeText", "通讯数据错误")
                                        : QCoreApplication::translate("ProbeText", "通讯数据错误(%1)").arg(step);
    return head + QStringLiteral("\n\n") + checkCable();
}
inline QString verifyFailed(const QString &step)
{
    const QString head = step.isEmpty() ? QCoreApplication::translate("ProbeText", "探管数据校验失败")
                                        : QCoreApplication::translate("ProbeText", "探管数据校验失败(%1)").arg(step);
    return head + QStringLiteral("\n\n") + checkCable();
}
// Added after a read's text when requests had to be sent again.
inline QString rereads(int n) { return QCoreApplication::translate("ProbeText", "通讯线路有误码，已重读 %1 块。").arg(n); }

// A line added after a time-out text when the port itself could not be opened.
inline QString portNotOpened(const QString &port, const QString &reason)
{
    return reason.isEmpty() ? QCoreApplication::translate("ProbeText", "通讯口 %1 无法打开。").arg(port)
                            : QCoreApplication::translate("ProbeText", "通讯口 %1 无法打开：%2").arg(port, reason);
}
// The same when a request could not be written to the open port.
inline QString portWriteFailed(const QString &port, const QString &reason)
{
    return reason.isEmpty() ? QCoreApplication::translate("ProbeText", "通讯口 %1 写入失败。").arg(port)
                            : QCoreApplication::translate("ProbeText", "通讯口 %1 写入失败：%2").arg(port, reason);
}
// The port choice's open test.
inline QString portTestFailed(const QString &port)
{
    return QCoreApplication::translate("ProbeText", "通讯口 %1 无法打开!\n\n可能的原因:\n\n通讯口不存在或被其它程序占用。").arg(port);
}
// The port choice's refusal: the system's text, then the port's own reason when there is one.
inline QString portRefused(const QString &port, const QString &reason)
{
    return reason.isEmpty() ? portTestFailed(port) : portTestFailed(port) + QLatin1Char('\n') + portNotOpened(port, reason);
}
inline QString captionPortError() { return QCoreApplication::translate("ProbeText", "错误"); }
// A probe command while no port is chosen (no USB serial adapter found, none stored).
inline QString noPortChosen() { return QCoreApplication::translate("ProbeText", "请选择通讯口"); }

inline QString captionError() { return QCoreApplication::translate("ProbeText", "错误信息"); }
inline QString captionResult() { return QCoreApplication::translate("ProbeText", "结果信息"); }
inline QString captionInfo() { return QCoreApplication::translate("ProbeText", "信息"); }

// Progress window.
inline QString progressTitle() { return QCoreApplication::translate("ProbeText", "正在与探管通讯..."); }
inline QString captionLinkTest() { return QCoreApplication::translate("ProbeText", "通讯和探管LED测试"); }
inline QString captionStartRealTime() { return QCoreApplication::translate("ProbeText", "正在启动实时数据输出"); }
inline QString captionStopRealTime() { return QCoreApplication::translate("ProbeText", "正在停止实时数据输出"); }
inline QString captionHistoryCheck() { return QCoreApplication::translate("ProbeText", "检查探管中是否有历史数据"); }
inline QString captionWriteSettings() { return QCoreApplication::translate("ProbeText", "将设置参数写入探管"); }
inline QString captionReadBack() { return QCoreApplication::translate("ProbeText", "读回写入的参数"); }
inline QString captionReadInfo() { return QCoreApplication::translate("ProbeText", "读取探管参数"); }
inline QString captionReadData() { return QCoreApplication::translate("ProbeText", "读取探管数据"); }
// The read's second pass, which compares the memory with the first.
inline QString captionVerifyData() { return QCoreApplication::translate("ProbeText", "校验探管数据"); }
// The time an operation has left, as its pace so far predicts it.
inline QString timeLeft(long long seconds)
{
    return QCoreApplication::translate("ProbeText", "剩余 %1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace zolm::probe::text
