#pragma once
// Document fields and export files hold GBK (code page 936) bytes; the program works in
// Unicode. Conversion happens only here, at the boundary.
#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace zolm {

QString fromGbk(std::string_view bytes);
std::string toGbk(const QString &text);
// The first character of `text` that GBK cannot hold (toGbk would store '?' for it), or
// nothing when every character survives the round trip.
std::optional<QString> firstCharNotInGbk(const QString &text);
// False when the Qt build has no GBK codec; callers then fall back to Latin-1 bytes.
bool gbkAvailable();

} // namespace zolm
