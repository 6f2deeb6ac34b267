#include "app/export_dialogs.h"

#include "app/file_dialog.h"
#include "app/table_dialogs.h"
#include "platform/settings.h"
#include "table/survey_table.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zolm::app {

namespace {

QListWidget *itemList(QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setMinimumHeight(260);
    return list;
}

} // namespace

CExportFormatDlg::CExportFormatDlg(SettingsStore &store, QWidget *parent)
    : QDialog(parent), m_store(store), m_lists(ExportSettings::readForDialog(store))
{
    setWindowTitle(tr("设置导出文件格式"));
    m_available = itemList(this);
    m_chosen = itemList(this);
    m_title = new QCheckBox(tr("导出标题，并放在文件第一行"), this);
    m_space = new QRadioButton(tr("用空格分隔"), this);
    m_comma = new QRadioButton(tr("用逗号分隔"), this);

    auto *addButton = new QPushButton(tr("加入导出文件"), this);
    auto *removeButton = new QPushButton(tr("删除"), this);
    auto *upButton = new QPushButton(tr("向上移动"), this);
    auto *downButton = new QPushButton(tr("向下移动"), this);
    connect(addButton, &QPushButton::clicked, this, &CExportFormatDlg::add);
    connect(removeButton, &QPushButton::clicked, this, &CExportFormatDlg::remove);
    connect(upButton, &QPushButton::clicked, this, &CExportFormatDlg::up);
    connect(downButton, &QPushButton::clicked, this, &CExportFormatDlg::down);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("原始数据"), this), 0, 0);
    grid->addWidget(new QLabel(tr("导出数据（有先后顺序）"), this), 0, 2);
    grid->addWidget(m_available, 1, 0);
    auto *middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(addButton);
    middle->addWidget(removeButton);
    middle->addSpacing(16);
    middle->addWidget(upButton);
    middle->addWidget(downButton);
    middle->addStretch();
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_chosen, 1, 2);

    auto *options = new QVBoxLayout;
    options->addWidget(new QLabel(tr("是否导出项目标题?"), this));
    options->addWidget(m_title);
    options->addWidget(new QLabel(tr("数据之间用什么分隔?"), this));
    options->addWidget(m_space);
    options->addWidget(m_comma);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportFormatDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExportFormatDlg::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(options);
    layout->addWidget(buttons);

    // Tab goes as the eye does: the item list, the buttons beside it, the export list, then
    // the options below and the dialog's buttons.
    const QList<QWidget *> order = {m_available, addButton, removeButton, upButton, downButton,
                                    m_chosen, m_title, m_space, m_comma};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    m_title->setChecked(m_lists.title);
    m_space->setChecked(m_lists.spaceSeparator);
    m_comma->setChecked(!m_lists.spaceSeparator);
    fillLists();
}

void CExportFormatDlg::fillLists(int selectChosen)
{
    // The items under their labels in every language: the labels are the export file's title
    // line and the settings' keys, so the list shows what the file will say.
    m_available->clear();
    for (const int id : m_lists.available())
        m_available->addItem(exportItemLabel(id));
    m_chosen->clear();
    for (const int id : m_lists.chosen())
        m_chosen->addItem(exportItemLabel(id));
    if (selectChosen >= 0 && selectChosen < m_chosen->count())
        m_chosen->item(selectChosen)->setSelected(true);
}

std::vector<int> CExportFormatDlg::selectedRows(const QListWidget *list)
{
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}

void CExportFormatDlg::add()
{
    m_lists.add(selectedRows(m_available));
    fillLists();
}

void CExportFormatDlg::remove()
{
    m_lists.remove(selectedRows(m_chosen));
    fillLists();
}

void CExportFormatDlg::up()
{
    if (const auto at = m_lists.up(selectedRows(m_chosen)))
        fillLists(*at);
}

void CExportFormatDlg::down()
{
    if (const auto at = m_lists.down(selectedRows(m_chosen)))
        fillLists(*at);
}

void CExportFormatDlg::accept()
{
    m_lists.title = m_title->isChecked();
    m_lists.spaceSeparator = m_space->isChecked();
    m_lists.store(m_store);
    QDialog::accept();
}

QString askExportFileName(QWidget *parent)
{
    FileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QCoreApplication::translate("zolm::app::CExportFormatDlg", "文本文件 (*.txt);;所有文件 (*.*)")
                              .split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QString::fromUtf8(ExportDialog::DefaultSuffix));
    dialog.selectFile(QString::fromUtf8(ExportDialog::DefaultName));
    // The overwrite question is asked by the dialog itself.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool exportData(QWidget *parent, const SurveyTable &table, SettingsStore &store)
{
    const ExportSettings settings = ExportSettings::readForExport(store);
    const QString path = askExportFileName(parent);
    if (path.isEmpty())
        return false;
    const std::string bytes = exportBytes(table.document().survey(), table.rowPoints(), settings);
    if (const Done written = writeExportFile(path, bytes); !written) {
        showProgramError(parent, written.error());
        return false;
    }
    return true;
}

} // namespace zolm::app
