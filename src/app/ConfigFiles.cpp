#include "app/ConfigFiles.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "text/ItemReader.h"
#include "text/LenientNumber.h"
#include "text/TextFile.h"

#include <QFileInfo>

namespace {

const QString callTeacher = QStringLiteral("先生を呼びなさい。");

QString missingFileText(const QString& path) {
    return QStringLiteral("ファイル「%1」がありません。").arg(path);
}

QString shortFileText(const QString& path, int count, int found) {
    return QStringLiteral(
               "ファイル「%1」の項目が足りません。%2 項目が必要ですが %3 項目しかありません。")
        .arg(path)
        .arg(count)
        .arg(found);
}

void reportStartupFailure(AppState& state, const QString& what, const QString& error) {
    fatalError(state, nullptr, QStringLiteral("注意"),
               what + QStringLiteral("\r\n") + error + QStringLiteral("\r\n") + callTeacher);
}

} // namespace

LeadingItems readLeadingItems(const QString& path, int count) {
    LeadingItems result;
    if (!QFileInfo(path).isFile()) {
        result.error = missingFileText(path);
        return result;
    }
    const TextFileRead read = readCp932File(path);
    if (!read.ok) {
        result.error = read.error;
        return result;
    }
    ItemReader reader(read.text);
    while (result.items.size() < count) {
        const std::optional<Item> item = reader.next();
        if (!item) {
            result.error = shortFileText(path, count, static_cast<int>(result.items.size()));
            result.items.clear();
            return result;
        }
        result.items.push_back(item->text);
    }
    result.ok = true;
    return result;
}

bool readPathFile(AppState& state, const QString& path) {
    const LeadingItems read = readLeadingItems(path, pathFileItems);
    if (!read.ok) {
        reportStartupFailure(state, QStringLiteral("データフォルダの場所が読めません。"),
                             read.error);
        return false;
    }
    if (read.items[0].isEmpty()) {
        // An empty item would make every data path relative to wherever the program was
        // started from, which is a default folder in disguise.
        reportStartupFailure(
            state, QStringLiteral("データフォルダの場所が読めません。"),
            QStringLiteral("ファイル「%1」の 1 項目め（データフォルダ）が空です。").arg(path));
        return false;
    }
    state.layout.dataRoot = read.items[0];
    return true;
}

ValueVerdict checkStartMonth(const QString& item, int* month) {
    const double value = lenientNumber(item);
    const bool whole = startsWithNumber(item) && value >= 1 && value <= 12 &&
                       value == static_cast<double>(static_cast<int>(value));
    if (!whole) {
        QString why =
            QStringLiteral("1 項目め（学年の始まる月）「%1」は 1～12 の月ではありません。")
                .arg(item);
        if (holdsFullWidthDigit(item)) {
            why += QStringLiteral("数字は半角で書いてください。");
        }
        return ValueVerdict::fault(why);
    }
    if (month) {
        *month = static_cast<int>(value);
    }
    return ValueVerdict::usable();
}

SchoolItem splitSchoolItem(const QString& item) {
    const QString lead = item.left(5);
    if (lenientNumber(lead) != 0) {
        return {lead, item.mid(5)};
    }
    return {QString(), item};
}

bool readSharedConfig(AppState& state, const QString& path) {
    const LeadingItems read = readLeadingItems(path, sharedConfigItems);
    if (!read.ok) {
        reportStartupFailure(state, QStringLiteral("共通データが読めません。"), read.error);
        return false;
    }
    int month = 0;
    const ValueVerdict monthVerdict = checkStartMonth(read.items[0], &month);
    if (!monthVerdict.ok) {
        reportStartupFailure(state, QStringLiteral("共通データが読めません。"),
                             QStringLiteral("ファイル「%1」の").arg(path) + monthVerdict.message);
        return false;
    }
    state.config.schoolYearStartMonth = month;
    const SchoolItem school = splitSchoolItem(read.items[1]);
    state.config.schoolCode = school.code;
    state.config.schoolName = school.name;
    state.config.showStatus2Pupils = lenientNumber(read.items[2]);
    return true;
}
