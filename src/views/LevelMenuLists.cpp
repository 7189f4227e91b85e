// The level menu's result lists: the option buttons, the list builds and the lists
// under the level columns.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenOperation.h"
#include "drill/RunFigures.h"
#include "views/LevelMenu.h"
#include "views/LevelRules.h"
#include "views/PersonalPanel.h"
#include "views/Rankings.h"
#include "views/ResultLists.h"
#include "views/ResultViewChoice.h"

#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <algorithm>

namespace {

// Rows of the lower part, in twips.
constexpr int optionsTop = 1050;
constexpr int optionsHeight = 460;

int sundayOneWeekday(const QDate& date) {
    return date.dayOfWeek() % 7 + 1; // Qt counts Monday 1 .. Sunday 7
}

QRadioButton* optionButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

void seisekitime1::buildResultViews() {
    const QString& font = msPGothic;
    Label5_ = label(QStringLiteral("Label5"), QStringLiteral("ベスト成績"));
    layout_.place(Label5_, 300, optionsTop, 2900, optionsHeight);
    layout_.setFont(Label5_, font, 11, true);

    Picture5_ = new QFrame(this);
    Picture5_->setObjectName(QStringLiteral("Picture5"));
    Picture5_->setFrameShape(QFrame::Box);
    layout_.place(Picture5_, 3200, optionsTop, 3750, optionsHeight);
    const QStringList whatCaptions = {QStringLiteral("ﾀｲﾑ表示"), QStringLiteral("ﾎﾟｲﾝﾄ表示"),
                                      QStringLiteral("個人ﾀｲﾑ")};
    for (int i = 0; i < 3; ++i) {
        QRadioButton* b =
            optionButton(Picture5_, QStringLiteral("Option2_%1").arg(i), whatCaptions[i]);
        layout_.place(b, 60 + i * 1220, 40, 1200, optionsHeight - 80);
        layout_.setFont(b, font, 9);
        connect(b, &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
        Option2_[static_cast<std::size_t>(i)] = b;
    }

    Command17_ = button(QStringLiteral("Command17"), QStringLiteral("グラフ"));
    layout_.place(Command17_, 7000, optionsTop, 700, optionsHeight);
    layout_.setFont(Command17_, font, 10, true);
    Command17_->hide();

    Picture1_ = new QFrame(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setFrameShape(QFrame::Box);
    // Ends short of the teacher's buttons, which start at 11500 twips on the same row.
    layout_.place(Picture1_, 7750, optionsTop, 3650, optionsHeight);
    const QStringList whichCaptions = {QString(), QStringLiteral("BEST表示"),
                                       QStringLiteral("本日のみ"), QStringLiteral("オール表示")};
    for (int i = 1; i <= 3; ++i) {
        QRadioButton* b =
            optionButton(Picture1_, QStringLiteral("Option1_%1").arg(i), whichCaptions[i]);
        // Each as wide as its longest caption needs: "BEST表示", "合計本日", "オール表示".
        constexpr int lefts[4] = {0, 40, 1230, 2350};
        constexpr int widths[4] = {0, 1150, 1080, 1250};
        layout_.place(b, lefts[i], 40, widths[i], optionsHeight - 80);
        layout_.setFont(b, font, 9);
        connect(b, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
        Option1_[static_cast<std::size_t>(i)] = b;
    }

    Picture6_ = new QFrame(this);
    Picture6_->setObjectName(QStringLiteral("Picture6"));
    Picture6_->setFrameShape(QFrame::Panel);
    Picture6_->setFrameShadow(QFrame::Raised);
    Picture6_->setAutoFillBackground(true);
    layout_.place(Picture6_, 0, 5000, 6000, 1400);
    Label21_ = new QLabel(QStringLiteral("Just a momento, please."), Picture6_);
    Label21_->setObjectName(QStringLiteral("Label21"));
    Label21_->setAlignment(Qt::AlignCenter);
    layout_.place(Label21_, 200, 150, 5600, 500);
    layout_.setFont(Label21_, font, 14, true);
    ProgressBar2_ = new QProgressBar(Picture6_);
    ProgressBar2_->setObjectName(QStringLiteral("ProgressBar2"));
    ProgressBar2_->setTextVisible(false);
    layout_.place(ProgressBar2_, 200, 800, 5600, 360);
    Picture6_->hide();

    Picture11_ = new PersonalPanel(state_, layout_, this);
    Picture11_->rankingChoice = [this] {
        return RankingChoice{Combo1_->currentText(), pointsPeriod_};
    };
    connect(Command17_, &QPushButton::clicked, this, [this] { Picture11_->graphCommand(); });
    connect(Combo2_, &QComboBox::activated, this, [this](int index) { periodChosen(index); });
}

void seisekitime1::buildLevelList(int level) {
    Column& c = columns_[static_cast<std::size_t>(level)];
    c.List5 = new QListView(this);
    c.List5->setObjectName(QStringLiteral("List5_%1").arg(level));
    c.List5Lines = new QStringListModel(c.List5);
    c.List5->setModel(c.List5Lines);
    // Every line is one row of the same height: the view lays out thousands at once.
    c.List5->setUniformItemSizes(true);
    c.List5->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.List5->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The fixed-pitch font: full-width characters are two half-width columns wide.
    layout_.setFont(c.List5, msGothic, 9);
}

QStringList seisekitime1::listLines(int level) const {
    if (level < 1 || level >= static_cast<int>(columns_.size())) {
        return {};
    }
    return columns_[static_cast<std::size_t>(level)].List5Lines->stringList();
}

void seisekitime1::setLevelLines(int level, const QStringList& lines) {
    Column& c = columns_[static_cast<std::size_t>(level)];
    // The model takes the whole list at once: one reset, one repaint.
    c.List5Lines->setStringList(lines);
    c.List5->clearSelection();
    c.List5->setCurrentIndex(QModelIndex());
}

void seisekitime1::clearLevelLists() {
    for (int i = 1; i < static_cast<int>(columns_.size()); ++i) {
        Column& c = columns_[static_cast<std::size_t>(i)];
        c.Label9->setText(QStringLiteral("今日"));
        c.Label10->setText(QStringLiteral("今まで"));
        c.List5Lines->setStringList({});
    }
}

void seisekitime1::hidePracticeLevel(int level) {
    const Column& c = columns_[static_cast<std::size_t>(level)];
    for (QWidget* w : {static_cast<QWidget*>(c.List5), static_cast<QWidget*>(c.Label7),
                       static_cast<QWidget*>(c.Label8), static_cast<QWidget*>(c.Label14),
                       static_cast<QWidget*>(c.Label15), static_cast<QWidget*>(c.Label9),
                       static_cast<QWidget*>(c.Label10)}) {
        w->hide();
    }
}

void seisekitime1::applyOpening() {
    const int count = static_cast<int>(columns_.size()) - 1;
    for (int i = 1; i <= count; ++i) {
        columns_[static_cast<std::size_t>(i)].Command4->setEnabled(false);
    }
    const LevelOpening opening = applyLevelRules(state_);
    for (int i = 1; i <= count; ++i) {
        const Column& c = columns_[static_cast<std::size_t>(i)];
        c.Command4->setEnabled(opening.enabled[i]);
        c.Text1->setVisible(opening.overuseBanner[i]);
        if (opening.overuseBanner[i]) {
            c.Text1->raise();
        }
    }
}

void seisekitime1::beginBuild(bool fromOption2) {
    if (fromOption2) {
        Command17_->hide();
        Picture11_->hide();
    }
    Command1_->setEnabled(false);
    for (int i = 1; i < static_cast<int>(columns_.size()); ++i) {
        const Column& c = columns_[static_cast<std::size_t>(i)];
        c.Command4->setEnabled(false);
        c.List5->hide();
    }
    if (!fromOption2) {
        Combo2_->hide();
        Picture1_->setEnabled(false);
    }
    Picture6_->raise();
    Picture6_->show();
    letEventsRun(state_);
}

void seisekitime1::finishBuild() {
    Picture1_->setEnabled(true);
    Command1_->setEnabled(true);
    applyOpening();
    for (int i = 1; i < static_cast<int>(columns_.size()); ++i) {
        columns_[static_cast<std::size_t>(i)].List5->setVisible(!isPracticeLevel(state_, i));
    }
    Picture6_->hide();
}

void seisekitime1::showDefaultResultView() {
    // Every return to the menu shows the all-time points ranking. The options are set
    // with the display muted, so the ranking is built once.
    displayKind_ = 2;
    state_.views.resultView = 1;
    displayOptionsMuted_ = true;
    Option1_[static_cast<std::size_t>(state_.views.resultView)]->setChecked(true);
    Option2_[1]->setChecked(true);
    Option2_Click(1);
    Option1_Click(state_.views.resultView);
    Command1_->setEnabled(true);
    displayOptionsMuted_ = false;
}

void seisekitime1::Option2_Click(int index) {
    const ScreenOperation building(state_);
    beginBuild(true);
    if (displayOptionsMuted_) {
        return;
    }
    const std::array<bool, 3> checked = {Option1_[1]->isChecked(), Option1_[2]->isChecked(),
                                         Option1_[3]->isChecked()};
    const DisplayChoice choice = displayChoice(index, displayKind_, checked);
    if (choice.showsGraphButton) {
        Command17_->show();
    }
    if (choice.hidesPeriodBox) {
        Combo2_->hide();
    }
    for (std::size_t i = 0; i < 3; ++i) {
        QRadioButton* option = Option1_[i + 1];
        if (!choice.option1Captions[i].isEmpty()) {
            option->setText(choice.option1Captions[i]);
        }
        if (choice.enablesOption1[i]) {
            option->setEnabled(true);
        }
    }
    displayKind_ = choice.displayKind;
    if (choice.option1Clicked != 0) {
        Option1_Click(choice.option1Clicked);
    } else if (choice.build == ResultBuild::PersonalTimes) {
        Command16_Click();
    } else {
        finishBuild();
    }
}

void seisekitime1::Option1_Click(int index) {
    const ScreenOperation building(state_);
    beginBuild(false);
    if (displayKind_ == 0) {
        displayKind_ = 1;
    }
    showRuns(runsChoice(displayKind_, index));
    finishBuild();
}

void seisekitime1::showRuns(ResultBuild build) {
    switch (build) {
    case ResultBuild::BestTimes:
        Command6_Click();
        return;
    case ResultBuild::TodayRuns:
        Command5_Click();
        return;
    case ResultBuild::PeriodRuns:
        Command7_Click();
        return;
    case ResultBuild::PointsAllTime:
        pointsPeriod_ = 1;
        Label5_->setText(QStringLiteral("獲得ポイント（今まで順位）"));
        levelRankings(1, true);
        return;
    case ResultBuild::PointsToday:
        Label5_->setText(QStringLiteral("獲得ポイント（今日の順位）"));
        pointsPeriod_ = 2;
        levelRankings(2, false);
        return;
    case ResultBuild::PersonalTimes:
        Command16_Click();
        return;
    case ResultBuild::Nothing:
        return;
    }
}

void seisekitime1::levelRankings(int period, bool countOnWaitPanel) {
    pointsPeriod_ = period;
    state_.views.resultView = 1;
    const int count = static_cast<int>(columns_.size()) - 1;
    ProgressBar2_->setRange(0, std::max(count, 1));
    if (countOnWaitPanel) {
        ProgressBar1_->setRange(0, std::max(count, 1));
    }
    const RankingRoster roster = prepareRankingRoster(state_, Combo1_->currentText());
    for (int i = 1; i <= count; ++i) {
        ProgressBar2_->setValue(i);
        if (countOnWaitPanel) {
            ProgressBar1_->setValue(i);
        }
        levelRankingWith(roster, i);
    }
}

void seisekitime1::levelRanking(int level) {
    if (level < 1 || level >= static_cast<int>(columns_.size())) {
        return;
    }
    levelRankingWith(prepareRankingRoster(state_, Combo1_->currentText()), level);
}

void seisekitime1::levelRankingWith(const RankingRoster& roster, int level) {
    Column& c = columns_[static_cast<std::size_t>(level)];
    c.Label9->setText(QStringLiteral("今日"));
    c.Label10->setText(QStringLiteral("今まで"));
    if (displayKind_ == 0) {
        displayKind_ = 1;
    }
    const RankingKind kind = displayKind_ == 2 ? RankingKind::Points : RankingKind::Time;
    const std::vector<RankedLine> ranked =
        levelRankingLines(state_, roster, pointsPeriod_, level, kind, RankingStyle::List);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(ranked.size()));
    for (const RankedLine& line : ranked) {
        lines.push_back(line.text);
    }
    setLevelLines(level, lines);
}

void seisekitime1::Command6_Click() {
    const ScreenOperation building(state_);
    Label5_->setText(QStringLiteral("ベスト成績"));
    state_.views.resultView = 1;
    clearLevelLists();
    const int count = static_cast<int>(columns_.size()) - 1;
    ProgressBar2_->setRange(0, std::max(count, 1));
    const RankingRoster roster = prepareRankingRoster(state_, Combo1_->currentText());
    for (int i = 1; i <= count; ++i) {
        ProgressBar2_->setValue(i);
        if (isPracticeLevel(state_, i)) {
            hidePracticeLevel(i);
        } else {
            levelRankingWith(roster, i);
        }
    }
    Picture1_->setEnabled(true);
}

bool seisekitime1::readRunLists(RunList list) {
    RunListRequest request;
    request.list = list;
    request.kind = displayKind_ == 2 ? ListKind::Points : ListKind::Time;
    request.periodDays = state_.views.periodDays;
    request.gradeFilter = Combo1_->currentText();
    ProgressBar2_->setValue(0);
    LevelLines lines;
    const bool read = buildRunLists(state_, request, lines, [this](qint64 done, qint64 total) {
        ProgressBar2_->setRange(0, static_cast<int>(std::min<qint64>(total + 1, 1 << 30)));
        ProgressBar2_->setValue(static_cast<int>(done));
    });
    if (!read) {
        return false; // the program is ending
    }
    for (int i = 1; i < static_cast<int>(lines.size()) && i < static_cast<int>(columns_.size());
         ++i) {
        setLevelLines(i, lines[static_cast<std::size_t>(i)]);
    }
    return true;
}

void seisekitime1::Command5_Click() {
    const ScreenOperation building(state_);
    Label5_->setText(QStringLiteral("本日の成績"));
    state_.views.resultView = 2;
    clearLevelLists();
    if (!readRunLists(RunList::Today)) {
        return;
    }
    Picture1_->setEnabled(true);
}

void seisekitime1::Command7_Click() {
    const ScreenOperation building(state_);
    state_.views.resultView = 3;
    clearLevelLists();
    ViewState& views = state_.views;
    views.periodDays = periodDaysFor(views.periodChoice, sundayOneWeekday(state_.env->now().date()),
                                     views.periodDays);
    Label5_->setText(QString());
    if (!readRunLists(RunList::Period)) {
        return;
    }
    Picture1_->setEnabled(true);
    Combo2_->show();
}

void seisekitime1::Command16_Click() {
    const ScreenOperation building(state_);
    Picture11_->preparePersonalTimes();
    state_.views.resultView = 3;
    clearLevelLists();
    Label5_->setText(QStringLiteral("個人別ﾀｲﾑ"));
    if (!readRunLists(RunList::Personal)) {
        return;
    }
    finishBuild();
}

void seisekitime1::gradeSelectorChanged() {
    const ScreenOperation building(state_);
    // The pupil's own times stay on show for the new grade; the other displays rebuild
    // their lists as times or points.
    if (Option2_[2]->isChecked()) {
        Option2_Click(2);
    } else if (Option2_[0]->isChecked()) {
        Option2_Click(0);
    } else {
        Option2_Click(1);
    }
    if (columns_.size() > 1) {
        columns_[1].Command4->setFocus();
    }
}

void seisekitime1::periodChosen(int index) {
    if (!Option1_[3]->isChecked()) {
        return;
    }
    state_.views.periodChoice = index + 1;
    Option1_Click(3);
}
