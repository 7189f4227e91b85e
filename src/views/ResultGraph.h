#pragma once

#include "records/TimedOut.h"
#include "views/LevelFigures.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QtGlobal>
#include <array>
#include <variant>
#include <vector>

struct AppState;

// One block of the result graph: a pupil's runs at one level, run by run, with the
// pupil's figures against the whole school beside the chart.

inline constexpr int graphPeriodDays = 3650;   // runs of the last ten years are charted
inline constexpr int graphPlottedBelow = 1800; // slower runs (and time-outs) are not charted

// Which pupil and level a block is for, and the grade selector's text at the time.
struct GraphRequest {
    int pupilNo = 0;
    int level = 0;
    QString gradeFilter = QStringLiteral("全学年");
};

// A run of the pupil that is charted: its number among the pupil's runs below
// graphPlottedBelow seconds (from 1), its seconds and whether it lowered the pupil's best.
struct GraphRun {
    int run = 0;
    int seconds = 0;
    bool newBest = false;
    double runDate = 0;
};

// What the two passes over the results file find for one block.
struct GraphBlockData {
    int level = 0;
    QString pupilName; // trimmed
    QString title;     // the program's title, a blank and the level's name

    // First pass, over the newest records only.
    int windowRuns = 0;    // n: the pupil's runs below graphPlottedBelow seconds
    qint64 windowSum = 0;  // S: their seconds added up
    int windowSlowest = 0; // M: the largest of them

    // Second pass, over the whole file.
    int fileRuns = 0;     // the pupil's runs below graphPlottedBelow seconds
    qint64 schoolSum = 0; // every pupil's runs below graphPlottedBelow seconds
    int schoolCount = 0;
    int schoolBest = timedOutSeconds; // the school's best; the time-out mark when none
    double lastDate = 0;        // the date of the last record in the period, any pupil and level
    std::vector<GraphRun> runs; // the pupil's charted runs, in file order

    LevelFigures figures;
};

// The top of the time scale: the next ten above the slowest run, at most 1000 (0 gives 10).
int graphScaleTop(int slowestSeconds);

// Reads the results file once through the lists' reader, making both passes as it goes,
// taking only the runs the value rules accept (isUsableRecord), of the offered levels and
// the period (the figures are left as they are). A busy file is waited for; any other
// failure is shown and ends the program (false).
bool readGraphBlock(AppState& state, const GraphRequest& request, GraphBlockData& data);

// The ten lines of figures beside the chart; lines left out are empty (they still take
// their line step).
std::array<QString, 10> graphFigureLines(const GraphBlockData& data);

// A number written with the digit-only format: nothing for 0, else the nearest whole
// number (halves away from zero).
QString digitsOnly(double value);
// A rank text written the same way when it is a number; other texts (such as "---") as
// they stand.
QString digitsOnlyText(const QString& text);
// "2004/01/13".
QString graphDateText(double runDate);

// ---- The block as drawing items -------------------------------------------------------

// The surface a sheet is drawn on: its size in its own pixels, and how its pen widths and
// font sizes turn into those pixels.
struct GraphSurface {
    QSizeF size; // W x H
    bool paper = false;
    double pixelScale = 1; // own pixels per pen-width unit
    double pixelsPerPoint = 96.0 / 72.0;
    QString fontFamily;      // the drawing font (a fixed-pitch gothic)
    double baseFontSize = 6; // points the block's texts are scaled from

    double width() const { return size.width(); }
    double height() const { return size.height(); }
    double penWidth() const { return paper ? 30 : 5; }
    double lineStep() const { return (paper ? 0.06 : 0.08) * height() / 3; }
    double fontSize() const { return paper ? 6 : baseFontSize; }
};

// Pens, fonts and colours of the items, in the surface's own units.
enum class GraphPen { Rule, Current, BestLine }; // widths 2, the surface's, 3
enum class GraphFont { Name, Title, Text, Figures };

struct GraphLine {
    QPointF from;
    QPointF to;
    GraphPen pen = GraphPen::Current;
    QColor color;
};
struct GraphDot {
    QPointF at;
    QColor color;
};
// Text whose top left corner is at `at`.
struct GraphText {
    QPointF at;
    QString text;
    GraphFont font = GraphFont::Text;
};
using GraphItem = std::variant<GraphLine, GraphDot, GraphText>;

struct GraphDrawing {
    QRectF band;                 // the block's band; the items never leave it
    std::vector<GraphText> page; // the page's heading (the pupil's name), first block only
    std::vector<GraphItem> items;
};

// The colours the chart has always used, as the colour values of its drawing calls.
QColor colorOfValue(unsigned value);
inline constexpr unsigned graphRed = 255;
inline constexpr unsigned graphBlue = 16711680;

// Lays one block out at chartTop on the surface.
GraphDrawing layoutGraphBlock(const GraphBlockData& data, const GraphSurface& surface,
                              double chartTop);

// The tops of the blocks of a sheet, in order; newPage marks a block that starts a page
// after the first. Three blocks to a page, at 0.05 H, 0.35 H and 0.65 H.
struct SheetPlace {
    double top = 0;
    bool newPage = false;
};
std::vector<SheetPlace> sheetPlaces(int blocks, double height);
