#include "session/recent_files.h"

namespace zolm {

namespace {

QString recentKey(int i)
{
    return QStringLiteral("Recent File List/File%1").arg(i + 1);
}

} // namespace

QStringList recentFiles(SettingsStore &store)
{
    QStringList files;
    for (int i = 0; i < RecentFileCount; ++i) {
        const QString key = recentKey(i);
        if (store.contains(key)) {
            const QString f = store.readString(key, {});
            if (!f.isEmpty())
                files << f;
        }
    }
    return files;
}

bool addRecentFile(SettingsStore &store, const QString &path)
{
    const QStringList before = recentFiles(store);
    QStringList files = before;
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > RecentFileCount)
        files.removeLast();
    if (files == before)
        return false;
    for (int i = 0; i < RecentFileCount; ++i)
        store.writeString(recentKey(i), files.value(i));
    return true;
}

} // namespace zolm
