#include "records/CriteriaGrid.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "records/CriteriaFile.h"
#include "text/ItemReader.h"
#include "text/LenientNumber.h"
#include "text/TextFile.h"

#include <algorithm>
#include <optional>

namespace {

const QString kTitle = QStringLiteral("注意");

QStringList headingRow() {
    QStringList row;
    for (int column = 0; column < CriteriaGrid::columns; ++column) {
        row << CriteriaGrid::heading(column);
    }
    return row;
}

struct GridRead {
    std::vector<QStringList> rows; // level rows, 12 texts each
    QString error;
};

// The level lines of the criteria text as texts, read the way loadCriteria reads them.
std::optional<GridRead> readLevelRows(const QString& text, QString* error) {
    GridRead read;
    ItemReader reader(text);
    for (int slot = 0; !reader.atEnd() && slot <= criteriaLevels; ++slot) {
        QStringList fields;
        for (int field = 0; field < criteriaFields; ++field) {
            const std::optional<Item> item = reader.next();
            if (!item) {
                *error = QStringLiteral(
                             "%1 行目の途中（%2 項目のうち %3 項目）でファイルが終わっています。")
                             .arg(reader.line())
                             .arg(criteriaFields)
                             .arg(field);
                return std::nullopt;
            }
            fields << item->text;
        }
        if (slot > 0) {
            read.rows.push_back(fields);
        }
    }
    return read;
}

bool holdsRefusedCharacter(const QString& cell) {
    return cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"')) ||
           cell.contains(QLatin1Char('\r')) || cell.contains(QLatin1Char('\n'));
}

} // namespace

CriteriaGrid::CriteriaGrid() : cells_{headingRow()}, marks_{std::vector<bool>(columns, false)} {}

QString CriteriaGrid::heading(int column) {
    static const char* const headings[columns] = {
        "レベル", "目標Time", "最低Time", "ｸﾘｱﾎﾟｲﾝﾄ", "ｸﾘｱ回数", "ﾎﾟｲﾝﾄ倍率", "禁回",
        "禁点",   "判期間",   "禁期間",   "",         "",        ""};
    return column >= 0 && column < columns ? QString::fromUtf8(headings[column]) : QString();
}

QString CriteriaGrid::columnHelp(int column) {
    switch (column) {
    case 1:
        return QStringLiteral(
            "合格基準タイム\n　大部分の人ががんばったら出せそうなタイムにしてください");
    case 2:
        return QStringLiteral("合格最低ラインタイム\n  合格基準タイムの２～５割増しにしてください "
                              "この５倍が時間切れになります");
    case 3:
        return QStringLiteral(
            "クリアポイント\n　　 次のレベルへ進むことができるようになるためのポイント");
    case 4:
        return QStringLiteral("クリア回数\n　　 次のレベルへ進むことができるようになるための回数");
    case 5:
        return QStringLiteral("ポイント倍率\n  ポイントを何倍にして加算するか\n  "
                              "むずかしいレベルや生徒のいやがるレベルは高くしてください");
    case 6:
        return QStringLiteral("やりすぎ禁止回数\n  何回やったらやりすぎ禁止にするか\n  ");
    case 7:
        return QStringLiteral("やりすぎ禁止ポイント\n  何ポイントとったらやりすぎ禁止にするか\n ");
    case 8:
        return QStringLiteral("合格判定をする日数\n　何日前からのポイントを有効にするか");
    case 9:
        return QStringLiteral("やりすぎ判定をする日数\n　何日前からのポイントを有効にするか");
    default:
        return QString();
    }
}

bool CriteriaGrid::load(AppState& state) {
    const QString path = criteriaFilePath(state);
    const TextFileRead file = readCp932File(path);
    QString error = file.error;
    std::optional<GridRead> read;
    if (file.ok) {
        read = readLevelRows(file.text, &error);
    }
    if (!read) {
        showMessage(state, nullptr, kTitle,
                    QStringLiteral("タイム回数データ.txt を読めません。\n") + path +
                        QLatin1Char('\n') + error,
                    MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    cells_.assign(1, headingRow());
    for (std::size_t level = 0; level < read->rows.size(); ++level) {
        cells_.push_back(QStringList{QString::number(level + 1)} + read->rows[level]);
    }
    marks_.assign(cells_.size(), std::vector<bool>(columns, false));
    row_ = 0;
    setCurrent(1, 1);
    return true;
}

bool CriteriaGrid::save(AppState& state) {
    std::vector<QStringList> levelRows;
    bool refusedCharacter = false;
    QString text = criteriaHeaderLine() + QStringLiteral("\r\n");
    for (int row = 1; row < rowCount(); ++row) {
        const QStringList fields = cells_[static_cast<std::size_t>(row)].mid(1);
        for (const QString& cell : fields) {
            refusedCharacter = refusedCharacter || holdsRefusedCharacter(cell);
        }
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
        levelRows.push_back(fields);
    }
    // saveCriteria refuses the characters the file cannot hold itself. A value the
    // program could not read back would stop the reload after the file is written, so
    // the text is read here first, as the reload will read it.
    if (!refusedCharacter) {
        const CriteriaParse parse = parseCriteria(text, state.criteria);
        if (!parse.ok) {
            showMessage(state, nullptr, kTitle,
                        QStringLiteral("タイム回数データ.txt に記録できません。\n") +
                            criteriaFilePath(state) + QLatin1Char('\n') + parse.error,
                        MessageButtons::Ok, MessageIcon::Warning);
            return false;
        }
    }
    if (!saveCriteria(state, levelRows)) {
        return false;
    }
    changed_ = false;
    return true;
}

QString CriteriaGrid::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns) {
        return QString();
    }
    return cells_[static_cast<std::size_t>(row)][column];
}

bool CriteriaGrid::marked(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns) {
        return false;
    }
    return marks_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void CriteriaGrid::setCurrent(int row, int column) {
    if (rowCount() < 2) {
        row_ = 0;
        selectionEnd_ = 0;
        return;
    }
    row_ = std::clamp(row, 1, rowCount() - 1);
    column_ = std::clamp(column, 1, lastColumn);
    selectionEnd_ = row_;
}

void CriteriaGrid::copyDown(const QString& text) {
    if (!hasCurrentCell()) {
        return;
    }
    selectionEnd_ = std::min(selectionEnd_ + 1, rowCount() - 1);
    for (int row = row_; row <= selectionEnd_; ++row) {
        setCell(row, column_, text);
    }
}

void CriteriaGrid::editBoxToCell(const QString& text) {
    if (hasCurrentCell()) {
        setCell(row_, column_, text);
    }
}

void CriteriaGrid::setCell(int row, int column, const QString& typed) {
    // A Japanese input method types "３０" or "１．５"; the file is read half-width, where
    // those would be 0, so the cell takes the digits they show.
    const QString text = halfWidthNumberText(typed);
    QString& cell = cells_[static_cast<std::size_t>(row)][column];
    if (cell == text) {
        return;
    }
    marks_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = true;
    changed_ = true;
    cell = text;
}
