#pragma once
// The trajectory window: the station table with each shot's QC verdict, the plan view and the
// vertical section (drawn by the same code as the printed report), and CSV and LAS export.
// refresh() recomputes everything from the document; call it when depths, checks, the
// declination or the site change.
#include "output/trajectory_report.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QSplitter;
class QTableView;

namespace zolm {
class CNDravikDoc;
}

namespace zolm::app {

// The stations as a table: one column per quantity, failing shots coloured.
class StationModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColPoint, ColMd, ColInclination, ColAzimuth, ColTvd, ColNorth, ColEast, ColVs, ColDls, ColQc, ColumnCount };

    explicit StationModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}
    void setData(const TrajectoryReportData *data);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const TrajectoryReportData *m_data = nullptr;
};

// One of the two plots.
class TrajectoryPlot : public QWidget {
    Q_OBJECT
public:
    enum Kind { Plan, Section };
    TrajectoryPlot(Kind kind, QWidget *parent = nullptr);
    void setTrajectory(const Trajectory *trajectory);
    QSize sizeHint() const override { return {420, 360}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    const Trajectory *m_trajectory = nullptr;
};

class TrajectoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrajectoryWindow(QWidget *parent = nullptr);

    void refresh(const CNDravikDoc &document, const std::optional<Site> &site);

    const TrajectoryReportData &data() const { return m_data; }
    enum class Format { Csv, Las };
    // Writes the trajectory atomically; on failure *error says why.
    bool exportTo(const QString &path, Format format, QString *error) const;

    QTableView *table() const { return m_table; }
    QLabel *summary() const { return m_summary; }
    QPushButton *csvButton() const { return m_csv; }
    QPushButton *lasButton() const { return m_las; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void exportWithDialog(Format format);
    // The width that shows every column of the stations.
    int tableWidth() const;

    TrajectoryReportData m_data;
    StationModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    TrajectoryPlot *m_plan = nullptr;
    TrajectoryPlot *m_section = nullptr;
    QSplitter *m_split = nullptr;
    bool m_sized = false;
    QLabel *m_summary = nullptr;
    QPushButton *m_csv = nullptr;
    QPushButton *m_las = nullptr;
};

} // namespace zolm::app
