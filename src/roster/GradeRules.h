#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

struct AppState;

// The school grade of a pupil, derived from the cohort year of birth.
// Grade index: 1..6 elementary, 7..9 junior high, 10..12 senior high, 0 and below
// pre-school, 13 and above beyond high school.

// The school year of a date: its calendar year, one less before the start month.
int schoolYearOf(const QDate& today, double startMonth);
// Recomputes state.pupil.schoolYear from the environment's date and the start month.
void updateSchoolYear(AppState& state);

// schoolYear - birthYear - 6, held to the 16-bit range.
int gradeIndexOf(int schoolYear, int birthYear);
int gradeIndexOf(const AppState& state, int birthYear);

// "幼3", "小1" .. "小6", "中1" .. "中3", "高1" .. "高3", "幼-", "幼1", "幼2", "大+".
QString shortGradeLabel(int gradeIndex);
// "幼３", "小１" .. "小６", "中１" .. "中３", "高１" for 0..10; empty for the others.
QString fullGradeLabel(int gradeIndex);
// The number within the stage; below 1 exactly for the pre-school indexes.
int stageNumber(int gradeIndex);

// The texts every grade selector offers, in order ("全学年" first).
QStringList gradeFilterChoices();
bool gradeFilterAccepts(const QString& filter, int gradeIndex);

// "①".."⑥" for 1..6, "Ⅰ" "Ⅱ" "Ⅲ" for 7..9, a full-width space otherwise.
QString gradeMark(int gradeIndex);
