#include "print/WorksheetBuild.h"

#include "app/Environment.h"

#include <algorithm>
#include <utility>

namespace {

// Columns: 1 the number, 2..4 the three parts, 5 and 6 the answers.
constexpr int numberColumn = 1;
constexpr int firstPart = 2;
constexpr int lastPart = 4;
constexpr int firstAnswer = 5;
constexpr int secondAnswer = 6;
constexpr int lastBuiltColumn = secondAnswer;

const QString rowNumbers = QStringLiteral("①②③④⑤⑥⑦⑧⑨⑩⑪⑫⑬⑭⑮⑯⑰⑱⑲⑳");

// Int(count × Rnd + first): a whole number from first to first + count − 1.
int draw(Environment& env, int count, int first) {
    const int offset = static_cast<int>(env.random() * count);
    return first + std::clamp(offset, 0, count - 1);
}

void clearBuiltCells(WorksheetTable& table) {
    for (int row = 0; row <= WorksheetTable::lastRow; ++row) {
        for (int column = 0; column <= lastBuiltColumn; ++column) {
            table.setText(column, row, QString());
        }
    }
}

WorksheetBuildReport takeLines(WorksheetTable& table, const std::vector<WorksheetLine>& lines,
                               const WorksheetChoice& choice) {
    WorksheetBuildReport report;
    for (const WorksheetLine& line : lines) {
        if (line.level < 1 || line.level > 8 ||
            !choice.levels[static_cast<std::size_t>(line.level)]) {
            continue;
        }
        if (report.taken == worksheetRowLimit) {
            report.firstLineLeftOut = line.line;
            break;
        }
        const int row = ++report.taken;
        for (int part = 0; part < 3; ++part) {
            table.setText(firstPart + part, row, line.parts[static_cast<std::size_t>(part)]);
        }
    }
    return report;
}

void swapRows(WorksheetTable& table, int a, int b) {
    for (int column = firstPart; column <= lastPart; ++column) {
        QString held = table.text(column, a);
        table.setText(column, a, table.text(column, b));
        table.setText(column, b, held);
    }
}

void shuffleRows(WorksheetTable& table, Environment& env) {
    const int rows = table.worksheetRows;
    for (int k = 0; k < 2 * rows; ++k) {
        const int i = draw(env, rows, 1);
        const int j = draw(env, rows, 1);
        swapRows(table, i, j);
    }
}

// Moves the text of column from to the answer column to and leaves column from empty.
void moveToAnswer(WorksheetTable& table, int row, int from, int to) {
    table.setText(to, row, table.text(from, row));
    table.setText(from, row, QString());
}

void blankRow(WorksheetTable& table, int row, int mode, Environment& env) {
    switch (mode) {
    case blankOne:
        moveToAnswer(table, row, draw(env, 3, firstPart), firstAnswer);
        break;
    case blankTwo: {
        // Every part but the kept one moves, in column order.
        const int kept = draw(env, 3, firstPart);
        int answer = firstAnswer;
        for (int column = firstPart; column <= lastPart; ++column) {
            if (column != kept) {
                moveToAnswer(table, row, column, answer++);
            }
        }
        break;
    }
    case blankOneProverb:
        moveToAnswer(table, row, draw(env, 2, firstPart + 1), firstAnswer);
        break;
    case blankBothProverb:
        moveToAnswer(table, row, firstPart + 1, firstAnswer);
        moveToAnswer(table, row, lastPart, secondAnswer);
        break;
    default:
        break;
    }
}

void setColumns(WorksheetTable& table, std::initializer_list<double> edges) {
    table.columnLeft.fill(0.0);
    int column = 1;
    for (double edge : edges) {
        table.columnLeft[static_cast<std::size_t>(column++)] = edge;
    }
    table.printColumns = static_cast<int>(edges.size()) - 1;
}

void setCaptions(WorksheetTable& table, int lastCaptionColumn) {
    const QString captions[] = {QStringLiteral("１列目"), QStringLiteral("２列目"),
                                QStringLiteral("３列目"), QStringLiteral("４列目")};
    for (int column = firstPart; column <= lastCaptionColumn; ++column) {
        table.setText(column, 0, captions[column - firstPart]);
    }
}

void applyMode(WorksheetTable& table, int mode, Environment& env) {
    if (mode < printAll || mode > blankBothProverb) {
        return;
    }
    for (int row = 1; row <= table.worksheetRows; ++row) {
        blankRow(table, row, mode, env);
    }
    switch (mode) {
    case printAll:
        setColumns(table, {0, 0.05, 0.6, 0.8, 1});
        break;
    case blankOne:
    case blankOneProverb:
        setColumns(table, {0, 0.05, 0.4, 0.6, 0.8, 1});
        break;
    default:
        setColumns(table, {0, 0.05, 0.4, 0.6, 0.8, 0.9, 1});
        break;
    }
    setCaptions(table, mode == printAll ? lastPart : firstAnswer);
    table.printRows = worksheetPrintRows;
}

void numberRows(WorksheetTable& table) {
    for (int row = 1; row <= table.printRows && row <= rowNumbers.size(); ++row) {
        table.setText(numberColumn, row, rowNumbers.mid(row - 1, 1));
    }
}

} // namespace

WorksheetBuildReport buildWorksheet(WorksheetTable& table, const std::vector<WorksheetLine>& lines,
                                    const WorksheetChoice& choice, Environment& env) {
    clearBuiltCells(table);
    const WorksheetBuildReport report = takeLines(table, lines, choice);
    table.worksheetRows = report.taken;
    if (choice.shuffle) {
        shuffleRows(table, env);
    }
    applyMode(table, choice.mode, env);
    numberRows(table);
    table.options.layoutKind = 2;
    table.options.portraitChoice = 1;
    table.options.printerOption = 1;
    table.options.autoPrint = 0;
    table.options.showPrintingPanel = 0;
    return report;
}

QString leftOutProblem(const QString& fileName, const WorksheetBuildReport& report) {
    if (report.firstLineLeftOut == 0) {
        return QString();
    }
    return QStringLiteral("%1 の %2 行目から先は使いません（選んだレベルの問題は %3 行までです）。")
        .arg(fileName)
        .arg(report.firstLineLeftOut)
        .arg(worksheetRowLimit);
}
