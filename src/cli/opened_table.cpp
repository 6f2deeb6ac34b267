#include "cli/opened_table.h"

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

QString fromArg(const std::string &arg)
{
    return QString::fromUtf8(arg.c_str());
}

QString fileArg(const std::string &arg)
{
    return QString::fromUtf8(arg.c_str());
}

} // namespace zolm::cli
