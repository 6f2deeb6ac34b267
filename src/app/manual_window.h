#pragma once
// The user manual, built into the program's resources so that it needs no installed file: a
// window with the manual's contents, its text and a search field. F1 and 帮助主题 open it; F1
// in one of the program's dialogs opens it at that dialog's section, and in a message box at
// the explanation of that message.
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBlock;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace zolm::app {

// The manual's Markdown, from the program's resources.
QString manualText();

class ManualWindow : public QWidget {
    Q_OBJECT
public:
    explicit ManualWindow(QWidget *parent = nullptr);

    QTextBrowser *browser() const { return m_browser; }
    QTreeWidget *contents() const { return m_contents; }
    QLineEdit *searchBox() const { return m_search; }
    QLabel *searchResult() const { return m_found; }

    // Every heading of the manual, in order.
    QStringList headings() const;
    // Goes to the heading with exactly this text; false when the manual has none.
    bool showSection(const QString &heading);
    // Goes to where the manual names this message (the fixed start of its first line), else to
    // the chapter of messages.
    void showMessage(const QString &message);
    // Goes to the next place the text occurs, from the start again after the end.
    bool findNext(const QString &text);
    // The heading of the section the cursor is in.
    QString currentSection() const;

    // The chapter of messages, which F1 on a message box falls back to.
    static QString messagesChapter();

private:
    QTextBlock headingBlock(const QString &heading) const;
    void goTo(const QTextBlock &block);

    QTextBrowser *m_browser;
    QTreeWidget *m_contents;
    QLineEdit *m_search;
    QLabel *m_found;
};

// Opens the manual (at a section when one is given) for a command of `from`'s window. A modal
// dialog gets a manual window of its own, which it does not block; otherwise the program's one
// manual window comes up.
ManualWindow *openManual(QWidget *from, const QString &section = {});

// The section of the manual that explains this window, empty when it has none of its own.
QString manualSectionFor(const QWidget *window);
// Every section that manualSectionFor() gives.
QStringList manualWindowSections();

// F1 in any of the program's windows other than `mainWindow` (whose own command has the key)
// opens the manual at that window's section.
void installManualKey(QWidget *mainWindow);

} // namespace zolm::app
