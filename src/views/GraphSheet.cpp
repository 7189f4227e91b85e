#include "views/GraphSheet.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "app/PrintJob.h"
#include "app/ScreenOperation.h"
#include "views/GraphPainter.h"

#include <QPainter>
#include <QPrinter>

bool runGraphSheet(AppState& state, const GraphSheetRequest& request,
                   const LevelFiguresSource& figures, const GraphSheetTarget& target) {
    ScreenOperation operation(state);
    const std::vector<SheetPlace> places =
        sheetPlaces(static_cast<int>(request.levels.size()), target.height);
    for (std::size_t k = 0; k < places.size(); ++k) {
        const int level = request.levels[k];
        if (level < 1 || level > state.profile.levelCount) {
            break; // checked before the page break, so no page is left empty
        }
        if (places[k].newPage && !target.newPage()) {
            return false;
        }
        GraphBlockData data;
        if (figures) {
            data.figures = figures(level, request.pupilNo);
        }
        if (!readGraphBlock(state, {request.pupilNo, level, request.gradeFilter}, data)) {
            return false;
        }
        if (!target.drawBlock(data, places[k].top)) {
            return false;
        }
        letEventsRun(state);
    }
    return true;
}

QString graphDocumentName(const AppState& state, int pupilNo) {
    const auto& names = state.pupil.rosterNames;
    const QString name = (pupilNo >= 0 && pupilNo < static_cast<int>(names.size()))
                             ? names[std::size_t(pupilNo)].trimmed()
                             : QString();
    return name.isEmpty() ? QStringLiteral("成績グラフ")
                          : QStringLiteral("成績グラフ（%1）").arg(name);
}

bool printGraphSheet(AppState& state, QWidget* parent, const GraphSheetRequest& request,
                     const LevelFiguresSource& figures, const QString& fontFamily) {
    PrintRequest print;
    print.documentName = graphDocumentName(state, request.pupilNo);
    print.orientation = QPageLayout::Portrait;
    std::unique_ptr<PrintJob> job = beginPrint(state, parent, print);
    if (!job) {
        return false;
    }
    const QString failure = QStringLiteral("印刷できませんでした（%1）").arg(job->target());
    QPainter painter;
    if (!painter.begin(job->device())) {
        job->abort();
        showMessage(state, parent, QStringLiteral("注意"), failure, MessageButtons::Ok,
                    MessageIcon::Warning);
        return false;
    }
    // Every page is drawn inside what the printer prints on, the sheet's corner at the
    // corner of that area; nothing leaves it.
    const QRectF area = job->printableArea();
    painter.translate(area.topLeft());
    painter.setClipRect(QRectF(QPointF(0, 0), area.size()));
    const GraphSurface surface = paperSurface(area.size(), job->printer().resolution(), fontFamily);
    GraphSheetTarget target;
    target.height = surface.height();
    bool pageFailed = false;
    target.newPage = [&] {
        pageFailed = !job->newPage();
        return !pageFailed;
    };
    target.drawBlock = [&](const GraphBlockData& data, double top) {
        paintGraphBlock(painter, surface, layoutGraphBlock(data, surface, top));
        return true;
    };
    if (!runGraphSheet(state, request, figures, target)) {
        painter.end();
        job->abort();
        if (pageFailed) { // a program that is ending has said why already
            showMessage(state, parent, QStringLiteral("注意"), failure, MessageButtons::Ok,
                        MessageIcon::Warning);
        }
        return false;
    }
    painter.end();
    QString error;
    if (!job->finish(&error)) {
        showMessage(state, parent, QStringLiteral("注意"), error, MessageButtons::Ok,
                    MessageIcon::Warning);
        return false;
    }
    return true;
}
