#include "views/ResultGraph.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "records/ResultsFile.h"
#include "records/Statistics.h"
#include "roster/GradeRules.h"
#include "text/DayNumber.h"
#include "text/FixedWidth.h"
#include "views/GraphLabels.h"
#include "views/GraphPainter.h"
#include "views/ResultLines.h"

#include <algorithm>
#include <cmath>

namespace {

QString pupilNameOf(const AppState& state, int pupil) {
    const auto& names = state.pupil.rosterNames;
    if (pupil < 0 || pupil >= static_cast<int>(names.size())) {
        return {};
    }
    return names[static_cast<std::size_t>(pupil)].trimmed();
}

bool gradeShown(const AppState& state, const GraphRequest& request) {
    return gradeFilterAccepts(request.gradeFilter, pupilGradeIndex(state, request.pupilNo));
}

} // namespace

int graphScaleTop(int slowestSeconds) {
    return std::min(10 * (std::max(slowestSeconds, 0) / 10 + 1), 1000);
}

bool readGraphBlock(AppState& state, const GraphRequest& request, GraphBlockData& data) {
    const int levelCount = state.profile.levelCount;
    const int pupil = request.pupilNo;
    const int level = request.level;
    data.level = level;
    data.pupilName = pupilNameOf(state, pupil);
    const QString levelName = (level >= 0 && level < ProgramProfile::levelSlots)
                                  ? state.profile.levelNames[std::size_t(level)]
                                  : QString();
    data.title = state.profile.programTitle + QStringLiteral(" ") + levelName;
    state.views.resultView = 3;

    const QDateTime moment = state.env->now(); // one moment: a block never straddles midnight
    const double today = dayNumber(moment.date());
    const double now = today + dayFraction(moment.time());
    // The runs every list and statistic takes, of the offered levels and the period.
    const auto counted = [&](const ResultRecord& r) {
        return r.level >= 1 && r.level <= levelCount && isUsableRecord(r, today) &&
               insidePeriod(r.runDate, now, graphPeriodDays);
    };
    const bool shown = gradeShown(state, request);
    int pupilBest = Statistics::noTime;
    const auto start = [&] {
        data.windowRuns = 0;
        data.windowSum = 0;
        data.windowSlowest = 0;
        data.fileRuns = 0;
        data.schoolSum = 0;
        data.schoolCount = 0;
        data.schoolBest = Statistics::noTime;
        data.lastDate = 0;
        data.runs.clear();
        pupilBest = Statistics::noTime;
    };
    // The file is read once, by the lists' reader, and both passes are made as it goes:
    // the scale and the pupil's count over the newest records (as the lists show them),
    // the school's figures and the points over the whole file.
    const auto visit = [&](const NumberedRecord& numbered, qint64 totalRecords) {
        const ResultRecord& r = numbered.record;
        if (!counted(r)) {
            return;
        }
        data.lastDate = r.runDate;
        if (r.level != level) {
            return;
        }
        const bool charted = r.seconds < graphPlottedBelow;
        const bool inWindow = numbered.number > totalRecords - maxLoadedResults;
        if (charted) {
            data.schoolSum += r.seconds;
            ++data.schoolCount;
        }
        data.schoolBest = std::min<int>(data.schoolBest, r.seconds);
        if (r.pupilNo != pupil || !charted) {
            return; // slower runs and time-outs have no place on the chart
        }
        if (inWindow) {
            ++data.windowRuns;
            data.windowSum += r.seconds;
            data.windowSlowest = std::max<int>(data.windowSlowest, r.seconds);
        }
        ++data.fileRuns;
        if (shown) {
            // The first run is always a best; later ones only when strictly faster.
            const bool best = r.seconds < pupilBest;
            pupilBest = std::min<int>(pupilBest, r.seconds);
            data.runs.push_back({data.fileRuns, r.seconds, best, r.runDate});
        }
    };
    return readResultsTail(state, -1, start, visit, QStringLiteral("Command19"));
}

QString digitsOnly(double value) {
    const double rounded = std::round(value);
    if (!std::isfinite(rounded) || rounded == 0) {
        return {};
    }
    return QString::number(static_cast<long long>(rounded));
}

QString digitsOnlyText(const QString& text) {
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    return isNumber ? digitsOnly(value) : text;
}

QString graphDateText(double runDate) {
    return dateOfDayNumber(runDate).toString(QStringLiteral("yyyy/MM/dd"));
}

namespace {

// The best entries the chart draws: none when the newest records hold no run of the
// pupil (the run positions would have nothing to be counted against).
std::vector<const GraphRun*> chartedBests(const GraphBlockData& data) {
    std::vector<const GraphRun*> bests;
    if (data.windowRuns == 0) {
        return bests;
    }
    for (const GraphRun& run : data.runs) {
        if (run.newBest) {
            bests.push_back(&run);
        }
    }
    return bests;
}

// A school best of a time-out only (or none at all) is no time to show.
QString schoolBestText(int seconds) {
    return isTimedOut(seconds) ? QString() : digitsOnly(seconds);
}

} // namespace

std::array<QString, 10> graphFigureLines(const GraphBlockData& data) {
    const std::vector<const GraphRun*> bests = chartedBests(data);
    const LevelFigures& f = data.figures;
    std::array<QString, 10> lines;
    lines[0] = QStringLiteral("回数　　　　　　　") + rightField(digitsOnly(data.windowRuns), 3) +
               QStringLiteral("回");
    lines[1] = QStringLiteral("タイム  　　 　    本人 / 塾全体");
    lines[2] = QStringLiteral("　　順位　　　　") + rightField(digitsOnlyText(f.timeRank), 5) +
               QStringLiteral("位");
    lines[3] = QStringLiteral("　　最高　　　　") +
               rightField(bests.empty() ? QString() : secondsText(bests.back()->seconds), 6) +
               QStringLiteral(" /") + rightField(schoolBestText(data.schoolBest), 5) +
               QStringLiteral("秒");
    if (data.windowRuns != 0) {
        const double pupilAverage = std::floor(double(data.windowSum) / data.windowRuns);
        const QString school = data.schoolCount > 0
                                   ? digitsOnly(double(data.schoolSum) / data.schoolCount)
                                   : QString();
        lines[4] = QStringLiteral("　　平均　　　　") + rightField(digitsOnly(pupilAverage), 5) +
                   QStringLiteral("秒") + QStringLiteral(" /") + rightField(school, 5) +
                   QStringLiteral("秒");
    }
    lines[5] = QStringLiteral("ポイント  　　　");
    lines[6] = QStringLiteral("　　順位　　　　") + rightField(digitsOnlyText(f.pointsRank), 5) +
               QStringLiteral("位");
    lines[7] = QStringLiteral("　　獲得ポイント") + rightField(digitsOnly(f.pupilPoints), 5) +
               QStringLiteral("点");
    if (f.pointsHolders != 0) {
        lines[8] = QStringLiteral("　　　　　　　　　　　　/") +
                   rightField(digitsOnly(f.pointsSum / f.pointsHolders), 5) + QStringLiteral("点");
    }
    lines[9] = QStringLiteral("　　　　　　　　　　　　 (塾平均)");
    return lines;
}

QColor colorOfValue(unsigned value) {
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

namespace {

// The block's coordinates: bw and bh are half the width and a third of the height.
struct BlockFrame {
    double bw = 0;
    double bh = 0;
    double top = 0; // Y
    double divisor = 1;
    int scaleTop = 10;

    QPointF at(double xFraction, double yFraction) const {
        return {xFraction * bw, top + yFraction * bh};
    }
    // A run's point: run positions spread over the x axis, times over the y axis; a time
    // above the scale sits on the top of the frame, one below zero on the x axis.
    QPointF runPoint(const GraphRun& run) const {
        const double x = bw * (0.7 * run.run / divisor + 0.2);
        const double offset = bh * (0.8 - 0.7 * run.seconds / scaleTop);
        return {std::min(x, 0.9 * bw), top + std::clamp(offset, 0.1 * bh, 0.8 * bh)};
    }
};

QString dateLabel(const GraphRun& entry, const GraphRun* before) {
    const QString full = graphDateText(entry.runDate);
    if (before && graphDateText(before->runDate).left(5) == full.left(5)) {
        return full.right(5);
    }
    return full;
}

void addBestLabels(LabelPlacer& place, const BlockFrame& f,
                   const std::vector<const GraphRun*>& bests) {
    constexpr int shifts = 4; // half lines a label may move up or down
    const auto labelAt = [&](std::size_t i, double secondsDy, double dateDy) {
        const QPointF p = f.runPoint(*bests[i]);
        const double x = p.x() - 0.025 * f.bw;
        place.label({x, p.y() + secondsDy * f.bh}, secondsText(bests[i]->seconds), shifts, &p);
        place.label({x, p.y() + dateDy * f.bh},
                    dateLabel(*bests[i], i > 0 ? bests[i - 1] : nullptr), shifts, &p);
    };
    // The first best's time beside the y axis and its date under the x axis, then the
    // last best's, then every third one between them.
    const GraphRun& first = *bests.front();
    const QPointF firstPoint = f.runPoint(first);
    place.label({0.12 * f.bw, firstPoint.y() - 0.01 * f.bh}, secondsText(first.seconds), shifts);
    place.label({firstPoint.x() - 0.025 * f.bw, f.top + 0.815 * f.bh}, graphDateText(first.runDate),
                0);
    labelAt(bests.size() - 1, 0.04, 0.07);
    if (bests.size() > 5) {
        for (std::size_t k = 3; k + 2 <= bests.size(); k += 3) {
            labelAt(k - 1, 0.01, 0.03);
        }
    }
}

} // namespace

GraphDrawing layoutGraphBlock(const GraphBlockData& data, const GraphSurface& surface,
                              double chartTop) {
    BlockFrame f;
    f.bw = surface.width() / 2;
    f.bh = surface.height() / 3;
    f.top = chartTop;
    f.scaleTop = graphScaleTop(data.windowSlowest);
    // On a file larger than the window of newest records the pupil may have more runs
    // than were counted there: they are spread over the same axis instead of past it.
    f.divisor = std::max(1, std::max(data.windowRuns, data.fileRuns));

    GraphDrawing d;
    d.band = QRectF(0, chartTop - 0.01 * f.bh, surface.width(), 0.9 * f.bh);
    LabelPlacer place(surface, d);
    if (chartTop < 0.08 * surface.height()) {
        // The page's heading ends before the title begins: a long name is cut short.
        const QPointF at(0.01 * f.bw, 0.02 * f.bh);
        const double room =
            0.69 * f.bw - place.rectOf({}, QStringLiteral("　"), GraphFont::Title).width();
        const QString name = elidedGraphText(surface, GraphFont::Name, data.pupilName, room);
        d.page.push_back({at, name, GraphFont::Name});
        place.reserve(place.rectOf(at, name, GraphFont::Name));
    }
    const QColor ruleColor = colorOfValue(1);
    const QColor black = colorOfValue(0);
    d.items.emplace_back(
        GraphLine{{0, chartTop}, {surface.width(), chartTop}, GraphPen::Rule, ruleColor});
    d.items.emplace_back(GraphLine{
        f.at(0, 0.09), {surface.width(), chartTop + 0.09 * f.bh}, GraphPen::Rule, ruleColor});
    place.fixed(f.at(0.7, 0.01), data.title, GraphFont::Title);
    d.items.emplace_back(GraphLine{f.at(0.2, 0.8), f.at(0.9, 0.8), GraphPen::Current, ruleColor});
    d.items.emplace_back(GraphLine{f.at(0.2, 0.8), f.at(0.2, 0.1), GraphPen::Current, black});

    if (data.windowRuns > 0) {
        for (const GraphRun& run : data.runs) {
            d.items.emplace_back(
                GraphDot{f.runPoint(run), colorOfValue(run.newBest ? graphRed : graphBlue)});
        }
    }

    const std::array<QString, 10> lines = graphFigureLines(data);
    // The figures end inside the band: where the line step would take the last line out
    // of it (the screen's step is the larger), the lines close up.
    const double lineHeight = place.rectOf({}, lines[9], GraphFont::Figures).height();
    const double room = d.band.bottom() - (chartTop + 0.05 * f.bh) - lineHeight;
    const double step = std::min(surface.lineStep(), room / 10.5);
    double y = chartTop + 0.05 * f.bh;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // The school average's caption goes half a step further down than a line would.
        y += (i + 1 == lines.size()) ? 1.5 * step : step;
        if (!lines[i].isEmpty()) {
            place.fixed({1.05 * f.bw, y}, lines[i], GraphFont::Figures);
        }
    }

    const std::vector<const GraphRun*> bests = chartedBests(data);
    if (bests.empty()) {
        return d;
    }
    for (std::size_t i = 1; i < bests.size(); ++i) {
        const QLineF line(f.runPoint(*bests[i - 1]), f.runPoint(*bests[i]));
        d.items.emplace_back(GraphLine{line.p1(), line.p2(), GraphPen::BestLine, black});
        place.avoidLine(line);
    }
    place.fixed(f.at(0.12, 0.79), QStringLiteral("0秒"), GraphFont::Text);
    place.fixed(f.at(0.12, 0.1), secondsText(f.scaleTop), GraphFont::Text);
    addBestLabels(place, f, bests);
    // Last, the date of the newest records under the pupil's last run, where it is clear
    // of the bests' own dates.
    const QPointF lastRun = f.runPoint(data.runs.back());
    place.label({lastRun.x() - 0.025 * f.bw, chartTop + 0.815 * f.bh}, graphDateText(data.lastDate),
                0);
    return d;
}

std::vector<SheetPlace> sheetPlaces(int blocks, double height) {
    std::vector<SheetPlace> places;
    for (int k = 0; k < blocks; ++k) {
        places.push_back({height * (0.05 + 0.3 * (k % 3)), k > 0 && k % 3 == 0});
    }
    return places;
}
