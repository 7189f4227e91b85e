#include "records/CriteriaFile.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "text/ItemReader.h"
#include "text/LenientNumber.h"
#include "text/TextFile.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kTitle = QStringLiteral("注意");

const char* const kFieldNames[criteriaFields] = {"目標Time",  "最低Time", "ｸﾘｱﾎﾟｲﾝﾄ", "ｸﾘｱ回数",
                                                 "ﾎﾟｲﾝﾄ倍率", "禁回",     "禁点",     "判期間",
                                                 "禁期間",    "予備1",    "予備2",    "予備3"};

// A whole-number field: the value rounded to the nearest integer (halves to the even
// neighbour), refused when it does not fit.
std::optional<int> wholeValue(double value, double lowest, double highest) {
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < lowest || rounded > highest) {
        return std::nullopt;
    }
    return static_cast<int>(rounded);
}

// Stores field `index` (0-based) of a level line; false when the value does not fit.
bool storeField(LevelCriteria& criteria, int index, double value) {
    constexpr double longLow = std::numeric_limits<std::int32_t>::min();
    constexpr double longHigh = std::numeric_limits<std::int32_t>::max();
    constexpr double shortLow = std::numeric_limits<std::int16_t>::min();
    constexpr double shortHigh = std::numeric_limits<std::int16_t>::max();
    if (!std::isfinite(value)) {
        return false;
    }
    std::optional<int> whole;
    switch (index) {
    case 0:
        whole = wholeValue(value, longLow, longHigh);
        criteria.targetSeconds = whole.value_or(0);
        return whole.has_value();
    case 1:
        whole = wholeValue(value, longLow, longHigh);
        criteria.minimumSeconds = whole.value_or(0);
        return whole.has_value();
    case 2:
        whole = wholeValue(value, longLow, longHigh);
        criteria.clearPoints = whole.value_or(0);
        return whole.has_value();
    case 3:
        whole = wholeValue(value, shortLow, shortHigh);
        criteria.clearCount = whole.value_or(0);
        return whole.has_value();
    case 4:
        if (std::fabs(value) > std::numeric_limits<float>::max()) {
            return false;
        }
        criteria.pointFactor = static_cast<float>(value);
        return true;
    case 5:
        criteria.overuseRuns = value;
        return true;
    case 6:
        criteria.overusePoints = value;
        return true;
    case 7:
        criteria.judgeDays = value;
        return true;
    case 8:
        criteria.overuseDays = value;
        return true;
    case 9:
        criteria.spare1 = value;
        return true;
    case 10:
        criteria.spare2 = value;
        return true;
    default:
        criteria.spare3 = value;
        return true;
    }
}

} // namespace

QString refusedCellCharacter(const QString& cell) {
    for (const QChar c : cell) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n')) {
            return QString(c == QLatin1Char('\r') || c == QLatin1Char('\n') ? QStringLiteral("改行")
                                                                            : QString(c));
        }
    }
    return QString();
}

QString criteriaFieldName(int field) {
    return field >= 0 && field < criteriaFields ? QString::fromUtf8(kFieldNames[field]) : QString();
}

ValueVerdict checkCriteriaValue(int field, const QString& text) {
    if (text.isEmpty() || startsWithNumber(text)) {
        return ValueVerdict::usable();
    }
    QString why = QStringLiteral("「%1」の値「%2」は数ではないので 0 として読みます")
                      .arg(criteriaFieldName(field), text);
    if (holdsFullWidthDigit(text)) {
        why += QStringLiteral("（数字は半角で書いてください）");
    }
    return ValueVerdict::fault(why);
}

QString levelCriteriaFault(const LevelCriteria& c) {
    if (c.minimumSeconds <= 0 || c.targetSeconds <= 0) {
        return QStringLiteral("タイムの設定（目標タイム %1 秒・最低タイム %2 秒）")
            .arg(c.targetSeconds)
            .arg(c.minimumSeconds);
    }
    if (!std::isfinite(c.pointFactor) || !(c.pointFactor > 0)) {
        return QStringLiteral("ポイント倍率の設定（%1）").arg(static_cast<double>(c.pointFactor));
    }
    return QString();
}

QString criteriaHeaderLine() {
    return QStringLiteral(
        "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,");
}

QString criteriaFilePath(const AppState& state) {
    return state.layout.drillDataFolder + QStringLiteral("タイム回数データ.txt");
}

CriteriaParse parseCriteria(const QString& text, const CriteriaTable& previous) {
    CriteriaParse parse;
    parse.table = previous;
    ItemReader reader(text);
    int slot = -1;
    while (!reader.atEnd()) {
        ++slot;
        if (slot > criteriaLevels) {
            parse.extraLines = true;
            break;
        }
        LevelCriteria criteria;
        for (int field = 0; field < criteriaFields; ++field) {
            const std::optional<Item> item = reader.next();
            if (!item) {
                parse.error =
                    QStringLiteral(
                        "%1 行目の途中（%2 項目のうち %3 項目）でファイルが終わっています。")
                        .arg(reader.line())
                        .arg(criteriaFields)
                        .arg(field);
                return parse;
            }
            if (slot > 0) {
                const ValueVerdict verdict = checkCriteriaValue(field, item->text);
                if (!verdict.ok) {
                    parse.notes.push_back({item->line, field, item->text, verdict.message});
                }
                if (const QString bad = refusedCellCharacter(item->text); !bad.isEmpty()) {
                    parse.unsavable.push_back(
                        {item->line, field, item->text,
                         QStringLiteral("「%1」の値「%2」には「%3」があり、先生の画面から保存"
                                        "できません")
                             .arg(criteriaFieldName(field), item->text, bad)});
                }
            }
            if (slot > 0 && !storeField(criteria, field, lenientNumber(item->text))) {
                parse.error = QStringLiteral("%1 行目の「%2」の値「%3」は大きすぎて使えません。")
                                  .arg(item->line)
                                  .arg(QString::fromUtf8(kFieldNames[field]))
                                  .arg(item->text);
                return parse;
            }
        }
        if (slot > 0) {
            parse.table[static_cast<std::size_t>(slot)] = criteria;
            parse.levels = slot;
        }
    }
    parse.ok = true;
    return parse;
}

bool loadCriteria(AppState& state) {
    const QString path = criteriaFilePath(state);
    const TextFileRead file = readCp932File(path);
    if (!file.ok) {
        fatalError(state, nullptr, kTitle,
                   QStringLiteral("タイム回数データ.txt を読めません。先生を呼びなさい\n") +
                       file.error);
        return false;
    }
    const CriteriaParse parse = parseCriteria(file.text, state.criteria);
    if (!parse.ok) {
        fatalError(state, nullptr, kTitle,
                   QStringLiteral("タイム回数データ.txt を読めません。先生を呼びなさい\n") + path +
                       QLatin1Char('\n') + parse.error);
        return false;
    }
    state.criteria = parse.table;
    if (!parse.notes.empty()) {
        QStringList lines{QStringLiteral("タイム回数データ.txt に数として読めない値があります。"
                                         "先生は直してください。"),
                          path};
        for (const CriteriaNote& note : parse.notes) {
            lines << QStringLiteral("　%1 行目: %2").arg(note.line).arg(note.message);
        }
        showMessage(state, nullptr, kTitle, lines.join(QLatin1Char('\n')), MessageButtons::Ok,
                    MessageIcon::Warning);
    }
    if (parse.extraLines) {
        showMessage(state, nullptr, kTitle,
                    QStringLiteral("タイム回数データ.txt には 35 を超えるレベルの行があります。"
                                   "レベル 1～35 だけを使い、その先の行は読みません。\n") +
                        path,
                    MessageButtons::Ok, MessageIcon::Warning);
    }
    return true;
}

bool saveCriteria(AppState& state, const std::vector<QStringList>& levelRows) {
    const QString path = criteriaFilePath(state);
    auto refuse = [&](const QString& why) {
        showMessage(state, nullptr, kTitle,
                    QStringLiteral("タイム回数データ.txt に記録できません。\n") + path +
                        QLatin1Char('\n') + why,
                    MessageButtons::Ok, MessageIcon::Warning);
        return false;
    };
    if (levelRows.size() > static_cast<std::size_t>(criteriaLevels)) {
        return refuse(
            QStringLiteral("レベルは 35 までです（%1 行あります）。").arg(levelRows.size()));
    }
    QString text = criteriaHeaderLine() + QStringLiteral("\r\n");
    for (std::size_t row = 0; row < levelRows.size(); ++row) {
        const QStringList& cells = levelRows[row];
        if (cells.size() != criteriaFields) {
            return refuse(QStringLiteral("レベル %1 の行の項目が %2 個です（12 個必要です）。")
                              .arg(row + 1)
                              .arg(cells.size()));
        }
        for (int column = 0; column < criteriaFields; ++column) {
            const QString bad = refusedCellCharacter(cells[column]);
            if (!bad.isEmpty()) {
                return refuse(QStringLiteral("レベル %1 の「%2」に「%3」は使えません。")
                                  .arg(row + 1)
                                  .arg(QString::fromUtf8(kFieldNames[column]))
                                  .arg(bad));
            }
        }
        text += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    QString error;
    if (!writeCp932FileAtomic(path, text, &error)) {
        return refuse(error);
    }
    return loadCriteria(state);
}
