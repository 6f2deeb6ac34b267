#include "app/manual_window.h"

#include "app/analysis/site_dialog.h"
#include "app/analysis/trajectory_window.h"
#include "app/export_dialogs.h"
#include "app/main_frame.h"
#include "app/probe_dialogs.h"
#include "app/progress_window.h"
#include "app/table_dialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

// The manual lives in the static library's resources, which the linker keeps only when asked.
static void initManualResource()
{
    Q_INIT_RESOURCE(manual);
}

namespace zolm::app {

namespace {

// Contents list: the chapters and their sections; deeper headings stay in the text.
constexpr int DeepestListedHeading = 3;

QString withoutSpaces(QString s)
{
    s.remove(QLatin1Char(' '));
    return s;
}

// Which section explains which window. Headings of the manual, exactly.
struct WindowSection {
    std::function<bool(const QWidget *)> is;
    const char *heading;
};

template <typename T>
bool isA(const QWidget *w)
{
    return qobject_cast<const T *>(w) != nullptr;
}

// The headings are the built-in manual's, which is Chinese only: they are looked up in its
// text, so they stay as they are in every language.
const std::vector<WindowSection> &windowSections()
{
    static const std::vector<WindowSection> sections{
        {isA<CPortSelectDlg>, "选择通讯口对话框"},
        {isA<ProbeSettingsDialog>, "设置探管对话框"},
        {isA<ProbeInfoDialog>, "探管信息对话框"},
        {isA<RealTimeWindow>, "实时输出数据窗口"},
        {isA<ProgressWindow>, "通讯进度窗口"},
        {isA<FieldDialog>, "表头和井深对话框"},
        {isA<CExportFormatDlg>, "导出格式对话框"},
        {isA<QPrintPreviewDialog>, "打印和预览"},
        {isA<QPrintDialog>, "打印和预览"},
        {isA<QPageSetupDialog>, "打印和预览"},
        {isA<SiteDialog>, "井场与地磁参考对话框"},
        {isA<TrajectoryWindow>, "井眼轨迹窗口"},
        {isA<CMainFrame>, "主窗口"},
    };
    return sections;
}

// A message's fixed start: its first line up to the first part that changes from one message
// to the next (a number, a quoted name, a path).
QString fixedStart(const QString &message)
{
    QString line;
    for (const QString &l : message.split(QLatin1Char('\n'))) {
        if (!l.trimmed().isEmpty()) {
            line = l.trimmed();
            break;
        }
    }
    qsizetype end = 0;
    while (end < line.size()) {
        const QChar c = line.at(end);
        if (c.isDigit() || c == QChar(0x201C) || c == QLatin1Char('"') || c == QLatin1Char('/')
            || c == QLatin1Char('\\') || c == QLatin1Char('%'))
            break;
        ++end;
    }
    return line.left(end).trimmed();
}

class ManualKey : public QObject {
public:
    explicit ManualKey(QWidget *mainWindow) : QObject(mainWindow), m_main(mainWindow) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            return false;
        QWidget *window = widget->window();
        // The main window's command has the key there; in the manual it means nothing more.
        if (window == m_main || qobject_cast<ManualWindow *>(window))
            return false;
        if (const auto *box = qobject_cast<QMessageBox *>(window))
            openManual(window)->showMessage(box->text());
        else
            openManual(window, manualSectionFor(window));
        return true;
    }

private:
    QWidget *m_main;
};

} // namespace

QString manualText()
{
    initManualResource();
    QFile file(QStringLiteral(":/zolm/manual.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString ManualWindow::messagesChapter()
{
    // The manual's own heading (the manual is Chinese only).
    return QStringLiteral("四、出错信息和处理方法");
}

ManualWindow::ManualWindow(QWidget *parent) : QWidget(parent)
{
    // A window of its owner's, which the window manager keeps above it, not modal, with its
    // minimise and maximise buttons.
    setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("ZOLM 使用手册"));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("manualText"));
    // Links inside the manual name a heading; nothing is fetched from anywhere.
    m_browser->setOpenLinks(false);
    m_browser->document()->setMarkdown(manualText());
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        if (url.scheme().isEmpty() && url.path().isEmpty())
            showSection(url.fragment());
    });

    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("manualContents"));
    m_contents->setHeaderLabel(tr("目录"));
    QTreeWidgetItem *chapter = nullptr;
    for (QTextBlock b = m_browser->document()->begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level < 2 || level > DeepestListedHeading)
            continue;
        auto *item = level == 2 || !chapter ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(chapter);
        if (level == 2)
            chapter = item;
        item->setText(0, b.text());
    }
    m_contents->expandAll();
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { showSection(item->text(0)); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { showSection(item->text(0)); });

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("manualSearch"));
    m_search->setPlaceholderText(tr("查找手册中的文字"));
    m_search->setClearButtonEnabled(true);
    auto *next = new QPushButton(tr("查找下一个"), this);
    m_found = new QLabel(this);
    connect(m_search, &QLineEdit::returnPressed, this, [this] { findNext(m_search->text()); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(m_search->text()); });

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(tr("查找:"), this));
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(next);
    searchRow->addWidget(m_found, 1);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_contents);
    split->addWidget(m_browser);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 740});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(split, 1);
    resize(1000, 720);
}

QStringList ManualWindow::headings() const
{
    QStringList all;
    for (QTextBlock b = m_browser->document()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() > 0)
            all << b.text();
    }
    return all;
}

QTextBlock ManualWindow::headingBlock(const QString &heading) const
{
    const QString wanted = withoutSpaces(heading);
    for (QTextBlock b = m_browser->document()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() > 0 && (b.text() == heading || withoutSpaces(b.text()) == wanted))
            return b;
    }
    return {};
}

void ManualWindow::goTo(const QTextBlock &block)
{
    QTextCursor cursor(block);
    m_browser->setTextCursor(cursor);
    // The block at the top of the view: once the window is up, when it is not yet.
    const auto scroll = [this, position = block.position()] {
        const QTextBlock b = m_browser->document()->findBlock(position);
        const QRectF r = m_browser->document()->documentLayout()->blockBoundingRect(b);
        m_browser->verticalScrollBar()->setValue(qRound(r.top()));
    };
    if (isVisible())
        scroll();
    else
        QTimer::singleShot(0, this, scroll);

    // The contents show where the text is.
    const QString section = currentSection();
    const auto items = m_contents->findItems(section, Qt::MatchExactly | Qt::MatchRecursive);
    if (!items.isEmpty()) {
        const QSignalBlocker quiet(m_contents);
        m_contents->setCurrentItem(items.first());
    }
}

bool ManualWindow::showSection(const QString &heading)
{
    const QTextBlock b = headingBlock(heading);
    if (!b.isValid())
        return false;
    goTo(b);
    return true;
}

void ManualWindow::showMessage(const QString &message)
{
    const QTextBlock chapter = headingBlock(messagesChapter());
    const QString start = fixedStart(message);
    if (start.size() >= 2 && chapter.isValid()) {
        const QTextCursor found = m_browser->document()->find(start, chapter.position());
        if (!found.isNull()) {
            goTo(found.block());
            return;
        }
    }
    if (chapter.isValid())
        goTo(chapter);
}

bool ManualWindow::findNext(const QString &text)
{
    m_found->clear();
    if (text.isEmpty())
        return false;
    if (m_browser->find(text))
        return true;
    // From the start again.
    QTextCursor start(m_browser->document());
    const QTextCursor before = m_browser->textCursor();
    m_browser->setTextCursor(start);
    if (m_browser->find(text))
        return true;
    m_browser->setTextCursor(before);
    m_found->setText(tr("找不到“%1”").arg(text));
    return false;
}

QString ManualWindow::currentSection() const
{
    for (QTextBlock b = m_browser->textCursor().block(); b.isValid(); b = b.previous()) {
        if (b.blockFormat().headingLevel() > 0)
            return b.text();
    }
    return {};
}

ManualWindow *openManual(QWidget *from, const QString &section)
{
    ManualWindow *manual = nullptr;
    if (QWidget *modal = QApplication::activeModalWidget()) {
        // Any window outside the modal dialog is blocked while it is up; one of its own is not.
        manual = modal->findChild<ManualWindow *>(QString(), Qt::FindDirectChildrenOnly);
        if (!manual) {
            manual = new ManualWindow(modal);
            manual->setAttribute(Qt::WA_DeleteOnClose);
        }
    } else {
        QWidget *root = from;
        while (root && root->parentWidget())
            root = root->parentWidget();
        if (root)
            manual = root->findChild<ManualWindow *>(QString(), Qt::FindDirectChildrenOnly);
        if (!manual) {
            manual = new ManualWindow(root);
            if (!root)
                manual->setAttribute(Qt::WA_DeleteOnClose);
        }
    }
    if (!section.isEmpty())
        manual->showSection(section);
    manual->setWindowState(manual->windowState() & ~Qt::WindowMinimized);
    manual->show();
    manual->raise();
    manual->activateWindow();
    return manual;
}

QString manualSectionFor(const QWidget *window)
{
    for (const WindowSection &s : windowSections()) {
        if (s.is(window))
            return QString::fromUtf8(s.heading);
    }
    return {};
}

QStringList manualWindowSections()
{
    QStringList all;
    for (const WindowSection &s : windowSections())
        all << QString::fromUtf8(s.heading);
    return all;
}

void installManualKey(QWidget *mainWindow)
{
    qApp->installEventFilter(new ManualKey(mainWindow));
}

} // namespace zolm::app
