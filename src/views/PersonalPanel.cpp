#include "views/PersonalPanel.h"

#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenOperation.h"
#include "app/TwipsLayout.h"
#include "views/GraphSheet.h"
#include "views/Rankings.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace {

// The panel's own coordinates, in twips.
constexpr int panelWidth = 15120;
constexpr int panelHeight = 9400;
constexpr int sideLeft = 11500;
constexpr int sideWidth = 3450;

} // namespace

PersonalPanel::PersonalPanel(AppState& state, TwipsLayout& layout, QWidget* parent)
    : QFrame(parent), state_(state), layout_(layout) {
    setObjectName(QStringLiteral("Picture11"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    layout.place(this, 120, 1740, panelWidth, panelHeight);

    const auto place = [&layout](QWidget* w, int left, int top, int width, int height) {
        // Children are placed in the panel's coordinates; the layout scales them alike.
        layout.place(w, left, top, width, height);
    };
    const QString& font = msGothic;

    Picture12 = new GraphPicture(this);
    Picture12->setFontFamily(font);
    place(Picture12, 100, 100, sideLeft - 200, panelHeight - 200);

    Command25 = new QPushButton(QStringLiteral("他の人のデータを見る"), this);
    Command25->setObjectName(QStringLiteral("Command25"));
    place(Command25, sideLeft, 100, sideWidth, 450);
    layout.setFont(Command25, msPGothic, 10);
    connect(Command25, &QPushButton::clicked, this, [this] { showPupilChooser(); });

    List2 = new QListWidget(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setSelectionMode(QAbstractItemView::MultiSelection);
    place(List2, sideLeft, 100, sideWidth, 3600);
    layout.setFont(List2, font, 10);
    List2->hide();
    // The charts on screen follow the choice of pupils at once.
    connect(List2, &QListWidget::itemClicked, this, [this] { chosenPupilsCommand(0); });

    Label27 = new QLabel(QStringLiteral("ﾚﾍﾞﾙ"), this);
    Label27->setObjectName(QStringLiteral("Label27"));
    place(Label27, sideLeft, 3800, 1000, 330);
    layout.setFont(Label27, msPGothic, 10);

    List3 = new QListWidget(this);
    List3->setObjectName(QStringLiteral("List3"));
    List3->setSelectionMode(QAbstractItemView::MultiSelection);
    place(List3, sideLeft, 4150, 1200, 3000);
    layout.setFont(List3, font, 10);
    connect(List3, &QListWidget::itemClicked, this, [this] {
        if (isVisible()) {
            chosenPupilsCommand(0);
        }
    });

    const std::array<QString, 2> captions = {QStringLiteral("表示"), QStringLiteral("印刷")};
    for (int i = 0; i < 2; ++i) {
        Command21[static_cast<std::size_t>(i)] = new QPushButton(captions[i], this);
        Command21[static_cast<std::size_t>(i)]->setObjectName(
            QStringLiteral("Command21_%1").arg(i));
        place(Command21[static_cast<std::size_t>(i)], sideLeft + 1300, 4150 + i * 550, 2000, 480);
        connect(Command21[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { sheetCommand(i); });

        Command24[static_cast<std::size_t>(i)] = new QPushButton(captions[i], this);
        Command24[static_cast<std::size_t>(i)]->setObjectName(
            QStringLiteral("Command24_%1").arg(i));
        place(Command24[static_cast<std::size_t>(i)], sideLeft + 1300, 5400 + i * 550, 2000, 480);
        connect(Command24[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { chosenPupilsCommand(i); });
    }
    for (QPushButton* b : {Command21[0], Command21[1], Command24[0], Command24[1]}) {
        layout.setFont(b, msPGothic, 10);
    }

    Command18 = new QPushButton(QStringLiteral("戻る"), this);
    Command18->setObjectName(QStringLiteral("Command18"));
    place(Command18, sideLeft, panelHeight - 700, sideWidth, 550);
    layout.setFont(Command18, msPGothic, 11, true);
    connect(Command18, &QPushButton::clicked, this, [this] { hide(); });

    for (int i = 1; i <= 2; ++i) {
        // Work lists: the rankings the figures are read from; never on screen.
        auto* work = new QListWidget(this);
        work->setObjectName(QStringLiteral("List4_%1").arg(i));
        work->hide();
        List4[static_cast<std::size_t>(i)] = work;
    }
    hide();
}

void PersonalPanel::preparePersonalTimes() {
    List2->clear();
    List2->addItems(loadPupilChooser(state_));
    List3->clear();
    QStringList levels;
    for (int i = 1; i <= state_.profile.levelCount; ++i) {
        levels << QString::number(i);
    }
    List3->addItems(levels);
    summaryLevel = 1;
    selectedPupil = state_.pupil.pupilIndex;
}

void PersonalPanel::showPupilChooser() {
    Command25->hide();
    List2->show();
}

RankingChoice PersonalPanel::currentChoice() const {
    return rankingChoice ? rankingChoice() : RankingChoice{QStringLiteral("全学年"), 1};
}

std::vector<RankedLine> PersonalPanel::levelWorkRanking() {
    if (workListKind == 0) {
        workListKind = 1;
    }
    const RankingKind kind = workListKind == 2 ? RankingKind::Points : RankingKind::Time;
    QListWidget* list = List4[workListKind == 2 ? 2 : 1];
    std::vector<RankedLine> ranking =
        ::levelWorkRanking(state_, currentChoice(), summaryLevel, kind);
    QStringList lines;
    for (const RankedLine& line : ranking) {
        lines << line.text;
    }
    list->clear();
    list->addItems(lines);
    return ranking;
}

void PersonalPanel::rankFigures(int index) {
    if (summaryLevel < 0 || summaryLevel >= static_cast<int>(levelFigures.size())) {
        return;
    }
    // One ranking per figure: the work list is built once and the figures are taken from
    // the same build.
    workListKind = index == 1 ? 1 : 2;
    const std::vector<RankedLine> ranking = levelWorkRanking();
    LevelFigures& kept = levelFigures[static_cast<std::size_t>(summaryLevel)];
    if (index == 1) {
        takeTimeFigures(ranking, selectedPupil, kept);
    } else {
        takePointsFigures(ranking, selectedPupil, kept);
    }
}

void PersonalPanel::graphCommand() {
    selectedPupil = state_.pupil.pupilIndex;
    List2->hide();
    Command25->show();
    List2->clearSelection();
    for (int i = 0; i < std::min(3, List3->count()); ++i) {
        List3->item(i)->setSelected(true);
    }
    baseFontSize = 6;
    summaryLevelBase = 1;
    sheetCommand(0);
}

std::vector<int> PersonalPanel::chosenLevels() const {
    std::vector<int> levels;
    for (int k = 1; k <= List3->count(); ++k) {
        if (List3->item(k - 1)->isSelected()) {
            levels.push_back(k + summaryLevelBase - 1);
        }
    }
    return levels;
}

LevelFigures PersonalPanel::figuresAt(int level, int pupilNo) {
    summaryLevel = level;
    selectedPupil = pupilNo;
    if (level < 0 || level >= static_cast<int>(levelFigures.size())) {
        return {};
    }
    rankFigures(0);
    letEventsRun(state_);
    rankFigures(1);
    letEventsRun(state_);
    return levelFigures[static_cast<std::size_t>(level)];
}

void PersonalPanel::sheetCommand(int index) {
    GraphSheetRequest request;
    request.pupilNo = selectedPupil;
    request.levels = chosenLevels();
    request.gradeFilter = currentChoice().gradeFilter;
    const LevelFiguresSource figures = [this](int level, int pupilNo) {
        return figuresAt(level, pupilNo);
    };
    show();
    raise();
    if (index == 1) {
        printGraphSheet(state_, this, request, figures, msGothic);
        return;
    }
    Picture12->setScale(layout_.scale());
    Picture12->setBaseFontSize(baseFontSize);
    Picture12->showSheet(state_, request, figures);
}

void PersonalPanel::chosenPupilsCommand(int index) {
    std::vector<int> pupils;
    for (int i = 0; i < List2->count(); ++i) {
        if (List2->item(i)->isSelected()) {
            pupils.push_back(chooserLinePupil(List2->item(i)->text()));
        }
    }
    if (pupils.empty()) {
        sheetCommand(index);
        return;
    }
    for (int pupil : pupils) {
        selectedPupil = pupil;
        sheetCommand(index);
    }
}
