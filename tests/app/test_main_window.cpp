// The main window through a field engineer's day: the real widgets offscreen, the real worker
// against the built-in virtual probe, printing onto PDF. Boxes and dialogs the program shows
// are answered from the event loop, as a user would.
#include "app/about_dialog.h"
#include "app/analysis/site_dialog.h"
#include "app/analysis/trajectory_window.h"
#include "app/export_dialogs.h"
#include "app/main_frame.h"
#include "app/printing.h"
#include "app/probe_dialogs.h"
#include "app/probe_ui.h"
#include "app/progress_window.h"
#include "app/survey_view.h"
#include "app/table_dialogs.h"
#include "output/export.h"
#include "platform/gbk.h"
#include "platform/settings.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

#include <functional>
#include <memory>

using namespace zolm;
using namespace zolm::app;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString data(const char *name)
{
    return QStringLiteral(ZOLM_TEST_DATA_DIR "/") + QString::fromLatin1(name);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Acts on the next modal window of type T to appear, from the event loop. The answer is
// recorded, so a test can look at what the program showed after the command returned.
template <typename T>
void whenModal(std::function<void(T *)> act)
{
    // The pending timer holds the poll; the poll only refers back to itself weakly, so it is
    // freed once it stops rescheduling.
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> self = poll;
    *poll = [act, tries, self] {
        if (auto *w = qobject_cast<T *>(QApplication::activeModalWidget()); w && w->isVisible()) {
            act(w);
            return;
        }
        if (++*tries < 1500) {
            if (auto again = self.lock())
                QTimer::singleShot(10, [again] { (*again)(); });
        }
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

// Closes the next message box with `button`, keeping its text in *text.
void answerBox(QString *text, QMessageBox::StandardButton button = QMessageBox::Ok)
{
    whenModal<QMessageBox>([text, button](QMessageBox *box) {
        if (text)
            *text = box->text();
        if (QAbstractButton *b = box->button(button))
            b->click();
        else
            box->reject();
    });
}

// Fills the fields of the next table dialog and presses its OK button.
void fillDialog(const QStringList &texts, QString *title = nullptr)
{
    whenModal<FieldDialog>([texts, title](FieldDialog *d) {
        if (title)
            *title = d->windowTitle();
        for (int i = 0; i < texts.size(); ++i)
            d->field(i)->setText(texts[i]);
        d->accept();
    });
}

void acceptFile(const QString &path)
{
    whenModal<QFileDialog>([path](QFileDialog *d) {
        d->selectFile(path);
        static_cast<QDialog *>(d)->accept(); // the file dialog's own checks run
    });
}

// Notes whether a window was ever shown.
class ShowSpy : public QObject {
public:
    explicit ShowSpy(QWidget *w) { w->installEventFilter(this); }
    bool shown = false;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        shown = shown || e->type() == QEvent::Show;
        return false;
    }
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A settings file of the test's own: ctest may run tests of this suite side by side.
        qputenv("ZOLM_SETTINGS", dir.filePath(QStringLiteral("settings.ini")).toUtf8());
        SettingsStore(SettingsStore::defaultIniPath()).writeString(QStringLiteral("comport"), QStringLiteral("SIM"));
        frame = std::make_unique<CMainFrame>();
        frame->resize(1200, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override
    {
        frame->document().setModified(false);
        frame.reset();
        qputenv("ZOLM_SETTINGS", ZOLM_TEST_SETTINGS);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    CNDravikView &view() { return *frame->view(); }
    SurveyTable &table() { return frame->table(); }
    QString cell(int row, int column) { return view().model()->index(row, column).data().toString(); }
    bool shown(int templateId) { return frame->bar(templateId) && !frame->bar(templateId)->isHidden(); }
    QString buttonText(int id)
    {
        return frame->findChild<QToolButton *>(QStringLiteral("button%1").arg(id))->text();
    }
    void run(int command) { frame->command(command)->trigger(); }
    void open(const char *name = "small.ZLM") { ASSERT_TRUE(frame->openDocument(data(name), false)); }
    bool pointChecked(int p) const
    {
        return (frame->document().survey().flags[static_cast<std::size_t>(p)] & PointFlag::Checked) != 0;
    }
    // 40 synthetic points as a probe read gives them, checked, 10 m apart; point 5's total
    // field reads 0.01 high.
    void loadSurvey()
    {
        const auto s = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(40));
        frame->document().loadFromProbe(s.parameters.bytes, s.data.bytes);
        for (std::size_t i = 0; i < 40; ++i) {
            frame->document().survey().flags[i] |= PointFlag::Checked;
            frame->document().survey().depth[i] = 10.0 * static_cast<double>(i + 1);
        }
        frame->document().survey().values[5][TotalField] += 0.01;
        view().refillTable();
    }
    QVariant rowData(int point, int role) { return view().model()->index(table().rowForPoint(point), ColTime).data(role); }
    // The site dialog's answer: the site, then OK or the button that also sets the declination.
    void enterSite(bool setDeclination)
    {
        whenModal<SiteDialog>([setDeclination](SiteDialog *d) {
            d->latitudeBox()->setValue(36.5);
            d->longitudeBox()->setValue(117.0);
            d->heightBox()->setValue(50);
            d->dateBox()->setDate(QDate(2026, 3, 14));
            QAbstractButton *ok = d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            (setDeclination ? d->setDeclinationButton() : ok)->click();
        });
        run(CMainFrame::CmdSite);
    }

    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(MainWindow, StartsWithoutDataThenOpensAFileWithItsCaptionsAndBars)
{
    EXPECT_EQ(view().model()->rowCount(), 0);
    for (const int bar : {128, 135, 131, 130, 134})
        EXPECT_TRUE(shown(bar)) << bar;
    for (const int bar : {137, 139, 138, 150})
        EXPECT_FALSE(shown(bar)) << bar;
    EXPECT_EQ(frame->bar(162), nullptr); // no trajectory program here
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("无标题")));
    EXPECT_EQ(frame->portBox()->currentText(), QStringLiteral("SIM"));

    open();
    const int n = frame->document().pointCount();
    ASSERT_GT(n, 0);
    EXPECT_EQ(view().model()->rowCount(), n);
    for (const int bar : {137, 139, 138, 150})
        EXPECT_TRUE(shown(bar)) << bar;
    EXPECT_EQ(view().model()->headerData(ColDepth, Qt::Horizontal).toString(), QStringLiteral("测  深"));
    EXPECT_EQ(view().columnWidth(ColCheck), 21);
    EXPECT_EQ(view().columnWidth(ColTemperature), 100);
    EXPECT_TRUE(view().font().families().contains(QStringLiteral("WenQuanYi Micro Hei")));
    // The model shows the table logic's texts and checks, row by row.
    for (int r = 0; r < n; ++r) {
        EXPECT_EQ(cell(r, ColTime).toStdString(), table().cellText(r, ColTime));
        EXPECT_EQ(cell(r, ColTotalField).toStdString(), table().cellText(r, ColTotalField));
        EXPECT_EQ(view().model()->index(r, ColCheck).data(Qt::CheckStateRole).toInt() == Qt::Checked,
                  table().isRowChecked(r));
    }
    EXPECT_EQ(view().currentIndex().row(), 0);
    EXPECT_EQ(buttonText(CMainFrame::CmdCrew), crewCaption(table().crewText()));
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("small.ZLM")));
    EXPECT_EQ(frame->recentFiles().value(0), QFileInfo(data("small.ZLM")).absoluteFilePath());

    // A new document has no rows left over from the survey before it.
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(view().model()->rowCount(), 0);
    EXPECT_TRUE(frame->documentPath().isEmpty());
}

TEST_F(MainWindow, ReadsASurveyFromTheVirtualProbe)
{
    open(); // a saved file is open: the survey read must not be saved over it
    // Changes not saved: Cancel in the question aborts the read.
    run(CMainFrame::CmdCheckAll);
    QString question;
    answerBox(&question, QMessageBox::Cancel);
    run(CMainFrame::CmdReadProbe);
    EXPECT_FALSE(question.isEmpty());
    EXPECT_FALSE(frame->probe()->busy());
    answerBox(nullptr, QMessageBox::No);

    QString result;
    answerBox(&result);
    ShowSpy progress(frame->probe()->progressWindow());
    run(CMainFrame::CmdReadProbe);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !result.isEmpty(); }, 20000));
    EXPECT_EQ(result, QStringLiteral("探管中的数据已成功读出到表格中。"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().model()->rowCount() == 28; }, 5000));
    EXPECT_TRUE(shown(139));
    EXPECT_TRUE(progress.shown);
    // A survey just read is new and unsaved: closing asks, and saving asks for a name.
    EXPECT_TRUE(frame->document().isModified());
    EXPECT_TRUE(frame->documentPath().isEmpty());
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("无标题[*]")));
}

TEST_F(MainWindow, TicksHidesReversesAndFillsDepthsOfTickedPoints)
{
    open();
    const int n = frame->document().pointCount();
    ASSERT_GE(n, 5);
    run(CMainFrame::CmdCheckNone);
    // A click on a check box ticks the row's point.
    for (const int r : {0, 2, 3}) {
        const QRect box = view().visualRect(view().model()->index(r, ColCheck));
        QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, box.center());
    }
    EXPECT_TRUE(pointChecked(0) && pointChecked(2) && pointChecked(3));
    EXPECT_FALSE(pointChecked(1));
    EXPECT_TRUE(frame->document().isModified());

    // A refused start depth keeps the dialog open; the corrected one fills 100, 70, 40.
    QString refusal;
    whenModal<FieldDialog>([&](FieldDialog *d) {
        d->field(0)->setText(QStringLiteral("29.9"));
        answerBox(&refusal);
        d->accept();
        EXPECT_TRUE(d->isVisible());
        d->field(0)->setText(QStringLiteral("100"));
        d->accept();
    });
    run(CMainFrame::CmdAutoDepth);
    EXPECT_EQ(refusal, rangeMessage(Range::StartDepth));
    const auto &depth = frame->document().survey().depth;
    EXPECT_EQ(depth[0], 100.0);
    EXPECT_EQ(depth[2], 70.0);
    EXPECT_EQ(depth[3], 40.0);
    EXPECT_EQ(cell(2, ColDepth), QStringLiteral("70.00"));

    run(CMainFrame::CmdHideChecked);
    EXPECT_EQ(view().model()->rowCount(), n - 3);
    run(CMainFrame::CmdOnlyChecked);
    EXPECT_EQ(view().model()->rowCount(), 3);
    run(CMainFrame::CmdReverse);
    EXPECT_EQ(cell(0, ColDepth), QStringLiteral("40.00"));
    EXPECT_EQ(cell(0, ColPosition), QStringLiteral("0"));
    run(CMainFrame::CmdShowAll);
    EXPECT_EQ(view().model()->rowCount(), n);
    EXPECT_EQ(table().pointForRow(0), n - 1); // still reversed
    run(CMainFrame::CmdInvert);
    EXPECT_FALSE(pointChecked(0));
    EXPECT_TRUE(pointChecked(1));

    // Without a ticked point the command only says so.
    run(CMainFrame::CmdCheckNone);
    QString message;
    answerBox(&message);
    run(CMainFrame::CmdAutoDepth);
    EXPECT_EQ(message, autoDepthNothingCheckedMessage());
}

TEST_F(MainWindow, HeaderFieldsSetTheirCaptions)
{
    open();
    // Eight Chinese characters are 16 bytes: refused, the dialog stays; seven are taken.
    QString refusal;
    whenModal<FieldDialog>([&](FieldDialog *d) {
        EXPECT_EQ(d->field(0)->maxLength(), 14);
        d->field(0)->setText(QStringLiteral("一二三四五六七八"));
        answerBox(&refusal);
        d->accept();
        d->field(0)->setText(QStringLiteral("一二三四五六七"));
        d->accept();
    });
    run(CMainFrame::CmdCrew);
    EXPECT_EQ(refusal, tooLongMessage());
    EXPECT_EQ(buttonText(CMainFrame::CmdCrew), QStringLiteral("井队编号: 一二三四五六七"));

    // Text that GBK cannot hold is refused, never stored as '?'.
    QString unstorable;
    whenModal<FieldDialog>([&](FieldDialog *d) {
        d->field(0)->setText(QStringLiteral("W-\U0001F600"));
        answerBox(&unstorable);
        d->accept();
        EXPECT_TRUE(d->isVisible());
        d->reject();
    });
    run(CMainFrame::CmdWell);
    EXPECT_EQ(unstorable, notGbkMessage(QStringLiteral("\U0001F600")));
    EXPECT_EQ(table().wellText(), QStringLiteral("W%d-1")) << "cancelled: nothing stored";

    fillDialog({QStringLiteral("W-7")});
    run(CMainFrame::CmdWell);
    EXPECT_EQ(buttonText(CMainFrame::CmdWell), QStringLiteral("井号: W-7"));

    QString title;
    fillDialog({QStringLiteral("-0.123")}, &title);
    run(CMainFrame::CmdDeclination);
    EXPECT_EQ(title, QStringLiteral("输入磁偏角"));
    EXPECT_EQ(buttonText(CMainFrame::CmdDeclination), QStringLiteral("磁偏角: -0.12"));
    EXPECT_TRUE(frame->windowTitle().contains(QStringLiteral("[*]")));
    EXPECT_TRUE(frame->isWindowModified());
}

TEST_F(MainWindow, DepthIsEnteredByEnterAndByDoubleClickOnTheDepthCell)
{
    open();
    view().setCurrentIndex(view().model()->index(2, ColTime));
    QString refusal;
    QString title;
    whenModal<FieldDialog>([&](FieldDialog *d) {
        title = d->windowTitle();
        d->field(0)->setText(QStringLiteral("12000"));
        answerBox(&refusal);
        d->accept();
        EXPECT_TRUE(d->isVisible());
        d->field(0)->setText(QStringLiteral("12.5"));
        d->accept();
    });
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_EQ(title, QStringLiteral("输入测深数据(单位:米)"));
    EXPECT_EQ(refusal, rangeMessage(Range::Depth));
    EXPECT_EQ(cell(2, ColDepth), QStringLiteral("12.50"));

    // Double click: only the depth cell opens the dialog.
    const QPoint timeCell = view().visualRect(view().model()->index(3, ColTime)).center();
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, timeCell);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    fillDialog({QStringLiteral("0.004")});
    const QPoint depthCell = view().visualRect(view().model()->index(3, ColDepth)).center();
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, depthCell);
    EXPECT_EQ(frame->document().survey().depth[static_cast<std::size_t>(table().pointForRow(3))], 0.004);
    EXPECT_EQ(cell(3, ColDepth), QStringLiteral("0"));
}

TEST_F(MainWindow, ExportsInTheChosenFormat)
{
    open();
    // The stored default format gives the golden file.
    acceptFile(path("default"));
    run(CMainFrame::CmdExport);
    EXPECT_EQ(readAll(path("default.txt")), readAll(data("small.export.txt")));

    // Title on, comma, "时间" added at the end and moved up to the front.
    whenModal<CExportFormatDlg>([](CExportFormatDlg *d) {
        d->titleCheck()->setChecked(true);
        d->commaRadio()->setChecked(true);
        d->availableList()->findItems(QStringLiteral("时间"), Qt::MatchExactly).value(0)->setSelected(true);
        d->add();
        ASSERT_EQ(d->chosenList()->count(), 4);
        for (int i = 0; i < 3; ++i) {
            d->chosenList()->clearSelection();
            d->chosenList()->item(3 - i)->setSelected(true);
            d->up();
        }
        d->accept();
    });
    frame->document().setModified(false);
    run(CMainFrame::CmdExportFormat);
    EXPECT_TRUE(frame->document().isModified());
    acceptFile(path("chosen.txt"));
    run(CMainFrame::CmdExport);
    const QList<QByteArray> lines = readAll(path("chosen.txt")).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0].toStdString(), toGbk(QStringLiteral("时间,测深,井斜,磁方位\r")));
    EXPECT_EQ(lines[1], QByteArray("0.0,0.0,0.0,0.0\r"));
    EXPECT_TRUE(lines[2].startsWith(QByteArray::fromStdString(table().cellText(0, ColTime)) + ','));

    // Cancelling the save dialog writes nothing.
    whenModal<QFileDialog>([](QFileDialog *d) { d->reject(); });
    run(CMainFrame::CmdExport);
    EXPECT_FALSE(QFile::exists(path("DDData.txt")));
}

TEST_F(MainWindow, PrintLayoutsGiveTheirPagesAndOrientation)
{
    const std::vector<sim::Station> stations(60, sim::Station{10.0, 45.0, 0.0, 25.0});
    const auto survey = sim::makeSurvey(sim::CalibrationKind::Ideal, stations, {}, 600, 10);
    frame->document().loadFromProbe(survey.parameters.bytes, survey.data.bytes);
    view().refillTable();
    const int rows = table().rowCount();
    struct Case {
        const char *radio;
        int pages;
        QPageLayout::Orientation orientation;
    };
    const Case cases[] = {{"radio1031", (rows + 24) / 25, QPageLayout::Landscape},
                          {"radio1032", 1, QPageLayout::Landscape},
                          {"radio1470", (rows + 137) / 138, QPageLayout::Portrait}};
    for (const Case &c : cases) {
        auto *radio = frame->findChild<QRadioButton *>(QString::fromLatin1(c.radio));
        QTest::mouseClick(radio, Qt::LeftButton);
        EXPECT_EQ(frame->printing().printer().pageLayout().orientation(), c.orientation) << c.radio;
        int pages = -1;
        whenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog *d) {
            auto *preview = d->findChild<QPrintPreviewWidget *>();
            EXPECT_TRUE(QTest::qWaitFor([&] { return preview->pageCount() > 0; }, 5000));
            pages = preview->pageCount();
            d->reject();
        });
        run(CMainFrame::CmdBarPreview);
        EXPECT_EQ(pages, c.pages) << c.radio;
    }
    EXPECT_TRUE(frame->command(CMainFrame::CmdLayoutEconomy)->isChecked());
    EXPECT_FALSE(frame->command(CMainFrame::CmdLayoutMulti)->isChecked());

    // Print without a dialog, onto a PDF.
    QPrinter &printer = frame->printing().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("report.pdf"));
    run(CMainFrame::CmdPrintDirect);
    EXPECT_TRUE(readAll(path("report.pdf")).startsWith("%PDF"));
}

TEST_F(MainWindow, PortChangesOnTheBarAndInTheDialog)
{
    SettingsStore store(SettingsStore::defaultIniPath());
    // A device that cannot be opened: the reason is shown and nothing changes.
    QString message;
    answerBox(&message);
    frame->portChosenOnBar(QStringLiteral("/dev/zolm-no-such-port"));
    EXPECT_TRUE(message.contains(QStringLiteral("/dev/zolm-no-such-port")));
    EXPECT_EQ(frame->portBox()->currentText(), QStringLiteral("SIM"));
    EXPECT_EQ(store.readString(QStringLiteral("comport"), {}), QStringLiteral("SIM"));
    EXPECT_EQ(frame->probe()->portName(), QStringLiteral("SIM"));

    // A pseudo-terminal opens: it becomes the port everywhere, and SIM comes back the same way.
#ifdef _WIN32
    GTEST_SKIP() << "the rest needs a port that opens: a pseudo-terminal, which Windows does not have";
#else
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString pty = QString::fromLatin1(ptsname(master));
    whenModal<CPortSelectDlg>([&](CPortSelectDlg *d) {
        EXPECT_EQ(d->port(), QStringLiteral("SIM"));
        d->portBox()->setCurrentText(pty);
        d->accept();
    });
    run(CMainFrame::CmdSelectPort);
    EXPECT_EQ(frame->portBox()->currentText(), pty);
    EXPECT_EQ(store.readString(QStringLiteral("comport"), {}), pty);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->probe()->portName() == pty; }, 5000));
    frame->portChosenOnBar(QStringLiteral("SIM"));
    EXPECT_EQ(store.readString(QStringLiteral("comport"), {}), QStringLiteral("SIM"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->probe()->portName() == QStringLiteral("SIM"); }, 5000));
    ::close(master);
#endif
}

TEST_F(MainWindow, SavedSurveyReopensToTheSameBytesAndClosingAsks)
{
    ASSERT_TRUE(QFile::copy(data("small.ZLM"), path("a.ZLM")));
    ASSERT_TRUE(frame->openDocument(path("a.ZLM")));
    run(CMainFrame::CmdCheckAll);
    run(CMainFrame::CmdSave); // an opened survey is saved in place, without a dialog
    EXPECT_FALSE(frame->document().isModified());
    EXPECT_NE(readAll(path("a.ZLM")), readAll(data("small.ZLM")));

    ASSERT_TRUE(frame->openDocument(path("a.ZLM")));
    acceptFile(path("b"));
    run(CMainFrame::CmdSaveAs);
    EXPECT_EQ(readAll(path("b.ZLM")), readAll(path("a.ZLM")));
    EXPECT_EQ(frame->documentPath(), QFileInfo(path("b.ZLM")).absoluteFilePath());

    // Unsaved changes: Cancel keeps the window, No closes it without saving.
    run(CMainFrame::CmdInvert);
    QString question;
    answerBox(&question, QMessageBox::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(question.contains(QStringLiteral("b.ZLM")));
    answerBox(nullptr, QMessageBox::No);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(readAll(path("b.ZLM")), readAll(path("a.ZLM")));
}

TEST_F(MainWindow, AFileThatIsNotExactlyASurveyIsOnlySavedUnderAnotherName)
{
    QByteArray bytes = readAll(data("small.ZLM"));
    bytes.append("trailing");
    QFile f(path("odd.ZLM"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    // Dropped on the window, it opens with the warning.
    QString warning;
    answerBox(&warning);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path("odd.ZLM"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(view().viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(view().viewport(), &drop);
    EXPECT_TRUE(warning.contains(QStringLiteral("odd.ZLM"))) << warning.toStdString();
    EXPECT_GT(view().model()->rowCount(), 0);

    // Save goes to "save as"; the same name is refused, another one is taken.
    QString refusal;
    whenModal<QFileDialog>([&](QFileDialog *d) {
        d->selectFile(path("odd.ZLM"));
        answerBox(&refusal);
        acceptFile(path("fixed.ZLM"));
        static_cast<QDialog *>(d)->accept();
    });
    EXPECT_TRUE(frame->save());
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_EQ(readAll(path("odd.ZLM")), bytes);
    EXPECT_EQ(QFileInfo(path("fixed.ZLM")).size(), bytes.size() - 8);
}

TEST_F(MainWindow, TrajectoryProgramFoundAtStartIsLaunchedFromThere)
{
#ifdef _WIN32
    GTEST_SKIP() << "its stand-in program is a shell script whose execute bit is taken away and given";
#endif
    // The program is looked for in the current directory when the window is made.
    QFile program(path("caculate.exe"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\necho \"$0 $*\" > \"$(dirname \"$0\")/launched\"\n");
    program.close();
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    frame = std::make_unique<CMainFrame>();
    QDir::setCurrent(before); // later directory changes do not matter
    ASSERT_NE(frame->bar(162), nullptr);
    EXPECT_TRUE(frame->bar(162)->isHidden());
    open();
    EXPECT_FALSE(frame->bar(162)->isHidden());

    // Not executable: the launch fails with the program's message.
    QString message;
    answerBox(&message);
    run(CMainFrame::CmdTrajectory);
    EXPECT_EQ(message, QStringLiteral("没有找到轨迹计算程序"));

    program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    run(CMainFrame::CmdTrajectory);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path("launched")); }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(readAll(path("launched")).trimmed(), (path("caculate.exe") + QStringLiteral(" 5038216")).toUtf8());
}

TEST_F(MainWindow, SiteIsStoredBesideTheFileAndSetsTheDeclinationThroughItsEdit)
{
    ASSERT_TRUE(QFile::copy(data("small.ZLM"), path("a.ZLM")));
    ASSERT_TRUE(frame->openDocument(path("a.ZLM")));
    enterSite(true);
    const auto field = siteField(*frame->site());
    ASSERT_TRUE(field);
    EXPECT_NEAR(frame->document().survey().header.declination(), field->declination, 1e-9);
    EXPECT_EQ(buttonText(CMainFrame::CmdDeclination), declinationCaption(field->declination));
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_EQ(readSite(path("a.ZLM")).site.value_or(Site{}).height, 50.0);

    // Opened again with its site; a broken site file is reported in the status bar and ignored.
    ASSERT_TRUE(frame->openDocument(path("a.ZLM"), false));
    EXPECT_EQ(frame->site().value_or(Site{}).latitude, 36.5);
    QFile(path("a.ZLM.site")).resize(10);
    ASSERT_TRUE(frame->openDocument(path("a.ZLM")));
    EXPECT_FALSE(frame->site());
    EXPECT_TRUE(frame->statusBar()->currentMessage().contains(QStringLiteral("井场文件")));
}

TEST_F(MainWindow, QcSwitchColoursFailingRowsAndTheSiteOfAnUnsavedSurveyWaitsForItsName)
{
    loadSurvey();
    const QString fieldText = cell(table().rowForPoint(5), ColTotalField);
    run(CMainFrame::CmdReverse); // the colour goes with the point, not the row
    run(CMainFrame::CmdQc);
    EXPECT_EQ(rowData(5, Qt::BackgroundRole).value<QColor>(), qcFailColour());
    const QString tip = rowData(5, Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(QStringLiteral("总磁场")) && tip.contains(QStringLiteral("偏差 +0.01"))) << tip.toStdString();
    EXPECT_FALSE(rowData(4, Qt::BackgroundRole).isValid());
    EXPECT_EQ(cell(table().rowForPoint(5), ColTotalField), fieldText);

    // With a site its model is the reference (this survey's field is not the model's). The
    // site is kept until the survey has a name, replacing a site file found there.
    enterSite(false);
    EXPECT_TRUE(rowData(4, Qt::ToolTipRole).toString().contains(QStringLiteral("井场地磁模型")));
    EXPECT_TRUE(frame->isWindowModified());
    ASSERT_TRUE(writeSite(path("c.ZLM"), Site{10, 20, 0, QDate(2025, 1, 1), {}}, nullptr));
    acceptFile(path("c"));
    run(CMainFrame::CmdSaveAs);
    EXPECT_EQ(readSite(path("c.ZLM")).site.value_or(Site{}).latitude, 36.5);
    run(CMainFrame::CmdQc);
    EXPECT_FALSE(rowData(5, Qt::BackgroundRole).isValid());
}

TEST_F(MainWindow, TrajectoryWindowFollowsDepthEditsAndNewSurveys)
{
    loadSurvey();
    run(CMainFrame::CmdTrajectoryWindow);
    ASSERT_TRUE(frame->trajectoryWindow() && frame->trajectoryWindow()->isVisible());
    QAbstractItemModel *stations = frame->trajectoryWindow()->table()->model();
    ASSERT_EQ(stations->rowCount(), 40);
    view().setCurrentIndex(view().model()->index(table().rowForPoint(39), ColTime));
    fillDialog({QStringLiteral("455")});
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_EQ(stations->index(39, StationModel::ColMd).data().toString(), QStringLiteral("455.00"));
    frame->document().setModified(false);
    run(CMainFrame::CmdNew);
    EXPECT_EQ(stations->rowCount(), 0);
}

TEST(AboutBox, KeepsTheOriginalVersionLineAndAddsTheProgramsOwn)
{
    CAboutDlg about;
    QStringList lines;
    for (const QLabel *l : about.findChildren<QLabel *>())
        lines << l->text();
    EXPECT_TRUE(lines.contains(QStringLiteral("nZOLM 1.01(120) 版 (200507250825)")));
    EXPECT_TRUE(lines.contains(programVersionLine()));
    EXPECT_FALSE(programIcon().isNull());
    EXPECT_TRUE(programVersionLine().endsWith(QStringLiteral(ZOLM_PROJECT_VERSION)));
}
