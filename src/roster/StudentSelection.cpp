#include "roster/StudentSelection.h"

#include "app/AppState.h"
#include "app/ClockSeed.h"
#include "app/JapaneseFonts.h"
#include "app/Messages.h"
#include "app/ProfileLoading.h"
#include "app/ScreenHost.h"
#include "app/ScreenOperation.h"
#include "app/SeasonColor.h"
#include "app/VersionDialog.h"
#include "records/ResultsFile.h"
#include "result/SoundCues.h"
#include "roster/GradeRules.h"
#include "roster/RosterList.h"
#include "roster/SelectionActions.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {

const char16_t* const modeCaptions[] = {u"回数(今日／今まで）", u"ポイント（今日／今まで）",
                                        u"本日（ポイント／回数）", u"今まで（ポイント／回数）"};

} // namespace

StudentSelection::StudentSelection(AppState& state, QWidget* parent) : Screen(state, parent) {
    setWindowTitle(state_.profile.programTitle);
    createControls();
    placeControls();
    paintBackground(this, colorFromLong(state_.config.seasonColor));
    paintBackground(Picture5, colorFromLong(state_.config.seasonColor));
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    setWaiting(true);
}

QString StudentSelection::caption() const {
    return state_.profile.programTitle;
}

void StudentSelection::createControls() {
    Label4 = new QLabel(state_.profile.programTitle, this);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setCursor(Qt::PointingHandCursor);

    List1 = new QListWidget(this);
    List1->setUniformItemSizes(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->addItem(RosterList::header());

    Combo1 = new QComboBox(this);
    Combo1->addItems(gradeFilterChoices());
    Combo1->setToolTip(QStringLiteral("表示する学年を選びなさい"));

    modeGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        Option1[static_cast<std::size_t>(i)] =
            new QRadioButton(QString::fromUtf16(modeCaptions[i]), this);
        modeGroup_->addButton(Option1[static_cast<std::size_t>(i)], i);
    }
    // A fresh screen starts in mode 0; activation switches to mode 1, which builds the list.
    Option1[0]->setChecked(true);

    Label1 = new QLabel(namePrompt(), this);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    paintBackground(Label1, Qt::white);
    Label2 = new QLabel(this);
    Label2->hide();

    Command14 = new QPushButton(QStringLiteral("O.K."), this);
    Command7 = new QPushButton(QStringLiteral("ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"), this);
    Command1 = new QPushButton(QStringLiteral("印刷"), this);
    Command1->hide();

    Picture5 = new QFrame(this);
    Label19 = new QLabel(QStringLiteral("Just a moment, please."), Picture5);
    Label19->setAlignment(Qt::AlignCenter);

    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) { selectLine(row); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        selectLine(List1->row(item));
        confirm();
    });
    connect(Combo1, &QComboBox::activated, this, [this](int index) { chooseGrade(index); });
    connect(modeGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            chooseMode(id);
        }
    });
    connect(Command14, &QPushButton::clicked, this, [this] { confirm(); });
    connect(Command7, &QPushButton::clicked, this, [this] { leave(); });
    connect(Command1, &QPushButton::clicked, this, [this] {
        if (state_.routes.openWorksheet) {
            state_.routes.openWorksheet();
        }
    });
}

void StudentSelection::placeControls() {
    layout_.place(Label4, 240, 150, 14880, 1350);
    layout_.setFont(Label4, msGothic, 48, true);
    layout_.place(List1, 600, 1650, 8700, 9450);
    layout_.setFont(List1, msGothic, 20);
    layout_.place(Combo1, 9900, 1650, 4800, 600);
    layout_.setFont(Combo1, msGothic, 16);
    for (int i = 0; i < 4; ++i) {
        QRadioButton* option = Option1[static_cast<std::size_t>(i)];
        layout_.place(option, 9900, 2550 + i * 555, 4800, 525);
        layout_.setFont(option, msGothic, 13);
    }
    layout_.place(Label1, 9900, 4950, 4800, 900);
    layout_.setFont(Label1, msGothic, 20, true);
    layout_.place(Command14, 9900, 6150, 4800, 1350);
    layout_.setFont(Command14, msGothic, 28, true);
    layout_.place(Command7, 9900, 7950, 4800, 900);
    layout_.setFont(Command7, msGothic, 14);
    layout_.place(Command1, 9900, 9150, 4800, 750);
    layout_.setFont(Command1, msGothic, 14);
    layout_.place(Picture5, 0, 0, TwipsLayout::designWidth, TwipsLayout::designHeight);
    layout_.place(Label19, 0, 5000, TwipsLayout::designWidth, 1500);
    layout_.setFont(Label19, msGothic, 24);
}

void StudentSelection::activate() {
    Command1->setVisible(state_.profile.printEnabled == 1);
    rosterDisplayMode_ = pointsTodayAndTotal;
    // Checking the option runs the list build through its handler when it changes.
    Option1[pointsTodayAndTotal]->setChecked(true);
    if (Combo1->count() != gradeFilterChoices().size()) {
        const QString shown = Combo1->currentText();
        Combo1->clear();
        Combo1->addItems(gradeFilterChoices());
        Combo1->setCurrentIndex(std::max(0, static_cast<int>(Combo1->findText(shown))));
    }
    // The level menu starts from the whole school; the list keeps the grade it shows
    // until another grade is chosen.
    state_.pupil.gradeFilter = gradeFilterChoices().front();
    List1->setCurrentRow(0);
    Label1->setText(namePrompt());
    setWaiting(false);
    List1->setFocus();
}

void StudentSelection::名簿表示() {
    busy_ = true;
    setWaiting(true);
    letEventsRun();
    RosterList list = buildRosterList(state_, rosterDisplayMode_, Combo1->currentText(),
                                      [this] { letEventsRun(); });
    if (list.ended) {
        return;
    }
    List1->clear();
    List1->addItems(list.lines);
    numberList_ = std::move(list.numberList);
    choices_ = std::move(list.choices);
    List1->setCurrentRow(0);
    setWaiting(false);
    busy_ = false;
    // Records the counts skip are the teacher's business: the level menu tells the teacher.
    const QString report = rosterReportText(list.report);
    if (!report.isEmpty() && report != lastReport_) {
        showMessage(state_, this, QStringLiteral("注意"), report, MessageButtons::Ok,
                    MessageIcon::Warning);
    }
    lastReport_ = report;
}

void StudentSelection::selectLine(int row) {
    const int line = row - 1;
    if (row <= 0 || line >= choices_.size()) {
        Label1->setText(namePrompt());
        Label2->clear();
        return;
    }
    Label1->setText(choices_.at(line));
    Label2->setText(QString::number(pupilNoOfNumberEntry(numberList_.at(line))));
}

void StudentSelection::confirm() {
    if (busy_) {
        return;
    }
    const QString chosen = Label1->text();
    bool ok = false;
    const int pupilNo = Label2->text().toInt(&ok);
    if (chosen.isEmpty() || chosen == namePrompt() || !ok || pupilNo < 0 ||
        pupilNo > CurrentPupil::maxPupilNo) {
        playCue(state_, 間違い音2);
        return;
    }
    takePupil(state_, pupilNo);
    Command14->hide();
    setWaiting(true);
    letEventsRun();
    loadLevelProfile(state_);
}

void StudentSelection::leave() {
    if (busy_) {
        return;
    }
    leaveForLauncher(state_, this);
}

void StudentSelection::chooseMode(int mode) {
    rosterDisplayMode_ = mode;
    名簿表示();
}

void StudentSelection::chooseGrade(int index) {
    state_.pupil.gradeFilter = Combo1->itemText(index);
    名簿表示();
    List1->setFocus();
}

void StudentSelection::openVersion() {
    {
        // The dialog runs its own event loop over this screen.
        const ScreenOperation operation(state_);
        openVersionDialog(state_, this);
    }
    activate();
}

bool StudentSelection::handleKey(QObject* watched, QKeyEvent* event) {
    if (busy_) {
        return true;
    }
    const int key = event->key();
    if (key == Qt::Key_1 && !Command14->isHidden()) {
        confirm();
        return true;
    }
    if (key == Qt::Key_0 && !Command7->isHidden()) {
        leave();
        return true;
    }
    if (watched == List1 &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        confirm();
        return true;
    }
    return false;
}

bool StudentSelection::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        return handleKey(watched, static_cast<QKeyEvent*>(event));
    }
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        openVersion();
        return true;
    }
    return Screen::eventFilter(watched, event);
}

void StudentSelection::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(this, event)) {
        Screen::keyPressEvent(event);
    }
}

void StudentSelection::setWaiting(bool waiting) {
    Picture5->setVisible(waiting);
    if (waiting) {
        Picture5->raise();
    }
}

void StudentSelection::letEventsRun() {
    // Paints the wait panel; what the pupil types meanwhile is not taken, so a key cannot
    // reach a list that is being rebuilt, and the screen is not switched under the build.
    const ScreenOperation operation(state_);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void openStudentSelection(AppState& state) {
    Q_ASSERT(state.host);
    reseedFromClock(state);
    if (refuseSecondCopy(state, state.host)) {
        return;
    }
    auto* screen = new StudentSelection(state);
    state.host->showScreen(screen);
}
