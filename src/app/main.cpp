// zolm: the desktop program. An optional argument names a survey document to open.
#include "app/about_dialog.h"
#include "app/file_dialog.h"
#include "app/main_frame.h"
#include "platform/fonts.h"
#include "platform/language.h"
#include "platform/settings.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    {
        // The language the user chose (ZOLM_LANG, else 帮助 → 语言), never the system's.
        zolm::SettingsStore settings;
        zolm::installLanguage(app, zolm::chosenLanguage(settings, std::nullopt));
    }
    zolm::app::guardFileDialogs(app);
    // The program's name for the system (not shown in its windows): the same in every language.
    QApplication::setApplicationName(QStringLiteral("ZOLM多点程序"));
    QApplication::setOrganizationName(QStringLiteral("Vexmoor"));
    QApplication::setApplicationVersion(QStringLiteral(ZOLM_VERSION));
    QApplication::setWindowIcon(zolm::app::programIcon());
    QApplication::setDesktopFileName(QStringLiteral("zolm"));
    // Every window's Chinese texts in the Simplified Chinese face, never a generic fallback.
    QFont font = QApplication::font();
    font.setFamilies(zolm::tahomaWithChineseFallback());
    QApplication::setFont(font);

    zolm::app::CMainFrame frame;
    QObject::connect(&frame, &zolm::app::CMainFrame::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !frame.openDocument(args.at(1), false))
        return 1;
    frame.showMaximized();
    return QApplication::exec();
}
