#pragma once
// 帮助 → 语言: the UI language, chosen on purpose and stored; it applies at the next start.
class QMenu;

namespace zolm {
class SettingsStore;
}

namespace zolm::app {

// Adds the submenu to `help`, with the language in use checked.
void addLanguageMenu(QMenu *help, SettingsStore &settings);

} // namespace zolm::app
