#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zolm::app {

namespace {

QTranslator *load(QCoreApplication &app, const char *catalogue)
{
    // Qt's folder first (the system's on Linux; qt.conf's beside the Windows program), then the
    // program's own translations folder, where a package without qt.conf still has them.
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
    auto *translator = new QTranslator(&app);
    for (const QString &folder : folders) {
        if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QString::fromLatin1(catalogue),
                             QStringLiteral("_"), folder)
            && QCoreApplication::installTranslator(translator))
            return translator;
    }
    delete translator;
    return nullptr;
}

} // namespace

QTranslator *installQtTranslations(QCoreApplication &app)
{
    // The program is Chinese whatever the system's language, so the catalogue is chosen by name.
    QTranslator *base = load(app, "qtbase");
    load(app, "qtserialport"); // port errors' system texts
    return base;
}

} // namespace zolm::app
