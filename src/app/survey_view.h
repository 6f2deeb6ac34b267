#pragma once
// The survey table on screen: a model over the table logic and the view that is the command
// target of the display, editing, export and print commands.
#include "analysis/site.h"
#include "table/survey_table.h"

#include "app/analysis/qc_highlight.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QTableView>

#include <array>
#include <optional>
#include <vector>

namespace zolm::app {

// Texts, check states and alignment straight from the table logic; nothing is copied.
class SurveyModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SurveyModel(SurveyTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    // A command's outcome: rebuilt rows are one reset, changed rows one dataChanged.
    void apply(const TableChange &change);
    void reset();

    // The QC switch: with a highlight, failing rows get its colour and tooltip (the texts stay);
    // null turns it off. highlightChanged() after the highlight was recomputed.
    void setHighlight(const QcHighlight *highlight);
    const QcHighlight *highlight() const { return m_highlight; }
    void highlightChanged();

signals:
    // A click on a check box changed a point's flag.
    void edited(const zolm::TableChange &change);

private:
    SurveyTable &m_table;
    const QcHighlight *m_highlight = nullptr;
};

// The font of the table and the report: "Tahoma", falling back to the installed Simplified
// Chinese face (the generic fallback may choose a Japanese one).
QFont tableFont();

class CNDravikView : public QTableView {
    Q_OBJECT
public:
    CNDravikView(SurveyTable &table, QWidget *parent = nullptr);

    SurveyTable &table() { return m_table; }
    SurveyModel *surveyModel() { return m_model; }

    // After a new document, an open or a probe read: every point shown, row 0 highlighted.
    // False when the document has no data (nothing changed).
    bool refillTable();

    // Commands of the table (the view is their target).
    void showPoints(DisplayMode mode);
    void reverseOrder();
    void checkAll();
    void checkNone();
    void invertChecks();
    // "自动选点": finds where the probe rested, ticks one shot of each stop and unticks the
    // others (every point, shown or not), then says what it found. Without a stop nothing
    // changes. Not undoable, like the other tick commands; the ticks stay the engineer's to change.
    void pickStations();
    void autoDepth();
    // "导入井深记录...": the driller's tally at `path` matched to the probe's stops (clock times
    // when the site holds the probe's start), asking before entered depths are replaced; then
    // says what was filled in and which lines assigned nothing. False when nothing changed.
    bool importTally(const QString &path, const std::optional<Site> &site);
    void enterDepth(int row);
    void editCrew();
    void editWell();
    void editDeclination();
    // The declination edit without its dialog (a value from elsewhere, such as the site's
    // model): the caption and the modified mark follow; a refusal is shown.
    bool setDeclination(const QString &text);

    // Shows and closes message boxes; the GUI tests replace nothing here, they close the boxes.
    void showMessage(const QString &text);

signals:
    void dataShown(); // the frame shows its data bars
    void crewCaptionChanged(const QString &caption);
    void wellCaptionChanged(const QString &caption);
    void declinationCaptionChanged(const QString &caption);
    void modifiedChanged();
    // Points, checks, depths or header fields may have changed, or a new survey is shown.
    void surveyChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void applyChange(const TableChange &change);
    void selectHighlightedRow();

    SurveyTable &m_table;
    SurveyModel *m_model;
    std::array<int, TableColumnCount> m_widths{};
};

} // namespace zolm::app
