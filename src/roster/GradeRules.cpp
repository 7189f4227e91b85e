#include "roster/GradeRules.h"

#include "app/AppState.h"
#include "app/Environment.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace {

QString halfDigit(int n) {
    return QString::number(n);
}

// "１" .. "９".
QString fullDigit(int n) {
    return QString(QChar(static_cast<char16_t>(u'０' + n)));
}

} // namespace

int schoolYearOf(const QDate& today, double startMonth) {
    int year = today.year();
    if (today.month() < startMonth) {
        --year;
    }
    return year;
}

void updateSchoolYear(AppState& state) {
    state.pupil.schoolYear =
        schoolYearOf(state.env->now().date(), state.config.schoolYearStartMonth);
}

int gradeIndexOf(int schoolYear, int birthYear) {
    const long long index = static_cast<long long>(schoolYear) - birthYear - 6;
    return static_cast<int>(std::clamp<long long>(index, std::numeric_limits<std::int16_t>::min(),
                                                  std::numeric_limits<std::int16_t>::max()));
}

int gradeIndexOf(const AppState& state, int birthYear) {
    return gradeIndexOf(state.pupil.schoolYear, birthYear);
}

QString shortGradeLabel(int gradeIndex) {
    if (gradeIndex <= -3) {
        return QStringLiteral("幼-");
    }
    if (gradeIndex <= 0) {
        return QStringLiteral("幼") + halfDigit(gradeIndex + 3);
    }
    if (gradeIndex <= 6) {
        return QStringLiteral("小") + halfDigit(gradeIndex);
    }
    if (gradeIndex <= 9) {
        return QStringLiteral("中") + halfDigit(gradeIndex - 6);
    }
    if (gradeIndex <= 12) {
        return QStringLiteral("高") + halfDigit(gradeIndex - 9);
    }
    return QStringLiteral("大+");
}

QString fullGradeLabel(int gradeIndex) {
    if (gradeIndex == 0) {
        return QStringLiteral("幼３");
    }
    if (gradeIndex >= 1 && gradeIndex <= 6) {
        return QStringLiteral("小") + fullDigit(gradeIndex);
    }
    if (gradeIndex >= 7 && gradeIndex <= 9) {
        return QStringLiteral("中") + fullDigit(gradeIndex - 6);
    }
    if (gradeIndex == 10) {
        return QStringLiteral("高１");
    }
    return QString();
}

int stageNumber(int gradeIndex) {
    if (gradeIndex <= 0) {
        return gradeIndex - 6;
    }
    if (gradeIndex <= 6) {
        return gradeIndex;
    }
    if (gradeIndex <= 12) {
        return (gradeIndex - 7) % 3 + 1;
    }
    return gradeIndex - 9;
}

QStringList gradeFilterChoices() {
    return {QStringLiteral("全学年"), QStringLiteral("中学生全体"), QStringLiteral("小学生全体"),
            QStringLiteral("中３"),   QStringLiteral("中２"),       QStringLiteral("中１"),
            QStringLiteral("小６"),   QStringLiteral("小５"),       QStringLiteral("小４"),
            QStringLiteral("小３"),   QStringLiteral("小２"),       QStringLiteral("小１")};
}

bool gradeFilterAccepts(const QString& filter, int gradeIndex) {
    if (filter == QStringLiteral("全学年")) {
        return true;
    }
    if (filter == QStringLiteral("小学生全体")) {
        return gradeIndex >= 1 && gradeIndex <= 6;
    }
    if (filter == QStringLiteral("中学生全体")) {
        return gradeIndex >= 7 && gradeIndex <= 9;
    }
    // A single grade: exactly the index whose full-width label the filter names.
    for (int index = 1; index <= 9; ++index) {
        if (filter == fullGradeLabel(index)) {
            return gradeIndex == index;
        }
    }
    return false;
}

QString gradeMark(int gradeIndex) {
    static constexpr std::array<char16_t, 10> marks = {u'　', u'①', u'②', u'③', u'④',
                                                       u'⑤',  u'⑥', u'Ⅰ', u'Ⅱ', u'Ⅲ'};
    if (gradeIndex >= 1 && gradeIndex <= 9) {
        return QString(QChar(marks[static_cast<std::size_t>(gradeIndex)]));
    }
    return QStringLiteral("　");
}
