#pragma once
// The single survey document. The desktop window, zolm-cli and the tests all hold one of
// these; the store is allocated once with the document and never per point.
#include "document/survey_data.h"
#include "platform/result.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>

namespace zolm {

class CNDravikDoc {
public:
    CNDravikDoc();
    ~CNDravikDoc();
    CNDravikDoc(const CNDravikDoc &) = delete;
    CNDravikDoc &operator=(const CNDravikDoc &) = delete;

    bool holdsData() const { return m_holdsData; }
    int pointCount() const { return m_survey->pointCount; }

    SurveyData &survey() { return *m_survey; }
    const SurveyData &survey() const { return *m_survey; }

    // Takes the images of a probe read; the modified flag is left as it is.
    void loadFromProbe(std::span<const std::uint8_t, ParameterBlockSize> param,
                       std::span<const std::uint8_t, DataImageSize> image);
    // The store's clear: images, depths and flags zeroed, no points; values and header kept.
    void clear() { m_survey->clear(); }

    // Opens a .ZLM file. A file that cannot be read (ReadFailed) or is refused (WrongFile)
    // leaves the document exactly as it was.
    Done openFile(const QString &path);
    // Saves atomically: on failure the previous file is intact. Once the survey is accepted for
    // saving, the document takes the saved form (adoptSavedForm).
    Done saveFile(const QString &path);

    // False when the opened file is not exactly a survey of its layout and count (trailing
    // bytes, a negative count: perhaps not a survey at all); saving over it would lose it.
    bool openedExactly() const { return m_inexactReason.isEmpty(); }
    const QString &inexactReason() const { return m_inexactReason; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

private:
    bool m_holdsData = false;
    bool m_modified = false;
    QString m_inexactReason;
    std::unique_ptr<SurveyData> m_survey;
};

} // namespace zolm
