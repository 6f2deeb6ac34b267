#pragma once
// Qt's own Simplified Chinese texts: the file, print and page dialogs and the standard buttons
// of message boxes and button boxes. Buttons given texts of their own keep them.
class QCoreApplication;
class QTranslator;

namespace zolm::app {

// Installs the catalogues found in Qt's translations folder (on Windows "translations" beside
// the program, as its qt.conf says). Returns the base catalogue's translator, owned by app, or
// nullptr when it is not there and the dialogs stay in Qt's English.
QTranslator *installQtTranslations(QCoreApplication &app);

} // namespace zolm::app
