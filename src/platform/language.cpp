#include "platform/language.h"

#include "platform/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zolm {

namespace {

const QString languageKey = QStringLiteral("Language");
// Our translators are found again by this name, so a later call removes exactly them and no
// state outlives the application object.
const QString translatorName = QStringLiteral("zolm-language");

QTranslator *newTranslator(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    translator->setObjectName(translatorName);
    return translator;
}

bool install(QTranslator *translator)
{
    if (QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

// Qt's own Simplified Chinese catalogue `name` (qtbase, qtserialport).
bool installQtChinese(QCoreApplication &app, const QString &name)
{
    // Qt's folder first (the system's on Linux; qt.conf's beside the Windows program), then the
    // program's own translations folder, where a package without qt.conf still has them.
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
    QTranslator *translator = newTranslator(app);
    for (const QString &folder : folders) {
        // The program is Chinese whatever the system's language, so the catalogue is chosen by name.
        if (translator->load(QLocale(QLocale::Chinese, QLocale::China), name, QStringLiteral("_"), folder))
            return install(translator);
    }
    delete translator;
    return false;
}

// One of the program's English catalogues, built into every program as a resource.
bool installOwn(QCoreApplication &app, const QString &resource)
{
    QTranslator *translator = newTranslator(app);
    if (translator->load(resource))
        return install(translator);
    delete translator;
    return false;
}

} // namespace

std::optional<UiLanguage> parseLanguage(QStringView text)
{
    QString name = text.trimmed().toString().toLower().replace(QLatin1Char('-'), QLatin1Char('_'));
    name = name.section(QLatin1Char('.'), 0, 0); // "en_US.UTF-8" as a locale variable spells it
    if (name == u"zh" || name == u"zh_cn" || name == u"zh_hans")
        return UiLanguage::Chinese;
    if (name == u"en" || name.startsWith(u"en_"))
        return UiLanguage::English;
    return std::nullopt;
}

UiLanguage chosenLanguage(const SettingsStore &settings, std::optional<UiLanguage> fromCommandLine)
{
    if (fromCommandLine)
        return *fromCommandLine;
    if (const auto fromEnvironment = parseLanguage(qEnvironmentVariable("ZOLM_LANG")))
        return *fromEnvironment;
    if (const auto stored = parseLanguage(settings.storedString(languageKey)))
        return *stored;
    return UiLanguage::Chinese;
}

void storeLanguage(SettingsStore &settings, UiLanguage language)
{
    settings.writeString(languageKey, language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("zh"));
}

void installLanguage(QCoreApplication &app, UiLanguage language)
{
    for (QTranslator *old : app.findChildren<QTranslator *>(translatorName, Qt::FindDirectChildrenOnly))
        delete old; // a translator removes itself from the application when deleted
    if (language == UiLanguage::English) {
        installOwn(app, QStringLiteral(":/i18n/zolm_en.qm"));
        installOwn(app, QStringLiteral(":/i18n/zolm_cli_en.qm"));
        return;
    }
    installQtChinese(app, QStringLiteral("qtbase"));
    installQtChinese(app, QStringLiteral("qtserialport")); // port errors' system texts
}

UntranslatedScope::UntranslatedScope()
{
    // The translators are the application's children, in the order they were installed.
    if (QCoreApplication *app = QCoreApplication::instance()) {
        for (QTranslator *t : app->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly)) {
            if (QCoreApplication::removeTranslator(t))
                m_removed.push_back(t);
        }
    }
}

UntranslatedScope::~UntranslatedScope()
{
    for (QTranslator *t : m_removed)
        QCoreApplication::installTranslator(t);
}

} // namespace zolm
