// Qt's own dialogs and standard buttons in Chinese once the program's set-up has loaded Qt's
// translations; the buttons whose texts the program gives keep them, and file errors read as
// Chinese without the same words twice.
#include "dialog_buttons.h"
#include "failure_text.h"
#include "app/export_dialogs.h"
#include "app/probe_dialogs.h"
#include "app/table_dialogs.h"
#include "document/document.h"
#include "platform/language.h"
#include "platform/settings.h"
#include "table/survey_table.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <functional>

using namespace zolm;
using namespace zolm::app;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

using zolm::test::buttonTexts;

namespace {

class QtTranslations : public ::testing::Test {
protected:
    void SetUp() override
    {
        installLanguage(*QCoreApplication::instance(), UiLanguage::Chinese);
        ASSERT_FALSE(QCoreApplication::instance()->findChildren<QTranslator *>().isEmpty());
    }
    // The other windows' tests see Qt as it comes.
    void TearDown() override
    {
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly));
    }
};

} // namespace

TEST_F(QtTranslations, FileDialogsStandardButtonsAndFileErrorsAreChinese)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"),
                    QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));

    QFileDialog open(nullptr, QString(), QDir::tempPath());
    open.setOption(QFileDialog::DontUseNativeDialog);
    open.setAcceptMode(QFileDialog::AcceptOpen);
    open.show();
    EXPECT_EQ(open.windowTitle(), QStringLiteral("打开"));
    EXPECT_EQ(buttonTexts(open), (QStringList{QStringLiteral("取消"), QStringLiteral("打开(&O)")}));
    EXPECT_EQ(open.findChild<QLabel *>(QStringLiteral("lookInLabel"))->text(), QStringLiteral("查找范围："));
    open.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_EQ(open.windowTitle(), QStringLiteral("另存为"));

    // A file error whose system text Qt now words in Chinese says it once.
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.ZLM"));
    CNDravikDoc doc;
    const QString error = test::failureText(doc.openFile(missing));
    const QString expected = QStringLiteral("无法打开文件“%1”：文件不存在").arg(missing);
#ifdef _WIN32
    EXPECT_TRUE(error.startsWith(expected + QStringLiteral("（"))) << error.toStdString(); // Windows' own words
#else
    EXPECT_EQ(error, expected);
#endif
}

TEST_F(QtTranslations, ButtonsWithTheProgramsOwnTextsKeepThem)
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    EXPECT_EQ(buttonTexts(CExportFormatDlg(store)), (QStringList{QStringLiteral("Cancel"), QStringLiteral("OK")}));
    EXPECT_EQ(buttonTexts(ProbeSettingsDialog(probe::ProbeSetup{})),
              (QStringList{QStringLiteral("写入探管"), QStringLiteral("退出")}));

    CNDravikDoc doc;
    SurveyTable table(doc);
    QStringList crewButtons;
    std::function<void()> look = [&crewButtons, &look] {
        auto *dialog = qobject_cast<FieldDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            QTimer::singleShot(10, look);
            return;
        }
        crewButtons = buttonTexts(*dialog);
        dialog->reject();
    };
    QTimer::singleShot(0, look);
    QString caption;
    EXPECT_FALSE(runCrewDialog(nullptr, table, &caption));
    EXPECT_EQ(crewButtons, (QStringList{QStringLiteral("Cancel"), QStringLiteral("OK")}));
}
