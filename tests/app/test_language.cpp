// The desktop in English when asked for, in Chinese by default: the main window's menus, bars
// and status bar, a dialog and the probe windows, and the 帮助 → 语言 choice.
#include "dialog_buttons.h"
#include "app/main_frame.h"
#include "app/probe_dialogs.h"
#include "platform/file_error.h"
#include "platform/language.h"
#include "platform/settings.h"
#include "probe/probe_info.h"
#include "probe/probe_settings.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

#include <functional>
#include <cerrno>
#include <memory>

using namespace zolm;
using namespace zolm::app;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

using zolm::test::buttonTexts;

namespace {

bool hasChinese(const QString &text)
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return text.contains(han);
}

// Every text of the main window's menus, bars, status bar and table heading, except data: the
// recent files' names and the language menu's "中文", which names itself for whoever reads it.
QStringList frameTexts(CMainFrame &frame)
{
    QStringList texts;
    const std::function<void(QMenu *)> menu = [&](QMenu *m) {
        texts << m->title();
        if (m->objectName() == QStringLiteral("recentMenu"))
            return;
        for (QAction *a : m->actions()) {
            if (a->menu())
                menu(a->menu());
            else if (a->objectName() != QStringLiteral("languageChinese"))
                texts << a->text() << a->statusTip();
        }
    };
    for (QAction *a : frame.menuBar()->actions())
        menu(a->menu());
    for (QToolBar *bar : frame.findChildren<QToolBar *>()) {
        texts << bar->windowTitle();
        for (QAbstractButton *b : bar->findChildren<QAbstractButton *>())
            texts << b->text() << b->statusTip();
        for (QLabel *l : bar->findChildren<QLabel *>())
            texts << l->text();
        for (QComboBox *c : bar->findChildren<QComboBox *>())
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
    }
    for (QLabel *l : frame.statusBar()->findChildren<QLabel *>())
        texts << l->text();
    texts << frame.statusBar()->currentMessage() << frame.windowTitle();
    if (auto *table = frame.findChild<QTableView *>())
        for (int c = 0; c < table->model()->columnCount(); ++c)
            texts << table->model()->headerData(c, Qt::Horizontal).toString();
    texts.removeAll(QString());
    return texts;
}

QStringList labelTexts(const QWidget &w)
{
    QStringList texts;
    for (const QLabel *l : w.findChildren<QLabel *>())
        texts << l->text();
    return texts;
}

probe::ProbeInfo sampleInfo()
{
    probe::ProbeInfo info;
    info.battery = 780;
    return info;
}

class Languages : public ::testing::Test {
protected:
    // The other windows' tests see Qt as it comes.
    void TearDown() override
    {
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly));
    }
    void use(UiLanguage language) { installLanguage(*QCoreApplication::instance(), language); }
};

} // namespace

TEST_F(Languages, EnglishWhenAskedForChineseOtherwise)
{
    use(UiLanguage::English);
    {
        CMainFrame frame;
        const QStringList texts = frameTexts(frame);
        ASSERT_GT(texts.size(), 100);
        const QStringList chinese = texts.filter(QRegularExpression(QStringLiteral("\\p{Han}")));
        EXPECT_TRUE(chinese.isEmpty()) << chinese.join(u'|').toStdString();
        EXPECT_TRUE(texts.contains(QStringLiteral("&File")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Language")));
        EXPECT_EQ(frame.command(CMainFrame::CmdOpen)->text(), QStringLiteral("&Open..."));
        EXPECT_EQ(frame.command(CMainFrame::CmdReadProbe)->text(), QStringLiteral("Read Probe"));
        EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
    }
    // A dialog with its own buttons, and the probe windows (the labels zolm-cli keeps as they are).
    const probe::ProbeSetup setup{};
    ProbeSettingsDialog settings(setup);
    EXPECT_EQ(settings.windowTitle(), QStringLiteral("Set Up Probe"));
    EXPECT_EQ(buttonTexts(settings), (QStringList{QStringLiteral("Exit"), QStringLiteral("Write to Probe")}));
    ProbeInfoDialog info(sampleInfo());
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Probe Information"));
    const QStringList infoLabels = labelTexts(info);
    EXPECT_TRUE(infoLabels.contains(QStringLiteral("Battery voltage")));
    EXPECT_FALSE(std::any_of(infoLabels.begin(), infoLabels.end(), hasChinese)) << infoLabels.join(u'|').toStdString();
    RealTimeWindow live;
    const QStringList liveLabels = labelTexts(live);
    EXPECT_TRUE(liveLabels.contains(QStringLiteral("Total gravity")));
    EXPECT_FALSE(std::any_of(liveLabels.begin(), liveLabels.end(), hasChinese)) << liveLabels.join(u'|').toStdString();
    EXPECT_EQ(probe::infoFields(sampleInfo()).front().first, QStringLiteral("探管编号"));
    // A file error says it once: the system's English adds nothing to the English reason.
    const QString noFile = QStringLiteral("No such file or directory");
    EXPECT_EQ(errnoReason(ENOENT, noFile), QStringLiteral("the file or folder does not exist"));

    use(UiLanguage::Chinese);
    {
        CMainFrame frame;
        EXPECT_TRUE(frameTexts(frame).contains(QStringLiteral("文件(&F)")));
        EXPECT_EQ(frame.command(CMainFrame::CmdOpen)->text(), QStringLiteral("打开(&O)..."));
        EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("就绪"));
    }
    ProbeSettingsDialog chineseSettings(setup);
    EXPECT_EQ(chineseSettings.windowTitle(), QStringLiteral("设置探管"));
    EXPECT_EQ(buttonTexts(chineseSettings), (QStringList{QStringLiteral("写入探管"), QStringLiteral("退出")}));
    ProbeInfoDialog chineseInfo(sampleInfo());
    EXPECT_TRUE(labelTexts(chineseInfo).contains(QStringLiteral("电池电压")));
    RealTimeWindow chineseLive;
    EXPECT_TRUE(labelTexts(chineseLive).contains(QStringLiteral("总加速度")));
    QMessageBox chineseBox(QMessageBox::Question, QString(), QString(), QMessageBox::Yes);
    EXPECT_EQ(chineseBox.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    EXPECT_EQ(errnoReason(ENOENT, noFile), QStringLiteral("文件或文件夹不存在（No such file or directory）"));

    // Switching again takes Qt's Chinese away with the rest.
    use(UiLanguage::English);
    QMessageBox englishBox(QMessageBox::Question, QString(), QString(), QMessageBox::Yes);
    EXPECT_EQ(englishBox.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(ProbeSettingsDialog(setup).windowTitle(), QStringLiteral("Set Up Probe"));
}

TEST_F(Languages, TheMenuStoresTheChoiceAndSaysItAppliesAtTheNextStart)
{
    SettingsStore store;
    storeLanguage(store, UiLanguage::Chinese);
    CMainFrame frame;
    auto *menu = frame.findChild<QMenu *>(QStringLiteral("languageMenu"));
    ASSERT_NE(menu, nullptr);
    auto *english = menu->findChild<QAction *>(QStringLiteral("languageEnglish"));
    auto *chinese = menu->findChild<QAction *>(QStringLiteral("languageChinese"));
    ASSERT_TRUE(english && chinese);
    EXPECT_TRUE(chinese->isChecked());

    // The notice is in the language chosen, read by whoever chose it.
    QString said;
    QTimer::singleShot(0, [&said] {
        if (QTest::qWaitFor([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); }, 5000)) {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            said = box->text();
            box->accept();
        }
    });
    english->trigger();
    EXPECT_EQ(said, QStringLiteral("The language will change when the program is restarted."));
    EXPECT_TRUE(english->isChecked());
    EXPECT_EQ(SettingsStore().storedString(QStringLiteral("Language")), QStringLiteral("en"));
    EXPECT_EQ(chosenLanguage(SettingsStore(), std::nullopt), UiLanguage::English);
    // Back to the language in use: nothing to say, no box.
    chinese->trigger();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(SettingsStore().storedString(QStringLiteral("Language")), QStringLiteral("zh"));
}
