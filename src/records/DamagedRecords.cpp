#include "records/DamagedRecords.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "records/FileRetry.h"
#include "records/ResultsFile.h"
#include "text/DayNumber.h"

#include <QDir>
#include <QStringList>

namespace {

bool isDamage(RecordFault fault) {
    return fault == RecordFault::NegativeSeconds || fault == RecordFault::BadDate ||
           fault == RecordFault::FutureDate;
}

} // namespace

bool findDamagedRecords(AppState& state, DamagedRecords& found, int listed) {
    const double today = dayNumber(state.env->now().date());
    int missing = 0;
    const FileResult result = retryFileStep(state, missing, [&] {
        found = DamagedRecords{};
        return scanResultsTail(
            state, maxLoadedResults, [&](qint64 firstNumber, const char* bytes, qint64 count) {
                for (qint64 i = 0; i < count; ++i) {
                    const ResultRecord record = decodeResultRecord(bytes + i * ResultRecord::size);
                    if (!isDamage(recordFault(record, today))) {
                        continue;
                    }
                    if (found.count++ < listed) {
                        found.numbers.push_back(firstNumber + i);
                    }
                }
            });
    });
    if (!result.ok()) {
        found = DamagedRecords{};
        return false;
    }
    return true;
}

QString damagedRecordsNotice(const AppState& state, const DamagedRecords& found) {
    if (found.count == 0) {
        return QString();
    }
    QStringList numbers;
    for (const qint64 number : found.numbers) {
        numbers << QString::number(number);
    }
    QString text = QStringLiteral("成績累積データ.dat「%1」に、このプログラムが書かない記録が %2 件"
                                  "あります（タイムが負、日付が読めない、または日付が今日より後）。"
                                  "これらは数えずに飛ばしています。\n記録の番号: %3")
                       .arg(QDir::toNativeSeparators(resultsFilePath(state)))
                       .arg(found.count)
                       .arg(numbers.join(QStringLiteral(", ")));
    if (found.count > static_cast<qint64>(found.numbers.size())) {
        text += QStringLiteral("（ほかに %1 件）")
                    .arg(found.count - static_cast<qint64>(found.numbers.size()));
    }
    text += QStringLiteral("\n「データ変更」で、これらの記録を直すか消去してください。");
    return text;
}
