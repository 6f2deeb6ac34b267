#include "document/document.h"

#include "document/survey_file.h"
#include "platform/file_error.h"
#include "platform/output_file.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

namespace zolm {

CNDravikDoc::CNDravikDoc() : m_survey(std::make_unique<SurveyData>()) {}

CNDravikDoc::~CNDravikDoc() = default;

void CNDravikDoc::loadFromProbe(std::span<const std::uint8_t, ParameterBlockSize> param,
                                std::span<const std::uint8_t, DataImageSize> image)
{
    m_holdsData = m_survey->loadFromProbe(param, image);
    m_inexactReason.clear();
}

Done CNDravikDoc::openFile(const QString &path)
{
    QFile file(path);
    const auto failed = [&](const char *text, const QString &reason, ErrorCode code = ErrorCode::ReadFailed) {
        return makeError(code, QCoreApplication::translate("Document", text).arg(path, reason), file.errorString());
    };
    if (!file.open(QIODevice::ReadOnly))
        return failed(QT_TRANSLATE_NOOP("Document", "无法打开文件“%1”：%2"), fileErrorReason(file));
    // A valid file is never longer than this; one byte more tells that the file is longer.
    const QByteArray bytes = file.read(static_cast<qint64>(MaxSurveyFileRead) + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(QT_TRANSLATE_NOOP("Document", "无法读取文件“%1”：%2"), fileErrorReason(file));
    const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size()));
    if (const Done parsed = parseSurveyFile(view, *m_survey); !parsed)
        return parsed.error().retold(QCoreApplication::translate("Document", "无法打开文件“%1”：%2").arg(path, parsed.error().message));
    m_holdsData = true;
    m_modified = false;
    // A FIFO or device has no size of its own: what was read is its length.
    const auto size = static_cast<std::uint64_t>(std::max<qint64>(file.size(), bytes.size()));
    m_inexactReason = zolm::inexactReason(view, size);
    return {};
}

Done CNDravikDoc::saveFile(const QString &path)
{
    const auto failed = [&](const Error &error) {
        return error.retold(QCoreApplication::translate("Document", "无法保存文件“%1”：%2").arg(path, error.message));
    };
    const Result<QByteArray> bytes = serializeSurvey(*m_survey);
    if (!bytes)
        return failed(bytes.error());
    // The open document describes what is being written, whether or not the write succeeds.
    adoptSavedForm(*m_survey);
    if (const Done written = writeOutput(path, *bytes); !written)
        return failed(written.error());
    m_modified = false;
    m_inexactReason.clear();
    return {};
}

} // namespace zolm
