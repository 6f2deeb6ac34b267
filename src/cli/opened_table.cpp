#include "cli/opened_table.h"

#include "analysis/site_block.h"

namespace zolm::cli {

std::optional<ViewOptions> takeViewOptions(Args &args, const char *command)
{
    ViewOptions v;
    v.reverse = args.flag("--reverse");
    if (const auto mode = args.value("--mode")) {
        v.mode = displayModeFromName(*mode);
        if (!v.mode) {
            usageError(QStringLiteral("%1: --mode takes all, hide-checked or only-checked, not '%2'")
                           .arg(QString::fromUtf8(command), fromArg(*mode)));
            return std::nullopt;
        }
    }
    return v;
}

bool openTable(const std::string &path, OpenedTable &opened)
{
    QString error;
    if (!opened.doc.openFile(fileArg(path), &error)) {
        printErr(error + QLatin1Char('\n'));
        return false;
    }
    if (!opened.doc.openedExactly()) {
        printErr(QStringLiteral("警告：文件“%1”不是完整的测量数据文件（%2），其中的数据可能无意义。\n")
                     .arg(fileArg(path), opened.doc.inexactReason()));
    }
    opened.table.refillTable();
    return true;
}

void applyView(OpenedTable &opened, const ViewOptions &view)
{
    if (view.mode)
        opened.table.showPoints(*view.mode);
    if (view.reverse)
        opened.table.reverseOrder();
}

std::optional<Site> openedSite(OpenedTable &opened, const std::string &path)
{
    const SiteRead read = takeSurveySite(opened.doc.survey().header, fileArg(path));
    if (!read.error.isEmpty())
        printErr(read.error + QLatin1Char('\n'));
    return read.site;
}

bool refuseOverwrite(const OpenedTable &opened, const std::string &path, bool toOut, bool force)
{
    // Saving over a file that is not exactly a survey could destroy something else entirely.
    if (toOut || force || opened.doc.openedExactly())
        return false;
    printErr(QStringLiteral("未保存：文件“%1”不是完整的测量数据文件，不覆盖它。确要覆盖请加 --force，或用 -o 另存。\n")
                 .arg(fileArg(path)));
    return true;
}

bool saveOpened(OpenedTable &opened, const std::string &target)
{
    const QString path = fileArg(target);
    prepareSiteForSave(opened.doc.survey().header, path);
    QString error;
    if (opened.doc.saveFile(path, &error))
        return true;
    printErr(error + QLatin1Char('\n'));
    return false;
}

QString fromArg(const std::string &arg)
{
    return QString::fromUtf8(arg.c_str());
}

QString fileArg(const std::string &arg)
{
    return QString::fromUtf8(arg.c_str());
}

} // namespace zolm::cli
