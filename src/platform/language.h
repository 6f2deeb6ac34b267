#pragma once
// The language of every text the programs show. Chinese is the program's own; English is there
// only when asked for (command line, ZOLM_LANG, or the stored choice), never because of the
// system's locale, so a machine set to English or a C.UTF-8 CI runner stays Chinese.
#include <QStringView>

#include <optional>
#include <vector>

class QCoreApplication;
class QTranslator;

namespace zolm {

class SettingsStore;

enum class UiLanguage { Chinese, English };

// "zh", "zh_CN" -> Chinese; "en" (also "en_US", "en_GB.UTF-8") -> English; case and '-' or '_'
// do not matter. Anything else is no language.
std::optional<UiLanguage> parseLanguage(QStringView text);

// The language asked for: the command line's, else ZOLM_LANG's (when it names one), else the
// stored value ("Language"), else Chinese. Never the system locale.
UiLanguage chosenLanguage(const SettingsStore &settings, std::optional<UiLanguage> fromCommandLine);

// Stores the choice: "Language" = "zh" / "en".
void storeLanguage(SettingsStore &settings, UiLanguage language);

// Installs the translators for the language on app, replacing those a previous call installed.
// English: the program's English catalogues (built into the programs); Qt's own texts stay in
// their built-in English. Chinese: the program's texts are Chinese already, and Qt's own
// dialogs and buttons get Qt's zh_CN catalogues (qtbase, qtserialport) from Qt's translations
// folder, else from a "translations" folder beside the program (the Windows package's).
void installLanguage(QCoreApplication &app, UiLanguage language);

// While it lives, texts come out in the program's own language (Chinese) whatever language was
// chosen: for file contents and report pages, which other people and tools read.
class UntranslatedScope {
public:
    UntranslatedScope();
    ~UntranslatedScope();
    UntranslatedScope(const UntranslatedScope &) = delete;
    UntranslatedScope &operator=(const UntranslatedScope &) = delete;

private:
    std::vector<QTranslator *> m_removed;
};

} // namespace zolm
