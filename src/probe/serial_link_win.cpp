// Windows: the port through the Win32 communications calls, with the same waits and purge as
// the Linux link (Qt Serial Port is not available for this build).
#include "probe/serial_link.h"

#ifdef _WIN32
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <algorithm>
#include <map>

#include <windows.h>

namespace zolm::probe {

namespace {

// A request of at most 27 bytes takes a few milliseconds at 115200 baud; this only bounds a
// port that accepts nothing at all.
constexpr DWORD WriteTimeoutMs = 2000;
// A long wait is made of slices this long, so that an abort (or a close) is seen between them;
// a byte that arrives ends the wait at once all the same.
constexpr int WaitSliceMs = 50;

// "COM10" and above open only through the device namespace, "COM1" as well; a name with a
// path in it is opened as it is written.
std::wstring devicePath(const QString &name)
{
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char(':')))
        return QDir::toNativeSeparators(name).toStdWString();
    return (QStringLiteral("\\\\.\\") + name).toStdWString();
}

QString systemText(DWORD code)
{
    wchar_t *buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    QString text = n > 0 ? QString::fromWCharArray(buffer, static_cast<qsizetype>(n)).trimmed() : QString();
    if (buffer)
        LocalFree(buffer);
    if (text.isEmpty())
        text = QCoreApplication::translate("SerialLink", "错误 %1").arg(code);
    return text;
}

// Why a port did not open, in the user's words, with the system's own text after it. Windows
// answers "access denied" for a port another program holds, as well as for no permission.
QString openFailure(DWORD code)
{
    QString reason;
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: reason = QCoreApplication::translate("SerialLink", "设备不存在"); break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: reason = QCoreApplication::translate("SerialLink", "没有访问权限，或已被其它程序占用"); break;
    default: return systemText(code);
    }
    return QCoreApplication::translate("SerialLink", "%1（%2）").arg(reason, systemText(code));
}

HANDLE openPort(const QString &name)
{
    return CreateFileW(devicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool configure(HANDLE port)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return false;
    dcb.BaudRate = CBR_115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    return SetCommState(port, &dcb) != 0;
}

// Reads return at once with what is waiting; with nothing waiting they wait up to waitMs for
// the first byte (the documented MAXDWORD/MAXDWORD case of the read time-outs).
bool setReadWait(HANDLE port, DWORD waitMs)
{
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = MAXDWORD;
    t.ReadTotalTimeoutConstant = std::max<DWORD>(1, waitMs);
    t.WriteTotalTimeoutMultiplier = 0;
    t.WriteTotalTimeoutConstant = WriteTimeoutMs;
    return SetCommTimeouts(port, &t) != 0;
}

// Ports named in the registry's device map (USB adapters are often COM10 and above).
std::map<int, QString> registeredPorts()
{
    std::map<int, QString> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[64] = {};
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG r = RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE *>(data), &dataSize);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        if (r != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const QString port = QString::fromWCharArray(data).trimmed().toUpper();
        bool ok = false;
        const int number = port.startsWith(QLatin1String("COM")) ? port.mid(3).toInt(&ok) : 0;
        if (ok && number > 0)
            ports[number] = QString::fromWCharArray(name, static_cast<qsizetype>(nameLength));
    }
    RegCloseKey(key);
    return ports;
}

} // namespace

struct SerialLink::Port {
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD readWait = 0; // the read time-out set on the port, so it is set only when it changes
};

SerialLink::SerialLink(QString portName) : m_name(portName), m_device(std::move(portName)) {}

SerialLink::~SerialLink()
{
    doClose();
}

bool SerialLink::isOpen() const
{
    return m_port && m_port->handle != INVALID_HANDLE_VALUE;
}

bool SerialLink::canOpen(const QString &portName, QString *reason)
{
    const HANDLE port = openPort(portName);
    if (port == INVALID_HANDLE_VALUE) {
        if (reason)
            *reason = openFailure(GetLastError());
        return false;
    }
    CloseHandle(port);
    return true;
}

std::vector<std::pair<QString, QString>> SerialLink::systemPorts()
{
    // COM1 to COM9 as the original offered them, whether present or not, then what the
    // system has registered beyond them.
    std::map<int, QString> ports;
    for (int n = 1; n <= 9; ++n)
        ports[n] = QString();
    for (const auto &[number, description] : registeredPorts())
        ports[number] = description;
    std::vector<std::pair<QString, QString>> list;
    for (const auto &[number, description] : ports)
        list.emplace_back(QStringLiteral("COM%1").arg(number), description);
    return list;
}

bool SerialLink::doOpen()
{
    doClose();
    const HANDLE handle = openPort(m_device);
    if (handle == INVALID_HANDLE_VALUE) {
        m_openError = openFailure(GetLastError());
        return false;
    }
    if (!configure(handle) || !setReadWait(handle, WaitSliceMs)) {
        // It opened, but it has no line settings: a file or another kind of device.
        m_openError = QCoreApplication::translate("SerialLink", "不是串口设备（%1）").arg(systemText(GetLastError()));
        CloseHandle(handle);
        return false;
    }
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    m_openError.clear();
    m_port = std::make_unique<Port>();
    m_port->handle = handle;
    m_port->readWait = WaitSliceMs;
    return true;
}

void SerialLink::doClose()
{
    if (m_port) {
        if (m_port->handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_port->handle);
        m_port.reset();
    }
}

void SerialLink::doPurge()
{
    if (!isOpen())
        return;
    PurgeComm(m_port->handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    DWORD errors = 0;
    ClearCommError(m_port->handle, &errors, nullptr);
}

bool SerialLink::doWrite(const QByteArray &bytes)
{
    m_writeError.clear();
    if (!isOpen())
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(m_port->handle, bytes.constData() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr)) {
            m_writeError = systemText(GetLastError());
            return false;
        }
        if (written == 0) {
            m_writeError = QCoreApplication::translate("SerialLink", "%1 毫秒内未能发出").arg(WriteTimeoutMs);
            return false;
        }
        done += static_cast<qsizetype>(written);
    }
    return true;
}

std::size_t SerialLink::doRead(std::span<std::uint8_t> buffer, int waitMs)
{
    if (!isOpen() || buffer.empty())
        return 0;
    const QDeadlineTimer deadline(std::max(0, waitMs));
    for (;;) {
        const auto slice = static_cast<DWORD>(std::clamp<qint64>(deadline.remainingTime(), 1, WaitSliceMs));
        if (slice != m_port->readWait) {
            if (!setReadWait(m_port->handle, slice))
                return 0;
            m_port->readWait = slice;
        }
        DWORD n = 0;
        if (!ReadFile(m_port->handle, buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) {
            DWORD errors = 0;
            ClearCommError(m_port->handle, &errors, nullptr);
            return 0;
        }
        if (n > 0)
            return static_cast<std::size_t>(n);
        if (deadline.hasExpired() || aborted())
            return 0;
    }
}

} // namespace zolm::probe
#endif
