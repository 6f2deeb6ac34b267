#include "platform/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zolm {

#ifdef _WIN32
// Qt's codecs beyond Unicode come from ICU, which the Windows build does not have; Windows'
// own code page 936 is the GBK the original program wrote.
namespace {
constexpr UINT Gbk = 936;
}

bool gbkAvailable()
{
    return IsValidCodePage(Gbk) != 0;
}

QString fromGbk(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int in = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(Gbk, 0, bytes.data(), in, nullptr, 0);
    if (n <= 0)
        return QString::fromLatin1(QByteArrayView(bytes.data(), in));
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(Gbk, 0, bytes.data(), in, wide.data(), n);
    return QString::fromStdWString(wide);
}

std::string toGbk(const QString &text)
{
    if (text.isEmpty())
        return {};
    const std::wstring wide = text.toStdWString();
    const int in = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(Gbk, 0, wide.data(), in, nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        const QByteArray latin = text.toLatin1();
        return std::string(latin.constData(), static_cast<std::size_t>(latin.size()));
    }
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(Gbk, 0, wide.data(), in, bytes.data(), n, nullptr, nullptr);
    return bytes;
}
#else
bool gbkAvailable()
{
    return QStringDecoder("GBK").isValid();
}

QString fromGbk(std::string_view bytes)
{
    QStringDecoder decoder("GBK");
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (!decoder.isValid())
        return QString::fromLatin1(view);
    return decoder.decode(view);
}

std::string toGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid()) {
        const QByteArray latin = text.toLatin1();
        return std::string(latin.constData(), static_cast<std::size_t>(latin.size()));
    }
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
#endif

std::optional<QString> firstCharNotInGbk(const QString &text)
{
    // Character by character (a surrogate pair is one character): texts here are short.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, len);
        if (fromGbk(toGbk(one)) != one)
            return one;
        i += len;
    }
    return std::nullopt;
}

} // namespace zolm
