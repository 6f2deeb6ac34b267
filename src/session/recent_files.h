#pragma once
// The File menu's recent files, as the settings keep them ("Recent File List/File1".."File10"),
// the last opened or saved first.
#include "platform/settings.h"

#include <QStringList>

namespace zolm {

inline constexpr int RecentFileCount = 10;

QStringList recentFiles(SettingsStore &store);
// Puts `path` first (once); false when the list was already so.
bool addRecentFile(SettingsStore &store, const QString &path);

} // namespace zolm
