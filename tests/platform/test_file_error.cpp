// What a user reads when a file cannot be read or written: real failures of each kind where
// this system can make them (the suites run as root too), the reason first, the system's text after.
#include "failure_text.h"
#include "platform/file_error.h"
#include "platform/output_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>

using namespace zolm;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

TEST(FileError, CommonFailuresGetAChineseReasonBeforeTheSystemsText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString why = test::failureText(writeOutput(dir.filePath(QStringLiteral("nodir/s.ZLM")), "x"));
    EXPECT_TRUE(why.startsWith(QStringLiteral("文件夹不存在（"))) << why.toStdString();
    QFile missing(dir.filePath(QStringLiteral("missing.ZLM")));
    ASSERT_FALSE(missing.open(QIODevice::ReadOnly));
    EXPECT_TRUE(fileErrorReason(missing).startsWith(QStringLiteral("文件不存在（")));
    // A folder, read or written, whatever the system calls it.
    QFile folder(dir.path());
    ASSERT_FALSE(folder.open(QIODevice::ReadOnly));
    EXPECT_EQ(fileErrorReason(folder), QStringLiteral("这是一个文件夹"));
    // Windows' codes, and what the reasons do not cover keeps the system's words.
    EXPECT_EQ(windowsErrorReason(32, QStringLiteral("In use.")), QStringLiteral("文件已被其它程序占用（In use.）"));
    EXPECT_EQ(errnoReason(EIO, QStringLiteral("Input/output error")), QStringLiteral("Input/output error"));
#ifndef _WIN32
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        why = test::failureText(writeOutput(QStringLiteral("/dev/full"), "x"));
        EXPECT_EQ(why, QStringLiteral("磁盘已满（No space left on device）"));
    }
    // The running program's own file cannot be written, not even by root.
    QFile self(QStringLiteral("/proc/self/exe"));
    ASSERT_FALSE(self.open(QIODevice::WriteOnly | QIODevice::Append));
    EXPECT_EQ(fileErrorReason(self), QStringLiteral("文件已被其它程序占用（Text file busy）"));
#endif
}

#ifndef _WIN32
TEST(FileError, NoPermission)
{
    // A read-only folder stops everyone but root; root is stopped by the kernel's own files.
    QTemporaryDir dir;
    const QString readOnly = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkdir(readOnly));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    for (const QString &target : {readOnly + QStringLiteral("/s.ZLM"), QStringLiteral("/sys/kernel/notes")}) {
        QFile f(target);
        if (f.open(QIODevice::WriteOnly | QIODevice::Append) || f.errorString() != qt_error_string(EACCES))
            continue;
        EXPECT_EQ(fileErrorReason(f), QStringLiteral("没有访问权限（Permission denied）"));
        return;
    }
    GTEST_SKIP() << "nothing here refuses a write for want of permission";
}
#endif
