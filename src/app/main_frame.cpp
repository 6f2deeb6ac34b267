#include "app/main_frame.h"

#include "probe/port_choice.h"

#include "analysis/survey_warnings.h"
#include "analysis/trajectory.h"
#include "app/about_dialog.h"
#include "app/analysis/site_dialog.h"
#include "app/analysis/trajectory_window.h"
#include "app/export_dialogs.h"
#include "app/file_dialog.h"
#include "app/language_menu.h"
#include "app/manual_window.h"
#include "app/message_box.h"
#include "app/probe_ui.h"
#include "app/survey_view.h"
#include "app/table_dialogs.h"
#include "probe/probe_settings.h"
#include "session/recent_files.h"
#include "virtual_probe.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QProcess>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

namespace zolm::app {

namespace {

constexpr int WarningWidth = 420; // pixels of the status bar's warning
const char *const FrameTitle = QT_TRANSLATE_NOOP("zolm::app::CMainFrame", "VexmoorZOLM电子单多点测斜仪");
const char *const DocumentFilter = QT_TRANSLATE_NOOP("zolm::app::CMainFrame", "ZOLM文件 (*.ZLM)");
const char *const TrajectoryProgram = "caculate.exe";
const char *const TrajectoryCode = "5038216";

} // namespace

std::optional<QString> notExactlySurveyWarning(const QString &path, const CNDravikDoc &doc)
{
    if (doc.openedExactly())
        return std::nullopt;
    return QCoreApplication::translate("zolm::app::CMainFrame",
                                       "文件 %1 不完全是一个测斜数据文件（%2），已尽量读出其中的数据。\n\n"
                                       "为保护原文件，保存时只能另存为其它文件名。")
        .arg(QDir::toNativeSeparators(path), doc.inexactReason());
}

CMainFrame::CMainFrame(QWidget *parent) : QMainWindow(parent)
{
    setWindowIcon(programIcon());
    m_printing = new ReportPrinting(this);
    m_startDirectory = QDir::currentPath();
    m_trajectoryAvailable = QFileInfo::exists(QDir(m_startDirectory).filePath(QString::fromLatin1(TrajectoryProgram)));

    m_view = new CNDravikView(m_session.table(), this);
    setCentralWidget(m_view);

    createCommands();
    createMenus();
    createBars();
    createStatusBar();
    connectView();

    m_probe = std::make_unique<ProbeController>(this, probe::portInUse(m_settings));
    connect(m_probe.get(), &ProbeController::surveyRead, this,
            [this](std::shared_ptr<const ProbeImages> images) { surveyRead(images); });
    connect(m_probe.get(), &ProbeController::statusText, this,
            [this](const QString &text) { statusBar()->showMessage(text); });

    setAcceptDrops(true);
    m_printing->setDefaultOrientation(ReportLayout::MultiPoint);
    m_view->refillTable();
    updateTitle();
}

CMainFrame::~CMainFrame()
{
    // The worker stops before the windows it reports to go, and the table's view goes
    // before the table and the document it shows.
    m_probe.reset();
    delete m_view;
    m_view = nullptr;
}

QAction *CMainFrame::addCommand(int id, const QString &text, const QString &prompt)
{
    auto *a = new QAction(text, this);
    a->setObjectName(QStringLiteral("command%1").arg(id));
    if (!prompt.isEmpty())
        a->setStatusTip(prompt);
    m_commands.insert(id, a);
    return a;
}

void CMainFrame::createCommands()
{
    connect(addCommand(CmdOpen, tr("打开(&O)..."), tr("打开一个现有文档")),
            &QAction::triggered, this, [this] {
                FileDialog dialog(this, QString(), tr(DocumentFilter));
                dialog.setAcceptMode(QFileDialog::AcceptOpen);
                dialog.setFileMode(QFileDialog::ExistingFile);
                if (!maybeSave() || dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                    return;
                openDocument(dialog.selectedFiles().first(), false);
            });
    command(CmdOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(addCommand(CmdNew, tr("新建(&N)")), &QAction::triggered, this, [this] { newDocument(); });
    command(CmdNew)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    addAction(command(CmdNew)); // no menu item; the key alone
    connect(addCommand(CmdSave, tr("保存(&S)"), tr("保存活动文档")), &QAction::triggered,
            this, [this] { save(); });
    command(CmdSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(addCommand(CmdSaveAs, tr("另存为(&A)..."), tr("用新名称保存活动文档")),
            &QAction::triggered, this, [this] { saveAs(); });
    connect(addCommand(CmdExport, tr("导出数据"), tr("按设定的格式导出数据文件")),
            &QAction::triggered, this, &CMainFrame::exportData);
    connect(addCommand(CmdExportFormat, tr("设定导出数据格式"), tr("设定导出数据格式")),
            &QAction::triggered, this, &CMainFrame::exportFormat);
    connect(addCommand(CmdPrint, tr("打印(&P)..."), tr("打印活动文档")), &QAction::triggered,
            this, [this] { m_printing->print(this, table()); });
    command(CmdPrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(addCommand(CmdPrintDirect, tr("直接打印")), &QAction::triggered, this,
            [this] { m_printing->printDirect(this, table()); });
    connect(addCommand(CmdPrintPreview, tr("打印预览(&V)"), tr("显示整页")),
            &QAction::triggered, this, [this] { m_printing->preview(this, table()); });
    connect(addCommand(CmdBarPrint, tr("打印")), &QAction::triggered, this,
            [this] { m_printing->print(this, table()); });
    connect(addCommand(CmdBarPreview, tr("打印预览")), &QAction::triggered, this,
            [this] { m_printing->preview(this, table()); });
    connect(addCommand(CmdPrintSetup, tr("打印设置(&R)..."), tr("改变打印机及打印选项")),
            &QAction::triggered, this, [this] {
                QPageSetupDialog dialog(&m_printing->printer(), this);
                dialog.exec();
            });

    auto *layouts = new QActionGroup(this);
    const struct {
        int id;
        const char *text;
        ReportLayout layout;
    } layoutCommands[] = {{CmdLayoutMulti, QT_TR_NOOP("选多点方式打印"), ReportLayout::MultiPoint},
                          {CmdLayoutSingle, QT_TR_NOOP("选单点方式打印"), ReportLayout::SinglePoint},
                          {CmdLayoutEconomy, QT_TR_NOOP("选经济方式打印"), ReportLayout::Economy}};
    for (const auto &c : layoutCommands) {
        QAction *a = addCommand(c.id, tr(c.text));
        a->setCheckable(true);
        layouts->addAction(a);
        const ReportLayout layout = c.layout;
        connect(a, &QAction::triggered, this, [this, layout] { setPrintLayout(layout); });
    }
    command(CmdLayoutMulti)->setChecked(true);

    connect(addCommand(CmdExit, tr("退出(&X)"), tr("退出应用程序；提示保存文档")),
            &QAction::triggered, this, &QWidget::close);

    const auto probeCommand = [this](int id, const char *text, void (ProbeController::*op)()) {
        QAction *a = addCommand(id, tr(text));
        connect(a, &QAction::triggered, this, [this, op] { (m_probe.get()->*op)(); });
        return a;
    };
    probeCommand(CmdProbeSettings, QT_TR_NOOP("设置探管"), &ProbeController::probeSettings);
    probeCommand(CmdProbeInfo, QT_TR_NOOP("探管信息"), &ProbeController::probeInfo)->setShortcut(Qt::Key_F2);
    probeCommand(CmdRealTime, QT_TR_NOOP("实时输出"), &ProbeController::realTime)->setShortcut(Qt::Key_F4);
    probeCommand(CmdLinkTest, QT_TR_NOOP("测试通讯口"), &ProbeController::linkTest);
    connect(addCommand(CmdReadProbe, tr("读取探管")), &QAction::triggered, this, [this] {
        // Without a port there is nothing to read: the question about saving would be in vain.
        if (m_probe->portChosen() && maybeSave())
            m_probe->readData();
    });
    command(CmdReadProbe)->setShortcut(Qt::Key_F3);
    connect(addCommand(CmdSelectPort, tr("选择通讯口")), &QAction::triggered, this,
            &CMainFrame::selectPortDialog);

    const auto viewCommand = [this](int id, const char *text, const char *prompt, void (CNDravikView::*op)()) {
        connect(addCommand(id, tr(text), tr(prompt)), &QAction::triggered, this,
                [this, op] { (m_view->*op)(); });
    };
    viewCommand(CmdCrew, QT_TR_NOOP("井队编号"), QT_TR_NOOP("修改井队编号"), &CNDravikView::editCrew);
    viewCommand(CmdWell, QT_TR_NOOP("井号"), QT_TR_NOOP("修改井号"), &CNDravikView::editWell);
    viewCommand(CmdDeclination, QT_TR_NOOP("磁偏角"), QT_TR_NOOP("修改磁偏角"), &CNDravikView::editDeclination);
    viewCommand(CmdAutoDepth, QT_TR_NOOP("自动井深"), QT_TR_NOOP("对选择的数据自动生成井深"), &CNDravikView::autoDepth);
    connect(addCommand(CmdImportTally, tr("导入井深记录..."), tr("按司钻的井深记录（时间 井深）为各测点停留填入井深")),
            &QAction::triggered, this, &CMainFrame::importTally);
    viewCommand(CmdCheckAll, QT_TR_NOOP("选择全部数据"), QT_TR_NOOP("选择全部数据"), &CNDravikView::checkAll);
    viewCommand(CmdCheckNone, QT_TR_NOOP("全部不选择"), QT_TR_NOOP("全部不选择"), &CNDravikView::checkNone);
    viewCommand(CmdInvert, QT_TR_NOOP("反向选择"), QT_TR_NOOP("反向选择"), &CNDravikView::invertChecks);
    connect(addCommand(CmdPickStations, tr("自动选点"),
                       tr("找出探管停留的测站，每个测站勾选一个代表测点，其余测点取消勾选")),
            &QAction::triggered, this, [this] { m_view->pickStations(); });
    viewCommand(CmdReverse, QT_TR_NOOP("颠倒顺序"), QT_TR_NOOP("颠倒顺序"), &CNDravikView::reverseOrder);
    const auto modeCommand = [this](int id, const char *text, const char *prompt, DisplayMode mode) {
        connect(addCommand(id, tr(text), tr(prompt)), &QAction::triggered, this,
                [this, mode] { m_view->showPoints(mode); });
    };
    modeCommand(CmdHideChecked, QT_TR_NOOP("隐藏选择的数据"), QT_TR_NOOP("隐藏选择的数据"), DisplayMode::HideChecked);
    modeCommand(CmdOnlyChecked, QT_TR_NOOP("只显示选择的数据"), QT_TR_NOOP("只显示选择的数据(隐藏未选择的数据)"), DisplayMode::OnlyChecked);
    modeCommand(CmdShowAll, QT_TR_NOOP("显示全部数据"), QT_TR_NOOP("显示全部数据"), DisplayMode::AllPoints);

    // F6 and Shift+F6 go between the table and the bars' controls.
    auto *nextPane = new QAction(this);
    nextPane->setShortcut(Qt::Key_F6);
    connect(nextPane, &QAction::triggered, this, [this] { switchPane(false); });
    auto *previousPane = new QAction(this);
    previousPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(previousPane, &QAction::triggered, this, [this] { switchPane(true); });
    addActions({nextPane, previousPane});

    connect(addCommand(CmdTrajectory, tr("轨迹计算")), &QAction::triggered, this,
            &CMainFrame::launchTrajectory);
    connect(addCommand(CmdSite, tr("井场..."), tr("设定井场位置和测量日期，由地磁模型得到磁偏角")),
            &QAction::triggered, this, &CMainFrame::editSite);
    QAction *qc = addCommand(CmdQc, tr("质量检查"), tr("用颜色标出质量检查不合格的测点"));
    qc->setCheckable(true);
    connect(qc, &QAction::toggled, this, &CMainFrame::setQcShown);
    connect(addCommand(CmdReportPrint, tr("打印测斜报告..."), tr("打印测斜报告：井场、测点、质量检查、警告和签字栏")),
            &QAction::triggered, this, &CMainFrame::printSurveyReport);
    connect(addCommand(CmdReportPreview, tr("测斜报告预览"), tr("显示测斜报告的整页")), &QAction::triggered, this,
            &CMainFrame::previewSurveyReport);
    connect(addCommand(CmdReportPdf, tr("测斜报告另存为PDF..."), tr("把测斜报告保存为PDF文件")), &QAction::triggered,
            this, &CMainFrame::saveSurveyReportPdf);
    connect(addCommand(CmdTrajectoryWindow, tr("井眼轨迹"), tr("显示井眼轨迹的测点表、水平投影图和垂直剖面图")),
            &QAction::triggered, this, &CMainFrame::showTrajectoryWindow);
    addCommand(CmdHelp, tr("帮助主题(&H)"))->setShortcut(Qt::Key_F1);
    // The manual is built into the program: no installed file is needed.
    connect(command(CmdHelp), &QAction::triggered, this, [this] { openManual(this); });
    installManualKey(this);
    connect(addCommand(CmdAbout, tr("关于 nDravik(&A)...")), &QAction::triggered, this, [this] {
        CAboutDlg about(this);
        about.exec();
    });
}

void CMainFrame::createMenus()
{
    QMenu *file = menuBar()->addMenu(tr("文件(&F)"));
    for (const int id : {CmdOpen, CmdSave, CmdSaveAs})
        file->addAction(command(id));
    file->addSeparator();
    file->addAction(command(CmdExport));
    file->addAction(command(CmdExportFormat));
    file->addSeparator();
    for (const int id : {CmdLayoutMulti, CmdLayoutSingle, CmdLayoutEconomy})
        file->addAction(command(id));
    file->addAction(command(CmdPrint));
    file->addAction(command(CmdPrintPreview));
    file->addAction(command(CmdPrintSetup));
    file->addSeparator();
    for (const int id : {CmdReportPrint, CmdReportPreview, CmdReportPdf})
        file->addAction(command(id));
    file->addSeparator();
    m_recentMenu = file->addMenu(tr("最近文件"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    file->addSeparator();
    file->addAction(command(CmdExit));
    updateRecentMenu();

    QMenu *edit = menuBar()->addMenu(tr("编辑(&E)"));
    for (const int id : {CmdCrew, CmdWell, CmdDeclination, CmdAutoDepth, CmdImportTally})
        edit->addAction(command(id));
    edit->addSeparator();
    for (const int id : {CmdCheckAll, CmdCheckNone, CmdInvert, CmdPickStations})
        edit->addAction(command(id));
    edit->addSeparator();
    for (const int id : {CmdReverse, CmdHideChecked, CmdOnlyChecked, CmdShowAll})
        edit->addAction(command(id));

    QMenu *probeMenu = menuBar()->addMenu(tr("探管(&P)"));
    for (const int id : {CmdLinkTest, CmdSelectPort})
        probeMenu->addAction(command(id));
    probeMenu->addSeparator();
    for (const int id : {CmdProbeSettings, CmdProbeInfo, CmdReadProbe, CmdRealTime})
        probeMenu->addAction(command(id));

    QMenu *analysis = menuBar()->addMenu(tr("分析(&A)"));
    for (const int id : {CmdSite, CmdQc, CmdTrajectoryWindow})
        analysis->addAction(command(id));

    QMenu *help = menuBar()->addMenu(tr("帮助(&H)"));
    help->addAction(command(CmdHelp));
    addLanguageMenu(help, m_settings);
    help->addAction(command(CmdAbout));

    // A closed menu leaves no prompt behind (its command, run after, may show its own text).
    for (QMenu *menu : menuBar()->findChildren<QMenu *>())
        connect(menu, &QMenu::aboutToHide, statusBar(), &QStatusBar::clearMessage);
}

QToolBar *CMainFrame::newBar(int templateId, const QString &title)
{
    auto *bar = new QToolBar(title, this);
    bar->setObjectName(QStringLiteral("bar%1").arg(templateId));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addToolBar(Qt::TopToolBarArea, bar);
    m_bars.insert(templateId, bar);
    return bar;
}

QToolButton *CMainFrame::barButton(QToolBar *bar, int id, const QString &text)
{
    auto *button = new QToolButton(bar);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setObjectName(QStringLiteral("button%1").arg(id));
    QAction *a = command(id);
    button->setStatusTip(a->statusTip());
    connect(button, &QToolButton::clicked, a, &QAction::trigger);
    bar->addWidget(button);
    return button;
}

void CMainFrame::createBars()
{
    // Row 1.
    barButton(newBar(128, tr("文件")), CmdOpen, tr("打开硬盘文件"));

    QToolBar *port = newBar(135, tr("通讯口"));
    port->addWidget(new QLabel(tr(" 通讯口 "), port));
    m_portBox = new PortBox(port);
    m_portBox->setObjectName(QStringLiteral("portBox"));
    m_portBox->setMinimumContentsLength(10);
    port->addWidget(m_portBox);
    barButton(port, CmdLinkTest, tr("测试端口"));

    QToolBar *settings = newBar(131, tr("探管"));
    barButton(settings, CmdProbeSettings, tr("设置探管"));
    barButton(settings, CmdProbeInfo, tr("探管信息"));
    barButton(newBar(130, tr("读取")), CmdReadProbe, tr("读取探管采集数据"));
    barButton(newBar(134, tr("实时")), CmdRealTime, tr("实时输出数据"));
    if (m_trajectoryAvailable)
        m_dataBars << newBar(162, tr("轨迹"));
    if (m_trajectoryAvailable)
        barButton(m_dataBars.last(), CmdTrajectory, tr("轨迹计算"));

    // Row 2.
    addToolBarBreak(Qt::TopToolBarArea);
    QToolBar *editing = newBar(137, tr("编辑"));
    m_dataBars << editing;
    barButton(editing, CmdReverse, tr("颠倒顺序"));
    barButton(editing, CmdCheckAll, tr("全选"));
    barButton(editing, CmdCheckNone, tr("全不选"));
    barButton(editing, CmdInvert, tr("反选"));
    barButton(editing, CmdPickStations, tr("自动选点"));
    barButton(editing, CmdHideChecked, tr("隐藏选择"));
    barButton(editing, CmdOnlyChecked, tr("显示选择"));
    barButton(editing, CmdShowAll, tr("全部显示"));

    QToolBar *print = newBar(139, tr("打印"));
    m_dataBars << print;
    print->addWidget(new QLabel(tr(" 打印方式 "), print));
    m_layoutRadios = new QButtonGroup(this);
    const struct {
        int id;
        const char *text;
        ReportLayout layout;
    } radios[] = {{1031, QT_TR_NOOP("多点"), ReportLayout::MultiPoint},
                  {1032, QT_TR_NOOP("单点"), ReportLayout::SinglePoint},
                  {1470, QT_TR_NOOP("经济"), ReportLayout::Economy}};
    for (const auto &r : radios) {
        auto *radio = new QRadioButton(tr(r.text), print);
        radio->setObjectName(QStringLiteral("radio%1").arg(r.id));
        m_layoutRadios->addButton(radio, static_cast<int>(r.layout));
        print->addWidget(radio);
    }
    m_layoutRadios->button(0)->setChecked(true);
    connect(m_layoutRadios, &QButtonGroup::idClicked, this,
            [this](int id) { setPrintLayout(static_cast<ReportLayout>(id)); });
    barButton(print, CmdBarPreview, tr("打印预览"));
    barButton(print, CmdBarPrint, tr("打印"));
    barButton(print, CmdExport, tr("导出数据"));
    barButton(print, CmdExportFormat, tr("导出格式"));

    // Row 3.
    addToolBarBreak(Qt::TopToolBarArea);
    QToolBar *header = newBar(138, tr("表头"));
    m_dataBars << header;
    m_crewButton = barButton(header, CmdCrew, tr("井队编号:ABCDEFGHIJKLM"));
    m_wellButton = barButton(header, CmdWell, tr("井号"));
    m_declinationButton = barButton(header, CmdDeclination, tr("磁偏角: 1580.01"));
    barButton(header, CmdAutoDepth, tr("自动生成井深"));

    QToolBar *mode = newBar(150, tr("显示方式"));
    m_dataBars << mode;
    mode->addWidget(new QLabel(tr(" 显示方式 "), mode));
    auto *averaging = new QComboBox(mode);
    averaging->addItems({tr("原始数据"), tr("5组平均"), tr("10组平均"),
                         tr("20组平均"), tr("30组平均"), tr("60组平均")});
    averaging->setCurrentIndex(0);
    averaging->setEnabled(false);
    mode->addWidget(averaging);

    QToolBar *analysis = newBar(AnalysisBar, tr("分析"));
    m_dataBars << analysis;
    barButton(analysis, CmdSite, tr("井场"));
    analysis->addAction(command(CmdQc)); // its button shows the switch's state
    barButton(analysis, CmdTrajectoryWindow, tr("井眼轨迹"));

    showDataBars(false);

    // The stored port, selected by a case-insensitive prefix match; another name stays as typed.
    const QString stored = probe::portInUse(m_settings);
    int found = -1;
    for (int i = 0; i < m_portBox->count() && found < 0 && !stored.isEmpty(); ++i)
        if (m_portBox->itemText(i).startsWith(stored, Qt::CaseInsensitive))
            found = i;
    if (found >= 0)
        m_portBox->setCurrentIndex(found);
    else
        m_portBox->setCurrentText(stored);
    // A chosen item and a typed name take the same road: Enter, or leaving the box.
    connect(m_portBox, &QComboBox::textActivated, this, &CMainFrame::portChosenOnBar);
    connect(m_portBox->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { portChosenOnBar(m_portBox->currentText()); });
}

void CMainFrame::createStatusBar()
{
    // Left of the key indicators; empty while the survey gives nothing to warn of.
    m_warnings = new QLabel(this);
    m_warnings->setObjectName(QStringLiteral("surveyWarnings"));
    m_warnings->setTextFormat(Qt::PlainText);
    QPalette warningColours = m_warnings->palette();
    warningColours.setColor(QPalette::WindowText, QColor(160, 40, 0));
    m_warnings->setPalette(warningColours);
    statusBar()->addPermanentWidget(m_warnings);
    for (const char *indicator : {QT_TR_NOOP("大写"), QT_TR_NOOP("数字"), QT_TR_NOOP("滚动")}) {
        auto *label = new QLabel(tr(indicator), this);
        label->setEnabled(false);
        statusBar()->addPermanentWidget(label);
    }
    // Whenever no prompt or message is up (a prompt goes when the pointer leaves its item or
    // its menu closes), the bar says it is ready.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString &text) {
        if (text.isEmpty())
            statusBar()->showMessage(idleText());
    });
    statusBar()->showMessage(idleText());
}

QString CMainFrame::idleText()
{
    return tr("就绪");
}

void CMainFrame::switchPane(bool backwards)
{
    // The bars' controls that take the focus, in the order Tab visits them from the table.
    QList<QWidget *> controls;
    for (QWidget *w = m_view->nextInFocusChain(); w && w != m_view; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled() && !w->focusProxy()
            && qobject_cast<QToolBar *>(w->parentWidget()))
            controls << w;
    }
    QWidget *focus = QApplication::focusWidget();
    const bool inTable = !focus || focus == m_view || m_view->isAncestorOf(focus);
    if (inTable && !controls.isEmpty())
        (backwards ? controls.last() : controls.first())->setFocus(Qt::ShortcutFocusReason);
    else
        m_view->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::connectView()
{
    connect(m_view, &CNDravikView::dataShown, this, [this] { showDataBars(true); });
    connect(m_view, &CNDravikView::crewCaptionChanged, this, &CMainFrame::setCrewCaption);
    connect(m_view, &CNDravikView::wellCaptionChanged, this, &CMainFrame::setWellCaption);
    connect(m_view, &CNDravikView::declinationCaptionChanged, this, &CMainFrame::setDeclinationCaption);
    connect(m_view, &CNDravikView::modifiedChanged, this, &CMainFrame::updateTitle);
    connect(m_view, &CNDravikView::surveyChanged, this, &CMainFrame::refreshAnalysis);
}

void CMainFrame::showDataBars(bool show)
{
    for (QToolBar *bar : std::as_const(m_dataBars))
        bar->setVisible(show);
}

namespace {

// A button shows '&' as the mark of its shortcut letter; a caption's own '&' shows as it is.
QString buttonText(QString caption)
{
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void CMainFrame::setCrewCaption(const QString &caption)
{
    m_crewButton->setText(buttonText(caption));
}

void CMainFrame::setWellCaption(const QString &caption)
{
    m_wellButton->setText(buttonText(caption));
}

void CMainFrame::setDeclinationCaption(const QString &caption)
{
    m_declinationButton->setText(buttonText(caption));
}

QString CMainFrame::selectedPort() const
{
    return m_portBox->currentText().trimmed();
}

void CMainFrame::setPrintLayout(ReportLayout layout)
{
    m_printing->setDefaultOrientation(layout);
    const int id = layout == ReportLayout::MultiPoint    ? CmdLayoutMulti
                   : layout == ReportLayout::SinglePoint ? CmdLayoutSingle
                                                         : CmdLayoutEconomy;
    command(id)->setChecked(true);
    m_layoutRadios->button(static_cast<int>(layout))->setChecked(true);
    m_session.table().setPrintLayout(layout);
    m_view->setFocus();
}

QString CMainFrame::documentName() const
{
    return m_session.path().isEmpty() ? tr("无标题") : QFileInfo(m_session.path()).fileName();
}

void CMainFrame::updateTitle()
{
    setWindowTitle(documentName() + QStringLiteral("[*] - ") + tr(FrameTitle));
    setWindowModified(m_session.isModified());
}

bool CMainFrame::maybeSave()
{
    if (!m_session.isModified())
        return true;
    const QString name = documentName();
    ProgramMessageBox box(QMessageBox::Warning, applicationTitle(), tr("是否保存对 %1 的修改？").arg(name),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText(tr("是(&Y)"));
    box.button(QMessageBox::No)->setText(tr("否(&N)"));
    box.button(QMessageBox::Cancel)->setText(tr("取消"));
    switch (box.exec()) {
    case QMessageBox::Yes: return save();
    case QMessageBox::No: return true;
    default: return false;
    }
}

bool CMainFrame::openDocument(const QString &path, bool ask)
{
    if (ask && !maybeSave())
        return false;
    if (const Done opened = m_session.open(path); !opened) {
        showProgramError(this, opened.error());
        return false;
    }
    const auto warning = notExactlySurveyWarning(path, m_session.document());
    addRecentFile(m_session.path());
    showNewSurvey();
    updateTitle();
    // A broken site does not stop the survey: it is reported and left alone.
    if (!m_session.siteError().isEmpty())
        statusBar()->showMessage(m_session.siteError());
    if (warning)
        showOverWindow(*warning);
    return true;
}

bool CMainFrame::newDocument()
{
    if (!maybeSave())
        return false;
    m_session.newDocument();
    setQcShown(false); // nothing to check yet
    showNewSurvey();
    updateTitle();
    return true;
}

void CMainFrame::showOverWindow(const QString &text)
{
    if (isVisible()) {
        showProgramMessage(this, text);
        return;
    }
    // Opened at start-up, before the window is up: the message waits until the window is on
    // the screen, so that it appears over it rather than alone before it.
    m_messageWhenUp = text;
    installEventFilter(this);
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_messageWhenUp.isEmpty()) {
        if (watched == this && event->type() == QEvent::Show && windowHandle()) {
            removeEventFilter(this);
            windowHandle()->installEventFilter(this);
        } else if (watched == windowHandle()
                   && ((event->type() == QEvent::Expose && windowHandle()->isExposed()) || event->type() == QEvent::Resize)) {
            // Once the window has been placed and drawn, and the window manager has stopped
            // resizing it (a maximised window may first be drawn at its normal size): the box
            // is centred over the window as it stays.
            auto *settle = findChild<QTimer *>(QStringLiteral("messageWhenUp"));
            if (!settle) {
                settle = new QTimer(this);
                settle->setObjectName(QStringLiteral("messageWhenUp"));
                settle->setSingleShot(true);
                settle->setInterval(200);
                connect(settle, &QTimer::timeout, this, [this, settle] {
                    windowHandle()->removeEventFilter(this);
                    settle->deleteLater();
                    const QString text = std::exchange(m_messageWhenUp, QString());
                    if (!text.isEmpty())
                        showProgramMessage(this, text);
                });
            }
            if (windowHandle()->isExposed())
                settle->start();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QString CMainFrame::askSaveName()
{
    const QString current = m_session.path();
    FileDialog dialog(this, current.isEmpty() ? QString() : QFileInfo(current).absolutePath(),
                      tr(DocumentFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("ZLM"));
    if (!m_session.needsName())
        dialog.selectFile(QFileInfo(current).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool CMainFrame::saveTo(const QString &path)
{
    if (const Done saved = m_session.saveTo(path); !saved) {
        showProgramError(this, saved.error());
        return false;
    }
    addRecentFile(m_session.path());
    updateTitle();
    return true;
}

bool CMainFrame::save()
{
    if (m_session.needsName())
        return saveAs();
    return saveTo(m_session.path());
}

bool CMainFrame::saveAs()
{
    for (;;) {
        const QString path = askSaveName();
        if (path.isEmpty())
            return false;
        // The file that was not exactly a survey is kept as it is.
        if (m_session.keepsOriginal(path)) {
            showProgramMessage(this, tr("请另选一个文件名保存，原文件保持不变。"));
            continue;
        }
        return saveTo(path);
    }
}

void CMainFrame::surveyRead(const std::shared_ptr<const ProbeImages> &images)
{
    if (!images)
        return;
    m_session.takeProbeRead(images->parameters.bytes, images->data.bytes);
    m_view->refillTable();
    updateTitle();
}

void CMainFrame::showNewSurvey()
{
    // A survey without points leaves the table as it was; its rows would then show points
    // the new document does not have, so they go, and so do the captions of its header.
    if (!m_view->refillTable()) {
        m_view->showPoints(DisplayMode::AllPoints);
        const SurveyTable &table = m_session.table();
        setCrewCaption(crewCaption(table.crewText()));
        setWellCaption(wellCaption(table.wellText()));
        setDeclinationCaption(declinationCaption(table.declinationForDialog()));
    }
}

void CMainFrame::exportData()
{
    app::exportData(this, m_session.table(), m_settings);
    m_view->setFocus();
}

void CMainFrame::exportFormat()
{
    CExportFormatDlg dialog(m_settings, this);
    dialog.exec();
    m_session.table().exportFormatClosed();
    updateTitle();
    m_view->setFocus();
}

void CMainFrame::selectPortDialog()
{
    QString chosen = m_probe->portName();
    CPortSelectDlg dialog(chosen, storedVerifyRead(m_settings), this);
    if (dialog.exec() == QDialog::Accepted) {
        chosen = dialog.port();
        storeVerifyRead(m_settings, dialog.verifyRead());
    }
    changePort(chosen);
}

void CMainFrame::portChosenOnBar(const QString &port)
{
    changePort(port.trimmed());
}

void CMainFrame::showPortInBox(const QString &port)
{
    const int i = m_portBox->findText(port);
    if (i >= 0)
        m_portBox->setCurrentIndex(i);
    else
        m_portBox->setCurrentText(port);
}

bool CMainFrame::changePort(const QString &chosen)
{
    // The port in use: the stored one, or the USB adapter taken while none is stored.
    const QString current = m_probe->portName();
    if (chosen.isEmpty() || chosen == current) {
        showPortInBox(current);
        return true;
    }
    if (const auto refusal = probe::testPortChoice(chosen)) {
        // The box shows the port in use again before the message takes the focus from it, so
        // that leaving the box does not try the typed name a second time.
        showPortInBox(current);
        ProgramMessageBox box(QMessageBox::Warning, refusal->caption, refusal->text, QMessageBox::Ok, this);
        box.exec();
        return false;
    }
    storePortName(m_settings, chosen);
    showPortInBox(chosen);
    m_probe->changePort(chosen);
    return true;
}

void CMainFrame::launchTrajectory()
{
    if (!m_trajectoryAvailable)
        return;
    const QString program = QDir(m_startDirectory).filePath(QString::fromLatin1(TrajectoryProgram));
    if (!QProcess::startDetached(program, {QString::fromLatin1(TrajectoryCode)}, m_startDirectory)) {
        ProgramMessageBox box(QMessageBox::NoIcon, applicationTitle(), tr("没有找到轨迹计算程序"),
                              QMessageBox::Ok, this);
        box.exec();
    }
}

void CMainFrame::editSite()
{
    SiteDialog dialog(m_session.site(), lastSite(m_settings), this);
    const QString probeNumber = surveyProbeNumber(m_session.survey());
    dialog.setCalibrationSurvey(&m_session.survey(), probeNumber, rememberedFieldScale(m_settings, probeNumber));
    const int result = dialog.exec();
    if (result != SiteDialog::Stored && result != SiteDialog::StoredAndSetDeclination) {
        m_view->setFocus();
        return;
    }
    // Part of the survey from now on: saved with it, and closing asks first.
    const Site entered = dialog.site();
    // The scale belongs to the probe as much as to the survey: its next survey starts with a
    // scale set here. One only kept from an older survey does not overwrite a newer one.
    const bool newScale = entered.fieldScale && (!site() || site()->fieldScale != entered.fieldScale);
    m_session.setSite(entered);
    storeLastSite(m_settings, entered);
    if (newScale)
        rememberFieldScale(m_settings, probeNumber, *entered.fieldScale);
    updateTitle();
    // The declination edit refreshes the analysis itself; a plain OK needs it here.
    if (result != SiteDialog::StoredAndSetDeclination || !m_view->setDeclination(dialog.declinationText()))
        refreshAnalysis();
    m_view->setFocus();
}

void CMainFrame::setQcShown(bool on)
{
    if (command(CmdQc)->isChecked() != on)
        command(CmdQc)->setChecked(on); // toggled() comes back here
    else if (on)
        refreshAnalysis();
    else
        m_view->surveyModel()->setHighlight(nullptr);
}

TrajectoryWindow *CMainFrame::upToDateTrajectoryWindow()
{
    if (!m_trajectory) {
        m_trajectory = new TrajectoryWindow(this);
        // A window of the main window's, which the window manager keeps above it (a plain
        // top-level window goes behind the maximised main window at its first click), not
        // modal, and with its minimise and maximise buttons.
        m_trajectory->setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
        // The report prints on the printer the print setup chose.
        m_trajectory->setPrinting(m_printing);
    }
    m_trajectory->refresh(m_session.document(), site(), fieldScale());
    return m_trajectory;
}

void CMainFrame::printSurveyReport()
{
    upToDateTrajectoryWindow()->printReport();
}

void CMainFrame::previewSurveyReport()
{
    upToDateTrajectoryWindow()->previewReport();
}

void CMainFrame::saveSurveyReportPdf()
{
    upToDateTrajectoryWindow()->saveReportPdf();
}

void CMainFrame::showTrajectoryWindow()
{
    upToDateTrajectoryWindow();
    // Chosen again while minimised it comes back as it was (maximised stays maximised).
    m_trajectory->setWindowState(m_trajectory->windowState() & ~Qt::WindowMinimized);
    m_trajectory->show();
    m_trajectory->raise();
    m_trajectory->activateWindow();
}

void CMainFrame::refreshAnalysis()
{
    if (command(CmdQc)->isChecked()) {
        m_qc.refresh(m_session.survey(), site(), {}, fieldScale().scale);
        SurveyModel *model = m_view->surveyModel();
        if (model->highlight() == &m_qc)
            model->highlightChanged();
        else
            model->setHighlight(&m_qc);
    }
    // A hidden window is brought up to date when it is shown again.
    if (m_trajectory && m_trajectory->isVisible())
        m_trajectory->refresh(m_session.document(), site(), fieldScale());
    updateWarnings();
}

void CMainFrame::updateWarnings()
{
    const SurveyData &survey = m_session.survey();
    const QStringList lines = surveyWarningLines(survey, computeTrajectory(survey, m_session.trajectoryOptions()), site());
    if (lines.isEmpty()) {
        m_warnings->clear();
        m_warnings->setToolTip(QString());
        return;
    }
    // The first as far as its room allows (the bar's messages keep theirs); every one in the
    // tooltip.
    const QString text = tr("警告 %1 条：%2").arg(lines.size()).arg(lines.first());
    m_warnings->setText(m_warnings->fontMetrics().elidedText(text, Qt::ElideRight, WarningWidth));
    m_warnings->setToolTip(lines.join(QLatin1Char('\n')));
}

void CMainFrame::importTally()
{
    const QString current = m_session.path();
    FileDialog dialog(this, current.isEmpty() ? QString() : QFileInfo(current).absolutePath(),
                      tr("井深记录 (*.txt *.csv *.tally);;所有文件 (*)"));
    dialog.setWindowTitle(tr("导入井深记录"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_view->importTally(dialog.selectedFiles().first(), site());
    m_view->setFocus();
}

FieldScaleChoice CMainFrame::fieldScale()
{
    return m_session.fieldScale(&m_settings);
}

QStringList CMainFrame::recentFiles()
{
    return zolm::recentFiles(m_settings);
}

void CMainFrame::addRecentFile(const QString &path)
{
    if (zolm::addRecentFile(m_settings, path))
        updateRecentMenu();
}

void CMainFrame::updateRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = recentFiles();
    m_recentMenu->setEnabled(!files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1 == 10 ? 0 : i + 1).arg(
            QDir::toNativeSeparators(path)));
        connect(a, &QAction::triggered, this, [this, path] { openDocument(path); });
    }
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            activateWindow();
            openDocument(url.toLocalFile());
            return;
        }
    }
}

} // namespace zolm::app
