#include "app/ExplanationAddress.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "text/TextFile.h"

#include <QFileInfo>

QString explanationAddressFromText(const QString& text) {
    qsizetype end = text.indexOf(QLatin1Char('\n'));
    QString line = (end < 0 ? text : text.left(end)).trimmed();
    if (line.size() >= 2 && line.startsWith(QLatin1Char('"')) && line.endsWith(QLatin1Char('"'))) {
        line = line.mid(1, line.size() - 2).trimmed();
    }
    return line;
}

QString explanationAddress(AppState& state) {
    const QString path = state.layout.drillDataFolder + explanationAddressFileName;
    if (!QFileInfo::exists(path)) {
        return defaultExplanationAddress;
    }
    const TextFileRead read = readCp932File(path);
    if (!read.ok) {
        showMessage(state, nullptr, QStringLiteral("注意"),
                    read.error + QStringLiteral("\r\n解説は「") + defaultExplanationAddress +
                        QStringLiteral("」を使います。"),
                    MessageButtons::Ok, MessageIcon::Warning);
        return defaultExplanationAddress;
    }
    const QString address = explanationAddressFromText(read.text);
    return address.isEmpty() ? defaultExplanationAddress : address;
}
