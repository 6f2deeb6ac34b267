// zolm-probe-sim: a virtual probe. With --save it writes the survey it holds as a document.
#include "document/document.h"
#include "synthetic.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int usage(const char *why)
{
    std::fprintf(stderr,
                 "zolm-probe-sim: %s\n"
                 "usage: zolm-probe-sim [--survey FILE.ZLM | --points N] [--save FILE.ZLM]\n",
                 why);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int points = 28;
    std::string surveyFile, saveFile;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
        if (a == "--points") {
            const char *v = next();
            char *end = nullptr;
            const long n = v ? std::strtol(v, &end, 10) : -1;
            if (!v || *end || n < 0 || n > zolm::MaxSurveyPoints)
                return usage("--points needs a count from 0 to 1818");
            points = static_cast<int>(n);
        } else if (a == "--survey") {
            const char *v = next();
            if (!v)
                return usage("--survey needs a file");
            surveyFile = v;
        } else if (a == "--save") {
            const char *v = next();
            if (!v)
                return usage("--save needs a file");
            saveFile = v;
        } else {
            return usage(("unknown option " + a).c_str());
        }
    }
    if (saveFile.empty())
        return usage("--save is needed");

    zolm::CNDravikDoc doc;
    QString error;
    if (!surveyFile.empty()) {
        if (!doc.openFile(QString::fromLocal8Bit(surveyFile.c_str()), &error)) {
            std::fprintf(stderr, "zolm-probe-sim: %s\n", error.toUtf8().constData());
            return 1;
        }
    } else {
        const auto path = zolm::sim::defaultWellPath(points);
        const auto survey = zolm::sim::makeSurvey(zolm::sim::CalibrationKind::Realistic, path);
        doc.loadFromProbe(survey.parameters.bytes, survey.image.bytes);
    }
    if (!doc.saveFile(QString::fromLocal8Bit(saveFile.c_str()), &error)) {
        std::fprintf(stderr, "zolm-probe-sim: %s\n", error.toUtf8().constData());
        return 1;
    }
    return 0;
}
