#include "app/survey_view.h"

#include "analysis/depth_tally.h"
#include "analysis/stops.h"
#include "app/table_dialogs.h"
#include "platform/fonts.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace zolm::app {

namespace {

// The wait cursor for the length of a rebuild.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

QFont tableFont()
{
    QFont f;
    f.setFamilies(zolm::tahomaWithChineseFallback());
    f.setWeight(QFont::Medium);
    return f;
}

SurveyModel::SurveyModel(SurveyTable &table, QObject *parent) : QAbstractTableModel(parent), m_table(table) {}

int SurveyModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.rowCount();
}

int SurveyModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : TableColumnCount;
}

QVariant SurveyModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == CheckColumn)
            return {};
        return QString::fromStdString(m_table.cellText(row, column));
    case Qt::CheckStateRole:
        if (column != CheckColumn)
            return {};
        return m_table.isRowChecked(row) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return column == CheckColumn ? QVariant() : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (m_highlight) {
            if (const auto colour = m_highlight->background(m_table.pointForRow(row)))
                return *colour;
        }
        return {};
    case Qt::ToolTipRole:
        if (m_highlight) {
            const QString tip = m_highlight->toolTip(m_table.pointForRow(row));
            if (!tip.isEmpty())
                return tip;
        }
        return {};
    default:
        return {};
    }
}

QVariant SurveyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return QCoreApplication::translate("Quantity", columnHeader(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags SurveyModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == CheckColumn)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool SurveyModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != CheckColumn || role != Qt::CheckStateRole)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    const TableChange change = m_table.setRowChecked(index.row(), checked);
    apply(change);
    emit edited(change);
    return true;
}

void SurveyModel::apply(const TableChange &change)
{
    if (change.rowsRebuilt) {
        reset();
        return;
    }
    if (change.changedRows.empty())
        return;
    const auto [lo, hi] = std::minmax_element(change.changedRows.begin(), change.changedRows.end());
    emit dataChanged(index(*lo, 0), index(*hi, TableColumnCount - 1));
}

void SurveyModel::reset()
{
    beginResetModel();
    endResetModel();
}

void SurveyModel::setHighlight(const QcHighlight *highlight)
{
    m_highlight = highlight;
    highlightChanged();
}

void SurveyModel::highlightChanged()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, TableColumnCount - 1), {Qt::BackgroundRole, Qt::ToolTipRole});
}

CNDravikView::CNDravikView(SurveyTable &table, QWidget *parent)
    : QTableView(parent), m_table(table), m_model(new SurveyModel(table, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Nothing in a row is edited in place: Tab leaves the table for the bars' controls.
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    setFont(tableFont());
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(8);
    for (int c = 0; c < TableColumnCount; ++c)
        setColumnWidth(c, zolm::columnWidth(c));
    // A model reset gives the header its default sections; the columns keep their widths.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        for (int c = 0; c < TableColumnCount; ++c)
            m_widths[static_cast<std::size_t>(c)] = columnWidth(c);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < TableColumnCount; ++c)
            setColumnWidth(c, m_widths[static_cast<std::size_t>(c)]);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { m_table.setHighlightedRow(current.isValid() ? current.row() : -1); });
    connect(m_model, &SurveyModel::edited, this, [this](const TableChange &change) {
        if (change.markedModified)
            emit modifiedChanged();
        emit surveyChanged();
    });
}

void CNDravikView::selectHighlightedRow()
{
    const int row = m_table.highlightedRow();
    selectionModel()->clearSelection();
    if (row >= 0) {
        const QModelIndex i = m_model->index(row, tableColumn(Quantity::Sequence));
        selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(i);
    } else {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

bool CNDravikView::refillTable()
{
    WaitCursor wait;
    const RefillResult r = m_table.refillTable();
    if (!r.filled)
        return false;
    emit dataShown();
    emit crewCaptionChanged(r.crewCaption);
    emit wellCaptionChanged(r.wellCaption);
    emit declinationCaptionChanged(r.declinationCaption);
    m_model->reset();
    selectHighlightedRow();
    setFocus();
    emit surveyChanged();
    return true;
}

void CNDravikView::applyChange(const TableChange &change)
{
    m_model->apply(change);
    if (change.rowsRebuilt)
        selectHighlightedRow();
    if (change.informed())
        showMessage(change.message);
    if (change.markedModified)
        emit modifiedChanged();
    if (change.applied())
        emit surveyChanged();
    setFocus();
}

void CNDravikView::showMessage(const QString &text)
{
    showProgramMessage(this, text);
}

void CNDravikView::showPoints(DisplayMode mode)
{
    WaitCursor wait;
    applyChange(m_table.showPoints(mode));
}

void CNDravikView::reverseOrder()
{
    WaitCursor wait;
    applyChange(m_table.reverseOrder());
}

void CNDravikView::checkAll()
{
    WaitCursor wait;
    applyChange(m_table.checkAll());
}

void CNDravikView::checkNone()
{
    WaitCursor wait;
    applyChange(m_table.checkNone());
}

void CNDravikView::invertChecks()
{
    WaitCursor wait;
    applyChange(m_table.invertChecks());
}

void CNDravikView::pickStations()
{
    std::vector<Stop> stops;
    {
        WaitCursor wait;
        const SurveyData &survey = m_table.document().survey();
        stops = findStops(survey);
        if (!stops.empty()) {
            // One command: the rows it touched redrawn at once, the modified mark when a flag changed.
            const std::vector<bool> checks = stopChecks(survey, stops);
            TableChange all;
            for (int p = 0; p < static_cast<int>(checks.size()); ++p) {
                const TableChange c = m_table.setPointChecked(p, checks[static_cast<std::size_t>(p)]);
                all.markedModified = all.markedModified || c.markedModified;
                all.changedRows.insert(all.changedRows.end(), c.changedRows.begin(), c.changedRows.end());
            }
            applyChange(all);
        }
    }
    if (stops.empty()) {
        showMessage(tr("没有找到测站：没有一段测点在 %1 秒以上保持井斜、方位、总加速度和总磁场稳定。勾选未作改动。")
                        .arg(StopTolerance{}.minDuration));
        return;
    }
    int resting = 0;
    for (const Stop &s : stops)
        resting += s.shotCount();
    const int points = m_table.document().survey().usablePointCount();
    showMessage(tr("找到 %1 个测站，每个测站勾选了最接近其中值的一个测点，其余测点均已取消勾选"
                   "（停留中 %2 个，移动中 %3 个）。勾选仍可逐点修改。")
                    .arg(stops.size())
                    .arg(resting - static_cast<int>(stops.size()))
                    .arg(points - resting));
}

void CNDravikView::autoDepth()
{
    if (const Done refusal = m_table.autoDepthRefusal(); !refusal) {
        showMessage(refusal.error().message);
        setFocus();
        return;
    }
    const auto outcome = runAutoDepthDialog(this, m_table);
    if (!outcome) {
        applyChange(m_table.autoDepthCancelled());
        return;
    }
    WaitCursor wait;
    applyChange(*outcome);
}

bool CNDravikView::importTally(const QString &path, const std::optional<Site> &site)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(tr("无法读取井深记录 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    const auto lines = parseTally(file.readAll(), site ? site->probeStart : std::nullopt);
    if (!lines) {
        showMessage(lines.error().message);
        return false;
    }
    TallyAssignment a;
    {
        WaitCursor wait;
        a = assignTally(*lines, m_table.document().survey());
    }
    // The lines that assigned nothing, as many as a box can show.
    constexpr qsizetype Listed = 20;
    QString problems = a.problems.mid(0, Listed).join(QLatin1Char('\n'));
    if (a.problems.size() > Listed)
        problems += tr("\n……另有 %1 行").arg(a.problems.size() - Listed);
    if (a.depths.empty()) {
        const QString clock = site && site->probeStart ? QStringLiteral("\n") + tallyClockNote() : QString();
        showMessage(tr("井深记录中没有一行对应到探管的停留，井深未作改动。") + clock + QStringLiteral("\n\n") + problems);
        return false;
    }
    int replaced = 0;
    for (const TallyDepth &d : a.depths)
        replaced += m_table.depthWouldChange(d.point, d.depth) ? 1 : 0;
    if (replaced > 0 && !confirmDepthOverwrite(this, replaced)) {
        setFocus();
        return false;
    }
    TableChange all;
    for (const TallyDepth &d : a.depths) {
        const TableChange c = m_table.setPointDepth(d.point, d.depth);
        all.markedModified = all.markedModified || c.markedModified;
        all.changedRows.insert(all.changedRows.end(), c.changedRows.begin(), c.changedRows.end());
    }
    applyChange(all);
    QString text = tr("已从井深记录的 %1 行中填入 %2 个测点的井深。").arg(lines->size()).arg(a.depths.size());
    if (!a.problems.isEmpty())
        text += tr("\n\n以下各行未使用：\n") + problems;
    showMessage(text);
    return true;
}

void CNDravikView::enterDepth(int row)
{
    if (!m_table.depthForDialog(row))
        return;
    scrollTo(m_model->index(row, tableColumn(Quantity::Depth)));
    if (const auto outcome = runDepthDialog(this, m_table, row))
        applyChange(*outcome);
}

void CNDravikView::editCrew()
{
    QString caption;
    if (const auto outcome = runCrewDialog(this, m_table, &caption)) {
        emit crewCaptionChanged(caption);
        applyChange(*outcome);
    }
    setFocus();
}

void CNDravikView::editWell()
{
    QString caption;
    if (const auto outcome = runWellDialog(this, m_table, &caption)) {
        emit wellCaptionChanged(caption);
        applyChange(*outcome);
    }
    setFocus();
}

void CNDravikView::editDeclination()
{
    QString caption;
    if (const auto outcome = runDeclinationDialog(this, m_table, &caption)) {
        emit declinationCaptionChanged(caption);
        applyChange(*outcome);
    }
    setFocus();
}

bool CNDravikView::setDeclination(const QString &text)
{
    QString caption;
    const TableChange change = m_table.editDeclination(text, &caption);
    if (change.refused()) {
        showMessage(change.message);
        setFocus();
        return false;
    }
    emit declinationCaptionChanged(caption);
    applyChange(change);
    return true;
}

void CNDravikView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        enterDepth(m_table.depthEntryRow());
        return;
    }
    // Space ticks the current row whichever of its cells is current (the row is what the user
    // sees highlighted; the current cell is not shown).
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
        const QModelIndex box = m_model->index(currentIndex().row(), CheckColumn);
        const bool checked = box.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        m_model->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        return;
    }
    QTableView::keyPressEvent(event);
}

void CNDravikView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Only the depth cell opens the dialog; the double click goes no further either way.
    const QModelIndex i = indexAt(event->position().toPoint());
    if (i.isValid() && i.column() == tableColumn(Quantity::Depth))
        enterDepth(i.row());
}

} // namespace zolm::app
