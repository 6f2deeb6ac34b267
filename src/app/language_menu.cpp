#include "app/language_menu.h"

#include "app/message_box.h"
#include "app/table_dialogs.h"
#include "platform/language.h"
#include "platform/settings.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QTranslator>

namespace zolm::app {

namespace {

const char *const restartText = QT_TRANSLATE_NOOP("LanguageMenu", "语言将在程序重新启动后更改。");

// The text in `language`, whatever the language in use: the user who just chose English should
// read the notice in English.
QString textIn(UiLanguage language, const char *context, const char *source)
{
    if (language == UiLanguage::English) {
        QTranslator english;
        if (english.load(QStringLiteral(":/i18n/zolm_en.qm"))) {
            const QString text = english.translate(context, source);
            if (!text.isEmpty())
                return text;
        }
    }
    return QString::fromUtf8(source);
}

} // namespace

void addLanguageMenu(QMenu *help, SettingsStore &settings)
{
    QMenu *menu = help->addMenu(QCoreApplication::translate("LanguageMenu", "语言"));
    menu->setObjectName(QStringLiteral("languageMenu"));
    auto *group = new QActionGroup(menu);
    const UiLanguage current = chosenLanguage(settings, std::nullopt);
    // Each language is named in itself, so whoever cannot read the other one finds it.
    const struct {
        UiLanguage language;
        const char *name;
        const char *objectName;
    } choices[] = {{UiLanguage::Chinese, "中文", "languageChinese"}, {UiLanguage::English, "English", "languageEnglish"}};
    for (const auto &choice : choices) {
        QAction *action = menu->addAction(QString::fromUtf8(choice.name));
        action->setObjectName(QString::fromLatin1(choice.objectName));
        action->setCheckable(true);
        action->setChecked(choice.language == current);
        group->addAction(action);
        const UiLanguage language = choice.language;
        QObject::connect(action, &QAction::triggered, menu, [&settings, language, current, help] {
            storeLanguage(settings, language);
            if (language == current)
                return;
            ProgramMessageBox box(QMessageBox::Information, applicationTitle(),
                                  textIn(language, "LanguageMenu", restartText), QMessageBox::Ok, help->window());
            box.exec();
        });
    }
}

} // namespace zolm::app
