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

bool CNDravikDoc::openFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QCoreApplication::translate("Document", "无法打开文件“%1”：%2").arg(path, fileErrorReason(file));
        return false;
    }
    // A valid file is never longer than this; one byte more tells that the file is longer.
    const QByteArray bytes = file.read(static_cast<qint64>(MaxSurveyFileRead) + 1);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QCoreApplication::translate("Document", "无法读取文件“%1”：%2").arg(path, fileErrorReason(file));
        return false;
    }
    QString reason;
    const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size()));
    if (!parseSurveyFile(view, *m_survey, &reason)) {
        if (error)
            *error = QCoreApplication::translate("Document", "无法打开文件“%1”：%2").arg(path, reason);
        return false;
    }
    m_holdsData = true;
    m_modified = false;
    // A FIFO or device has no size of its own: what was read is its length.
    const auto size = static_cast<std::uint64_t>(std::max<qint64>(file.size(), bytes.size()));
    m_inexactReason = zolm::inexactReason(view, size);
    return true;
}

bool CNDravikDoc::saveFile(const QString &path, QString *error)
{
    QByteArray bytes;
    QString reason;
    if (!serializeSurvey(*m_survey, bytes, &reason)) {
        if (error)
            *error = QCoreApplication::translate("Document", "无法保存文件“%1”：%2").arg(path, reason);
        return false;
    }
    // The open document describes what is being written, whether or not the write succeeds.
    adoptSavedForm(*m_survey);
    if (!writeOutput(path, bytes, &reason)) {
        if (error)
            *error = QCoreApplication::translate("Document", "无法保存文件“%1”：%2").arg(path, reason);
        return false;
    }
    m_modified = false;
    m_inexactReason.clear();
    return true;
}

} // namespace zolm
