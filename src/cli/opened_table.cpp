#include "cli/opened_table.h"

namespace zolm::cli {

std::optional<ViewOptions> takeViewOptions(Args &args, const char *command)
{
    ViewOptions v;
    v.reverse = args.flag("--reverse");
    if (const auto mode = args.value("--mode")) {
        v.mode = displayModeFromName(*mode);
        if (!v.mode) {
            usageError(QCoreApplication::translate("zolm-cli", "%1：--mode 应为 all、hide-checked 或 only-checked，而不是“%2”")
                           .arg(QString::fromUtf8(command), fromArg(*mode)));
            return std::nullopt;
        }
    }
    return v;
}

bool openTable(const std::string &path, OpenedTable &opened)
{
    if (const Done done = opened.session.open(fileArg(path)); !done) {
        fail(done.error());
        return false;
    }
    if (opened.session.saveAsOnly()) {
        printErr(QCoreApplication::translate("zolm-cli", "警告：文件“%1”不是完整的测量数据文件（%2），其中的数据可能无意义。\n")
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

const std::optional<Site> &openedSite(const OpenedTable &opened)
{
    if (!opened.session.siteError().isEmpty())
        printErr(opened.session.siteError() + QLatin1Char('\n'));
    return opened.session.site();
}

bool refuseOverwrite(const OpenedTable &opened, const std::string &path, bool toOut, bool force)
{
    // Saving over a file that is not exactly a survey could destroy something else entirely.
    if (toOut || force || !opened.session.keepsOriginal(fileArg(path)))
        return false;
    printErr(QCoreApplication::translate("zolm-cli", "未保存：文件“%1”不是完整的测量数据文件，不覆盖它。确要覆盖请加 --force，或用 -o 另存。\n")
                 .arg(fileArg(path)));
    return true;
}

bool saveOpened(OpenedTable &opened, const std::string &target)
{
    if (const Done done = opened.session.saveTo(fileArg(target)); !done) {
        fail(done.error());
        return false;
    }
    return true;
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
