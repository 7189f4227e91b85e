#include "support/PdfText.h"

#include <QProcess>
#include <QRegularExpression>

QString pdfTextWithoutSpaces(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    QString text = QString::fromUtf8(p.readAllStandardOutput());
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text.remove(QChar(0x3000));
}
