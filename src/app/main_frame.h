#pragma once
// The main window: menus, the eleven bars in three rows, the status bar, the port choice, the
// print layout, the trajectory program, recent files, the document's open/save/close with its
// site, the QC colours and the trajectory window.
#include "analysis/field_scale.h"
#include "analysis/site.h"
#include "app/analysis/qc_highlight.h"
#include "app/port_widgets.h"
#include "app/printing.h"
#include "document/document.h"
#include "platform/settings.h"
#include "session/survey_session.h"
#include "table/survey_table.h"

#include <QHash>
#include <QList>
#include <QMainWindow>

#include <memory>
#include <optional>

class QAbstractButton;
class QAction;
class QCheckBox;
class QButtonGroup;
class QLabel;
class QToolBar;
class QToolButton;

namespace zolm::probe {
struct ProbeImages;
}

namespace zolm::app {

class CNDravikView;
class PortBox;
class ProbeController;
class TrajectoryWindow;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    // Command ids of the menus, bars and keys.
    enum Command : int {
        CmdOpen = 57601, CmdNew = 57600, CmdSave = 57603, CmdSaveAs = 57604,
        CmdExport = 1025, CmdExportFormat = 1026,
        CmdPrint = 57607, CmdPrintDirect = 57608, CmdPrintPreview = 57609, CmdPrintSetup = 57606,
        CmdBarPrint = 1024, CmdBarPreview = 1050,
        CmdLayoutMulti = 32778, CmdLayoutSingle = 32779, CmdLayoutEconomy = 32780,
        CmdExit = 57665,
        CmdProbeSettings = 1002, CmdProbeInfo = 1059, CmdReadProbe = 1008, CmdRealTime = 1011,
        CmdSelectPort = 32776, CmdLinkTest = 1000,
        CmdCrew = 1016, CmdWell = 1020, CmdDeclination = 1022, CmdAutoDepth = 1028,
        CmdReverse = 1023, CmdCheckAll = 1033, CmdCheckNone = 1034, CmdInvert = 1043,
        CmdHideChecked = 1014, CmdOnlyChecked = 1018, CmdShowAll = 1021,
        CmdTrajectory = 1064, CmdHelp = 57667, CmdAbout = 57664,
        CmdSite = 1070, CmdQc = 1071, CmdTrajectoryWindow = 1072,
        CmdPickStations = 1079, CmdImportTally = 1080,
        CmdReportPrint = 1090, CmdReportPreview = 1091, CmdReportPdf = 1092,
    };
    // The bar of the site, QC and trajectory commands (row 3, with the data).
    static constexpr int AnalysisBar = 170;
    QAction *command(int id) const { return m_commands.value(id); }

    CNDravikDoc &document() { return m_session.document(); }
    SurveyTable &table() { return m_session.table(); }
    SurveySession &session() { return m_session; }
    CNDravikView *view() const { return m_view; }
    ProbeController *probe() const { return m_probe.get(); }
    ReportPrinting &printing() { return *m_printing; }
    SettingsStore &settings() { return m_settings; }
    PortBox *portBox() const { return m_portBox; }
    QToolBar *bar(int templateId) const { return m_bars.value(templateId); }
    QString documentPath() const { return m_session.path(); }
    bool trajectoryAvailable() const { return m_trajectoryAvailable; }
    // The document's site: the survey's own (or the site file beside an older survey), or the
    // one entered; it is saved inside the survey.
    const std::optional<Site> &site() const { return m_session.site(); }
    // The field scale QC uses: the site's, else the one this computer remembers for the probe.
    FieldScaleChoice fieldScale();
    TrajectoryWindow *trajectoryWindow() const { return m_trajectory; }
    // The status bar's warnings about the survey (analysis/survey_warnings.h): how many and the
    // first, all of them as its tooltip; empty when there is none.
    QLabel *warningLabel() const { return m_warnings; }
    // "导入井深记录...": a tally chosen in a file dialog, then the view's import.
    void importTally();

    // Bars 137, 139, 138, 150, 170 (and 162 when present) appear with the first data shown.
    void showDataBars(bool show);
    void setCrewCaption(const QString &caption);
    void setWellCaption(const QString &caption);
    void setDeclinationCaption(const QString &caption);
    QString selectedPort() const;

    void setPrintLayout(ReportLayout layout);

    // The document commands. openDocument asks "save changes?" first unless `ask` is false;
    // false when nothing was opened (the reason was shown).
    bool openDocument(const QString &path, bool ask = true);
    bool newDocument();
    bool save();
    bool saveAs();
    // "Save changes?" when modified: true when the caller may go on.
    bool maybeSave();

    // Port choice: from the dialog, or a new selection on the bar.
    void selectPortDialog();
    void portChosenOnBar(const QString &port);
    // Takes a port after its open test unless it is the port in use; false (with the message,
    // and the box showing the port in use again) when it cannot be opened.
    bool changePort(const QString &chosen);

    void launchTrajectory();

    // The site dialog; OK makes it the document's site (saved with the survey), its second
    // button also sets the declination from the site's model.
    void editSite();
    void setQcShown(bool on);
    void showTrajectoryWindow();
    // The survey report of the document as it stands, from the trajectory window's data
    // (the window itself stays as it was).
    void printSurveyReport();
    void previewSurveyReport();
    void saveSurveyReportPdf();
    QStringList recentFiles();

signals:
    // The window was closed (after "save changes?"); the program ends even while a box of
    // the probe worker is still open.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QAction *addCommand(int id, const QString &text, const QString &prompt = {});
    void createCommands();
    void createMenus();
    void createBars();
    QToolBar *newBar(int templateId, const QString &title);
    QToolButton *barButton(QToolBar *bar, int id, const QString &text);
    void createStatusBar();
    // The status bar's text while no prompt or message is shown: "就绪".
    static QString idleText();
    // F6 (Shift+F6 backwards): from the table to the first (last) control of the bars, from
    // anywhere else back to the table.
    void switchPane(bool backwards);
    // A message box over the window; before the window is up, once it is.
    void showOverWindow(const QString &text);
    // Selects the port's item in the bar's box, or shows the name as typed.
    void showPortInBox(const QString &port);
    void connectView();
    // The file's name, or "无标题" while it has none.
    QString documentName() const;
    void updateTitle();
    void showNewSurvey();
    void surveyRead(const std::shared_ptr<const zolm::ProbeImages> &images);
    void addRecentFile(const QString &path);
    void updateRecentMenu();
    void exportData();
    void exportFormat();
    bool saveTo(const QString &path);
    // QC colours and the trajectory window follow the document, its site and its table.
    void refreshAnalysis();
    void updateWarnings();
    // The trajectory window, made if need be, brought up to date without being shown.
    TrajectoryWindow *upToDateTrajectoryWindow();
    QString askSaveName();

    SettingsStore m_settings;
    SurveySession m_session;
    CNDravikView *m_view = nullptr;
    std::unique_ptr<ProbeController> m_probe;
    ReportPrinting *m_printing = nullptr;

    QString m_messageWhenUp;    // shown once the window is up
    bool m_trajectoryAvailable = false;
    QString m_startDirectory;

    QcHighlight m_qc;
    TrajectoryWindow *m_trajectory = nullptr;
    QLabel *m_warnings = nullptr;

    QHash<int, QAction *> m_commands;
    QHash<int, QToolBar *> m_bars;
    QList<QToolBar *> m_dataBars;
    PortBox *m_portBox = nullptr;
    QToolButton *m_crewButton = nullptr;
    QToolButton *m_wellButton = nullptr;
    QToolButton *m_declinationButton = nullptr;
    QButtonGroup *m_layoutRadios = nullptr;
    QMenu *m_recentMenu = nullptr;
};

// The warning for a file that is not exactly a survey (it can then only be saved under
// another name), or nothing.
std::optional<QString> notExactlySurveyWarning(const QString &path, const CNDravikDoc &doc);

} // namespace zolm::app
