#include "print/WorksheetSource.h"

#include "app/AppState.h"
#include "text/ItemReader.h"
#include "text/LenientNumber.h"
#include "text/TextFile.h"

#include <QFileInfo>
#include <optional>

namespace {

constexpr int valuesPerLine = 9;
constexpr int lowestLevel = 1;
constexpr int highestLevel = 8;

// The items of one line of the file, or nullopt at the end of the file.
std::optional<std::vector<Item>> nextLine(ItemReader& reader) {
    std::vector<Item> items;
    while (std::optional<Item> item = reader.next()) {
        items.push_back(*item);
        if (item->endsLine) {
            return items;
        }
    }
    if (items.empty()) {
        return std::nullopt;
    }
    return items;
}

QString lineProblem(const QString& name, int line, const QString& what) {
    return QStringLiteral("%1 の %2 行目: %3").arg(name).arg(line).arg(what);
}

} // namespace

QString worksheetSourcePath(const AppState& state) {
    // The program folder ends in its separator already; a second one would be a
    // character of the name on this system, not a separator.
    return state.layout.programFolder + worksheetSourceName;
}

WorksheetSource readWorksheetSource(const QString& path) {
    WorksheetSource source;
    const TextFileRead file = readCp932File(path);
    if (!file.ok) {
        source.problems.push_back(file.error);
        return source;
    }
    const QString name = QFileInfo(path).fileName();
    ItemReader reader(file.text);
    while (std::optional<std::vector<Item>> items = nextLine(reader)) {
        const int line = items->front().line;
        if (items->size() < valuesPerLine) {
            source.problems.push_back(
                lineProblem(name, line,
                            QStringLiteral("値が %1 個しかありません（%2 個必要です）。")
                                .arg(items->size())
                                .arg(valuesPerLine)));
            continue;
        }
        const QString& levelText = items->front().text;
        const int level = lenientInt(levelText);
        if (!startsWithNumber(levelText) || level < lowestLevel || level > highestLevel) {
            source.problems.push_back(
                lineProblem(name, line,
                            QStringLiteral("レベル「%1」は %2～%3 ではありません。")
                                .arg(levelText.trimmed())
                                .arg(lowestLevel)
                                .arg(highestLevel)));
            continue;
        }
        WorksheetLine taken;
        taken.level = level;
        taken.line = line;
        for (std::size_t part = 0; part < taken.parts.size(); ++part) {
            taken.parts[part] = (*items)[part + 1].text;
        }
        source.lines.push_back(taken);
    }
    return source;
}
