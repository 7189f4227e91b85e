#include "app/JapaneseFonts.h"

#include <QFont>
#include <QFontDatabase>

QStringList japaneseSubstitutes(const QString& family) {
    if (family == msGothic) {
        return {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                QStringLiteral("VL Gothic"), QStringLiteral("Noto Sans Mono CJK JP")};
    }
    if (family == msPGothic) {
        return {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP")};
    }
    return {};
}

QStringList mapJapaneseFonts() {
    const QStringList installed = QFontDatabase::families();
    QStringList mapped;
    for (const QString& family : {msGothic, msPGothic}) {
        if (installed.contains(family)) {
            continue;
        }
        QStringList available;
        for (const QString& candidate : japaneseSubstitutes(family)) {
            if (installed.contains(candidate)) {
                available.push_back(candidate);
            }
        }
        if (available.isEmpty()) {
            continue;
        }
        QFont::removeSubstitutions(family);
        QFont::insertSubstitutions(family, available);
        mapped.push_back(family);
    }
    return mapped;
}
