#include "platform/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zolm {

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
