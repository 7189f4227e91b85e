#pragma once

// Worksheet tables written the way the schools' PCs write them (CP932, CR LF, texts
// quoted, numbers bare), and PDF pages read back with poppler-utils.

#include "print/WorksheetSource.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <vector>

namespace printtest {

// One table line: the level, three parts and the five values that are not used.
inline QString tableLine(int level, const QString& a, const QString& b, const QString& c) {
    return QStringLiteral("%1,\"%2\",\"%3\",\"%4\",\"\",\"\",\"\",0,0\r\n").arg(level).arg(a, b, c);
}

inline QString writeTable(const TestInstallation& inst, const QString& text) {
    const std::optional<QByteArray> bytes = encodeCp932(text);
    if (!bytes) {
        qFatal("test text is not CP932");
    }
    return inst.writeBytes(worksheetSourcePath(inst.state), *bytes);
}

inline QString artefact(const QString& name) {
    QDir().mkpath(QStringLiteral(MIRUNEA_ARTIFACTS_DIR));
    return QDir(QStringLiteral(MIRUNEA_ARTIFACTS_DIR)).filePath(name);
}

inline QString run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString pdfText(const QString& pdf) {
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

inline QString pdfInfo(const QString& pdf) {
    return run(QStringLiteral("pdfinfo"), {pdf});
}

// The first page rendered in grey at dotsPerInch, saved beside the PDF as a PNG.
inline QImage pdfPage(const QString& pdf, int dotsPerInch) {
    const QString stem = pdf.chopped(4) + QStringLiteral("-page");
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-gray"),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// The rows (top to bottom) where the pixel column x turns dark: the first row of each run
// of dark pixels.
inline std::vector<int> darkRuns(const QImage& image, int x, int threshold = 160) {
    std::vector<int> runs;
    bool inRun = false;
    for (int y = 0; y < image.height(); ++y) {
        const bool dark = qGray(image.pixel(x, y)) < threshold;
        if (dark && !inRun) {
            runs.push_back(y);
        }
        inRun = dark;
    }
    return runs;
}

} // namespace printtest
