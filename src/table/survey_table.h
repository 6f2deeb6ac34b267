#pragma once
// The survey table as logic: which points have rows and in what order, the texts of the
// cells, the check boxes and the editing commands. The desktop's table model wraps one of
// these; zolm-cli and the export and report read it. Every command writes straight into the
// document and says what it changed, so the model knows whether to reset or update rows.
#include "document/document.h"
#include "platform/result.h"
#include "table/cell_text.h"
#include "table/edit_texts.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace zolm {

enum class DisplayMode : int { AllPoints = 0, HideChecked = 1, OnlyChecked = 2 };
enum class ReportLayout : int { MultiPoint = 0, SinglePoint = 1, Economy = 2 };
// Which way automatic depth counts along the checked points in point (that is, time) order:
// down from the start depth for a survey taken while pulling out of the hole, up from it for
// one taken while running in.
enum class DepthDirection : int { Down = 0, Up = 1 };

// Column headers of columns 0..11 (UTF-8; column 0 has none) and their widths in pixels.
const char *columnHeader(int column);
int columnWidth(int column);

// How a command ended.
enum class CommandOutcome {
    Applied,   // done (possibly with nothing to change)
    Refused,   // a dialog value was refused: the message is shown and the dialog stays open
    Informed,  // a message box instead of the command (OK only); nothing was changed
    Cancelled, // the user cancelled the dialog
};

// What a command did, for the model and the window around it.
struct TableChange {
    CommandOutcome outcome = CommandOutcome::Applied;
    QString message;               // Refused, Informed: the text to show (the program's title)
    bool markedModified = false;   // the command marked the document modified (also when cancelled)
    bool rowsRebuilt = false;      // rows added, removed or reordered: reset the model
    std::vector<int> changedRows;  // rows whose cells or check state changed (when not rebuilt)

    bool applied() const { return outcome == CommandOutcome::Applied; }
    bool refused() const { return outcome == CommandOutcome::Refused; }
    bool informed() const { return outcome == CommandOutcome::Informed; }
    bool cancelled() const { return outcome == CommandOutcome::Cancelled; }
};

// Outcome of a full refill: whether the document had data, and the header-bar captions.
struct RefillResult {
    bool filled = false; // false: the table, captions and bars stay as they were
    QString crewCaption;
    QString wellCaption;
    QString declinationCaption;
};

class SurveyTable {
public:
    explicit SurveyTable(CNDravikDoc &doc) : m_doc(doc) {}

    CNDravikDoc &document() { return m_doc; }
    const CNDravikDoc &document() const { return m_doc; }

    // --- rows ---------------------------------------------------------------------------
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // The point a row shows, or -1 when there is no such row.
    int pointForRow(int row) const;
    // The row showing a point, or -1 when the point has no row.
    int rowForPoint(int point) const;
    const std::vector<int> &rowPoints() const { return m_rows; }
    // Text of column 1..11 of a row (column 1 is the row's position); empty for column 0.
    std::string cellText(int row, int column) const;
    bool isRowChecked(int row) const;

    DisplayMode displayMode() const { return m_mode; }
    bool orderReversed() const { return m_reversed; }
    ReportLayout printLayout() const { return m_layout; }
    void setPrintLayout(ReportLayout layout) { m_layout = layout; }

    // The list's highlighted row: only the current row for depth entry, never a change of data.
    int highlightedRow() const { return m_highlight; }
    void setHighlightedRow(int row);

    // --- rebuilding ---------------------------------------------------------------------
    // After a document was created or opened or a probe read: every point shown, ascending,
    // row 0 highlighted; a declination beyond +-360 becomes 0 (not a modification). A document
    // without data leaves everything as it was. A new survey starts ascending, so the order
    // state is reset with it and always states the rows' actual order.
    RefillResult refillTable();
    // Appends the row for `point` at `position` (the rows are built in ascending order).
    void buildRow(int position, int point);
    // Rebuilds the rows of a display mode; shown flags follow the rows exactly. No row is
    // highlighted afterwards; the current order is re-applied.
    TableChange showPoints(DisplayMode mode);
    // Puts the rows the other way round; the highlight stays on its point.
    TableChange reverseOrder();

    // --- check boxes --------------------------------------------------------------------
    // A click on a row's check box. Marks the document modified only when the flag changes.
    TableChange setRowChecked(int row, bool checked);
    TableChange checkAll();
    TableChange checkNone();
    TableChange invertChecks();

    // --- depth --------------------------------------------------------------------------
    // Missing, with the message to show instead of the dialog, when no point is checked.
    Done autoDepthRefusal() const;
    // The dialog's OK: checks both fields (start first), then fills the depths of the checked
    // points, walked in point order whatever the rows show, from `start` in steps of `length`:
    // down stops below 0, up stops above the largest depth a file holds. The rows are rebuilt
    // in the current mode and order and the remembered highlight restored.
    TableChange autoDepth(const QString &startText, const QString &lengthText,
                          DepthDirection direction = DepthDirection::Down);
    TableChange autoDepth(double start, double length, DepthDirection direction = DepthDirection::Down);
    // The checked points whose entered depth automatic depth would replace by another, in
    // point order: what to ask about before overwriting.
    std::vector<int> autoDepthOverwrites(double start, double length, DepthDirection direction) const;
    // The dialog was cancelled: the document is still marked modified.
    TableChange autoDepthCancelled();
    // The row that the Enter key edits: the highlighted one, when the document holds data.
    int depthEntryRow() const;
    // The depth dialog's initial value for a row, or nothing when the row shows no point
    // (then the dialog does not open).
    std::optional<double> depthForDialog(int row) const;
    // Depth entry of one row (Enter / double click); the row must show a point.
    TableChange enterDepth(int row, const QString &text);
    TableChange setPointDepth(int point, double depth);
    // Whether a point holds an entered depth that `depth` would change (by half a centimetre
    // or more, what the table's two decimals show).
    bool depthWouldChange(int point, double depth) const;

    // --- header fields ------------------------------------------------------------------
    // Texts for the dialogs' fields.
    QString crewText() const;
    QString wellText() const;
    // The declination dialog's initial value: a stored value beyond +-360 shows as 0.
    double declinationForDialog() const;
    // Opening the declination dialog (and its OK) first sets a stored value beyond +-360 to 0.
    void clearOutOfRangeDeclination();
    // OK of the header dialogs: check the entry, store it, and give the new caption in
    // `caption` (empty when refused).
    TableChange editCrew(const QString &text, QString *caption = nullptr);
    TableChange editWell(const QString &text, QString *caption = nullptr);
    TableChange editDeclination(const QString &text, QString *caption = nullptr);

    // The export-format dialog was closed, by either button.
    TableChange exportFormatClosed();

    // --- single points ------------------------------------------------------------------
    // Sets the check of one point, whether or not it has a row; marks the document modified
    // only when the flag changes. A point outside the document changes nothing.
    TableChange setPointChecked(int point, bool checked);

private:
    SurveyData &survey() { return m_doc.survey(); }
    const SurveyData &survey() const { return m_doc.survey(); }
    int pointCount() const { return m_doc.survey().usablePointCount(); }
    bool isChecked(int point) const;
    void setChecked(int point, bool checked);
    TableChange allRowsChanged(bool markModified);
    void sortRows(bool descending);
    // Calls f(point, depth) for each point automatic depth gives a depth, in walking order.
    template <typename F>
    void walkAutoDepth(double start, double length, DepthDirection direction, F f) const;
    TableChange markModified(TableChange c);
    // Showing the header fields: their texts end at the zero after each field, and a
    // declination beyond +-360 becomes 0 (not a modification).
    void normaliseHeaderForShowing();
    TableChange editHeaderText(const QString &text, bool crew, QString *caption);

    CNDravikDoc &m_doc;
    std::vector<int> m_rows;
    int m_highlight = -1;
    DisplayMode m_mode = DisplayMode::AllPoints;
    bool m_reversed = false;
    ReportLayout m_layout = ReportLayout::MultiPoint;
};

const char *displayModeName(DisplayMode mode); // "all", "hide-checked", "only-checked"
std::optional<DisplayMode> displayModeFromName(const std::string &name);

} // namespace zolm
