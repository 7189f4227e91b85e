#include "records/ResultRecord.h"

#include "records/Statistics.h"
#include "text/Cp932.h"
#include "text/DayNumber.h"

#include <QByteArrayView>
#include <QDate>
#include <bit>
#include <cmath>
#include <cstring>

namespace {

// Little-endian whatever the machine: values are moved byte by byte.
template <typename T> void put(char* out, T value) {
    using U = std::make_unsigned_t<T>;
    const U bits = static_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
}

template <typename T> T take(const char* in) {
    using U = std::make_unsigned_t<T>;
    U bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bits =
            static_cast<U>(bits | (static_cast<U>(static_cast<unsigned char>(in[i])) << (8 * i)));
    }
    return static_cast<T>(bits);
}

void putDouble(char* out, double value) {
    put<std::uint64_t>(out, std::bit_cast<std::uint64_t>(value));
}

double takeDouble(const char* in) {
    return std::bit_cast<double>(take<std::uint64_t>(in));
}

void putText(char* out, const ResultRecord::TextBytes& text) {
    std::memcpy(out, text.data(), text.size());
}

ResultRecord::TextBytes takeText(const char* in) {
    ResultRecord::TextBytes text{};
    std::memcpy(text.data(), in, text.size());
    return text;
}

} // namespace

QString ResultRecord::schoolCodeText() const {
    return decodeCp932Field(QByteArrayView(schoolCode.data(), schoolCode.size()));
}

bool ResultRecord::setSchoolCode(const QString& code) {
    const std::optional<QByteArray> bytes = encodeCp932Field(code, textWidth);
    if (!bytes || bytes->size() != textWidth) {
        return false;
    }
    std::memcpy(schoolCode.data(), bytes->constData(), textWidth);
    return true;
}

bool ResultRecord::fitsTables() const {
    return Statistics::validCell(level, pupilNo);
}

ResultRecordBytes encodeResultRecord(const ResultRecord& record) {
    ResultRecordBytes bytes{};
    char* out = bytes.data();
    putDouble(out + 0, record.runDate);
    putDouble(out + 8, record.runClock);
    put<std::int16_t>(out + 16, record.pupilNo);
    put<std::int16_t>(out + 18, record.level);
    put<std::int32_t>(out + 20, record.seconds);
    putText(out + 24, record.schoolCode);
    putText(out + 29, record.spareText);
    putText(out + 34, record.spareNumberText);
    putText(out + 39, record.unused);
    return bytes;
}

ResultRecord decodeResultRecord(const char* bytes) {
    ResultRecord record;
    record.runDate = takeDouble(bytes + 0);
    record.runClock = takeDouble(bytes + 8);
    record.pupilNo = take<std::int16_t>(bytes + 16);
    record.level = take<std::int16_t>(bytes + 18);
    record.seconds = take<std::int32_t>(bytes + 20);
    record.schoolCode = takeText(bytes + 24);
    record.spareText = takeText(bytes + 29);
    record.spareNumberText = takeText(bytes + 34);
    record.unused = takeText(bytes + 39);
    return record;
}

RecordFault recordFault(double runDate, int pupilNo, int level, std::int32_t seconds,
                        double today) {
    if (level < 1 || level >= Statistics::levels || pupilNo < 1 || pupilNo >= Statistics::pupils) {
        return RecordFault::ForeignLevelOrPupil;
    }
    if (seconds < 0) {
        return RecordFault::NegativeSeconds;
    }
    if (!std::isfinite(runDate)) {
        return RecordFault::BadDate;
    }
    if (runDate > today) {
        return RecordFault::FutureDate;
    }
    return RecordFault::None;
}

RecordFault recordFault(const ResultRecord& record, double today) {
    return recordFault(record.runDate, record.pupilNo, record.level, record.seconds, today);
}

bool isUsableRecord(const ResultRecord& record, double today) {
    return recordFault(record, today) == RecordFault::None;
}

QString recordFaultText(RecordFault fault, const ResultRecord& record) {
    switch (fault) {
    case RecordFault::None:
        return QString();
    case RecordFault::ForeignLevelOrPupil:
        return QStringLiteral("レベル %1・生徒番号 %2 はこのプログラムの記録にない値です")
            .arg(record.level)
            .arg(record.pupilNo);
    case RecordFault::NegativeSeconds:
        return QStringLiteral("タイム %1 秒はありえない値です").arg(record.seconds);
    case RecordFault::BadDate:
        return QStringLiteral("日付（%1）が日付として読めません").arg(record.runDate);
    case RecordFault::FutureDate:
        const QDate date = dateOfDayNumber(record.runDate);
        return QStringLiteral("日付が今日より後です（%1）")
            .arg(date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd"))
                                : QString::number(record.runDate, 'g', 17));
    }
    return QString();
}
