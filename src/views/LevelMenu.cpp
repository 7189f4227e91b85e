#include "views/LevelMenu.h"

#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/Messages.h"
#include "app/ScreenHost.h"
#include "app/ScreenOperation.h"
#include "drill/RunFigures.h"
#include "media/ExplanationButton.h"
#include "records/DamagedRecords.h"
#include "records/ResultsFile.h"
#include "roster/GradeRules.h"
#include "views/LevelMenuText.h"
#include "views/TeacherGate.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>

namespace {

const QString& menuFont = msPGothic;

// The columns share this width when fewer than five levels are offered.
constexpr int columnsWidth = 14592;
constexpr int scrolledColumnWidth = 3456;
constexpr int firstColumnLeft = TwipsLayout::designWidth * 2 / 100;
constexpr int practiceSeconds = 600;

// Rows of a level column, in twips.
constexpr int nameTop = 1560;
constexpr int nameHeight = 540;
constexpr int startTop = 2160;
constexpr int startHeight = 660;
constexpr int explanationTop = 2880;
constexpr int explanationHeight = 360;
constexpr int criteriaTop = 3300;
constexpr int lineHeight = 330;
constexpr int recentTop = criteriaTop + lineHeight;
constexpr int captionTop = 4050;
constexpr int captionHeight = 300;
constexpr int figuresTop = captionTop + captionHeight;
constexpr int figuresHeight = 360;
// The result lists of the lower part start below the figures.
constexpr int listTop = figuresTop + figuresHeight + 60;
constexpr int listHeight = 11050 - listTop;

// The period box shows its longest item, "　　先週からの全成績", whole; the header's
// labels left of it are narrowed to make the room.
constexpr int periodBoxLeft = 10500;
constexpr int periodBoxWidth = 2650;

const QColor lineGrey(224, 224, 224);

QColor colorOf(unsigned rgb) {
    return QColor(rgb & 0xff, (rgb >> 8) & 0xff, (rgb >> 16) & 0xff);
}

const QStringList periodChoices = {
    QStringLiteral("　　　今週の全成績"), QStringLiteral("　　先週からの全成績"),
    QStringLiteral("　　１ヶ月間の全成績"), QStringLiteral("　　１年間の全成績"),
    QStringLiteral("　　今までの全成績\"")};

// The level a menu key starts: "1".."9", then "a".."d" for 10..13 (lower case only).
int levelOfKey(const QString& text) {
    if (text.size() != 1) {
        return 0;
    }
    const QChar c = text.at(0);
    if (c >= QLatin1Char('1') && c <= QLatin1Char('9')) {
        return c.unicode() - '0';
    }
    if (c >= QLatin1Char('a') && c <= QLatin1Char('d')) {
        return 10 + (c.unicode() - 'a');
    }
    return 0;
}

} // namespace

void openLevelMenu(AppState& state) {
    state.host->showScreen(new seisekitime1(state));
}

seisekitime1::seisekitime1(AppState& state, QWidget* parent) : Screen(state, parent) {
    setObjectName(QStringLiteral("seisekitime1"));
    setFocusPolicy(Qt::StrongFocus);
    state_.views.periodChoice = 3;

    QPalette pal = palette();
    pal.setColor(QPalette::Window, colorOf(state_.config.seasonColor));
    setPalette(pal);

    buildHeader();
    buildColumns();
    buildResultViews();
    buildTeacherPanel();
    buildWaitPanel();

    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

QString seisekitime1::caption() const {
    return state_.profile.programTitle;
}

QLabel* seisekitime1::label(const QString& name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    return l;
}

QPushButton* seisekitime1::button(const QString& name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    return b;
}

void seisekitime1::buildHeader() {
    Label11_ = label(QStringLiteral("Label11"));
    layout_.place(Label11_, 300, 150, 4000, 760);
    layout_.setFont(Label11_, menuFont, titlePoints(state_.profile.programTitle), true);
    Label12_ = label(QStringLiteral("Label12"));
    layout_.place(Label12_, 4400, 150, 3800, 480);
    layout_.setFont(Label12_, menuFont, 16, true);
    Label13_ = label(QStringLiteral("Label13"));
    layout_.place(Label13_, 4400, 660, 3800, 360);
    layout_.setFont(Label13_, menuFont, 11);
    Label17_ = label(QStringLiteral("Label17"));
    layout_.place(Label17_, 8300, 180, 2100, 360);
    layout_.setFont(Label17_, menuFont, 11);
    Label18_ = label(QStringLiteral("Label18"));
    layout_.place(Label18_, 8300, 600, 2100, 360);
    layout_.setFont(Label18_, menuFont, 11);

    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setToolTip(QStringLiteral("表示する学年を選びます"));
    // The selection screen's filter is taken over; it leads the list when it is not one
    // of the usual choices, so the box shows exactly that text.
    const QString filter = state_.pupil.gradeFilter;
    const QStringList choices = gradeFilterChoices();
    if (!choices.contains(filter)) {
        Combo1_->addItem(filter);
    }
    Combo1_->addItems(choices);
    Combo1_->setCurrentText(filter);
    layout_.place(Combo1_, periodBoxLeft, 150, periodBoxWidth, 420);
    layout_.setFont(Combo1_, menuFont, 11);
    connect(Combo1_, &QComboBox::activated, this, [this] { gradeSelectorChanged(); });

    Combo2_ = new QComboBox(this);
    Combo2_->setObjectName(QStringLiteral("Combo2"));
    Combo2_->addItems(periodChoices);
    Combo2_->setCurrentIndex(2);
    layout_.place(Combo2_, periodBoxLeft, 620, periodBoxWidth, 420);
    layout_.setFont(Combo2_, menuFont, 11);
    Combo2_->hide();

    Command1_ = button(QStringLiteral("Command1"), QStringLiteral("戻る(0)"));
    layout_.place(Command1_, 13300, 150, 1750, 860);
    layout_.setFont(Command1_, menuFont, 14, true);
    Command1_->setEnabled(false);
    connect(Command1_, &QPushButton::clicked, this, [this] { goBack(); });

    Command8_ = button(QStringLiteral("Command8"), QStringLiteral("データ処理"));
    layout_.place(Command8_, 11500, 1080, 1700, 400);
    layout_.setFont(Command8_, menuFont, 10);
    Command8_->hide();
    connect(Command8_, &QPushButton::clicked, this, [this] { openTeacherPanel(); });

    Command27_ = button(QStringLiteral("Command27"), QStringLiteral("印刷"));
    layout_.place(Command27_, 13350, 1080, 1700, 400);
    layout_.setFont(Command27_, menuFont, 10);
    Command27_->hide();
    connect(Command27_, &QPushButton::clicked, this, [this] {
        if (state_.routes.openWorksheet) {
            state_.routes.openWorksheet();
        }
    });

    HScroll1_ = new QScrollBar(Qt::Horizontal, this);
    HScroll1_->setObjectName(QStringLiteral("HScroll1"));
    layout_.place(HScroll1_, firstColumnLeft, 11100, columnsWidth, 300);
    HScroll1_->hide();
    connect(HScroll1_, &QScrollBar::valueChanged, this, [this](int value) {
        firstVisibleColumn_ = value > state_.profile.levelCount ? 1 : value;
        placeColumns();
    });
}

void seisekitime1::buildColumns() {
    const int count = std::clamp(state_.profile.levelCount, 0, ProgramProfile::levelSlots - 1);
    if (count < 5) {
        columnWidth_ = count > 0 ? columnsWidth / count : columnsWidth;
    } else {
        columnWidth_ = scrolledColumnWidth;
        HScroll1_->setRange(1, count - 3);
        HScroll1_->setPageStep(1);
        HScroll1_->show();
    }
    const int w = columnWidth_;
    columns_.resize(count + 1);
    for (int i = 1; i <= count; ++i) {
        Column& c = columns_[i];
        const QString n = QStringLiteral("_%1").arg(i);
        c.Label1 = label(QStringLiteral("Label1") + n, QString::number(i));
        c.Label1->setAlignment(Qt::AlignCenter);
        layout_.setFont(c.Label1, menuFont, w >= 3000 ? 18 : 14, true);
        c.Label3 = label(QStringLiteral("Label3") + n, state_.profile.levelNames[i]);
        c.Label3->setToolTip(state_.profile.levelNames[i]);
        c.Label3->setCursor(Qt::PointingHandCursor);
        layout_.setFont(c.Label3, menuFont, w >= 3000 ? 16 : 12, true);

        c.Command4 = button(QStringLiteral("Command4") + n, startCaption(i));
        c.Command4->setToolTip(
            QStringLiteral("クリックしてスタートします。番号を押してもよろしい"));
        c.Command4->setEnabled(false);
        layout_.setFont(c.Command4, menuFont, 16, true);
        connect(c.Command4, &QPushButton::clicked, this,
                [this, i] { startLevel(i, StartFrom::Button); });

        if (i < ProgramProfile::explanationSlots && state_.profile.explanationAvailable[i] == 1) {
            c.Command30 = button(QStringLiteral("Command30") + n, QStringLiteral("★解説★"));
            layout_.setFont(c.Command30, menuFont, 8);
            connect(c.Command30, &QPushButton::clicked, this,
                    [this, i] { showExplanation(state_, i); });
        }

        c.Label7 = label(QStringLiteral("Label7") + n);
        c.Label8 = label(QStringLiteral("Label8") + n);
        for (QLabel* line : {c.Label7, c.Label8}) {
            line->setAutoFillBackground(true);
            line->setIndent(4);
            QPalette pal = line->palette();
            pal.setColor(QPalette::Window, lineGrey);
            line->setPalette(pal);
            layout_.setFont(line, menuFont, 10);
        }
        c.Label9 = label(QStringLiteral("Label9") + n, QStringLiteral("今日"));
        c.Label10 = label(QStringLiteral("Label10") + n, QStringLiteral("今まで"));
        c.Label14 = label(QStringLiteral("Label14") + n);
        c.Label15 = label(QStringLiteral("Label15") + n);
        for (QLabel* cell : {c.Label9, c.Label10}) {
            cell->setAlignment(Qt::AlignCenter);
            layout_.setFont(cell, menuFont, 10);
        }
        for (QLabel* cell : {c.Label14, c.Label15}) {
            cell->setAlignment(Qt::AlignCenter);
            cell->setFrameShape(QFrame::Panel);
            cell->setFrameShadow(QFrame::Sunken);
            layout_.setFont(cell, menuFont, 11, true);
        }

        c.Text1 = label(QStringLiteral("Text1") + n, QStringLiteral("やりすぎ禁止"));
        c.Text1->setAlignment(Qt::AlignCenter);
        c.Text1->setAutoFillBackground(true);
        QPalette banner = c.Text1->palette();
        banner.setColor(QPalette::Window, QColor(255, 255, 0));
        banner.setColor(QPalette::WindowText, QColor(255, 0, 0));
        c.Text1->setPalette(banner);
        c.Text1->setFrameShape(QFrame::Box);
        layout_.setFont(c.Text1, menuFont, w >= 3000 ? 18 : 12, true);
        c.Text1->hide();
        buildLevelList(i);
    }
    placeColumns();
}

void seisekitime1::buildWaitPanel() {
    Picture2_ = new QFrame(this);
    Picture2_->setObjectName(QStringLiteral("Picture2"));
    Picture2_->setAutoFillBackground(true);
    QPalette pal = Picture2_->palette();
    pal.setColor(QPalette::Window, colorOf(state_.config.seasonColor));
    Picture2_->setPalette(pal);
    layout_.place(Picture2_, 0, 0, TwipsLayout::designWidth, TwipsLayout::designHeight);

    Label19_ = new QLabel(QStringLiteral("Just a moment, please."), Picture2_);
    Label19_->setObjectName(QStringLiteral("Label19"));
    Label19_->setAlignment(Qt::AlignCenter);
    layout_.place(Label19_, 3680, 4600, 8000, 700);
    layout_.setFont(Label19_, menuFont, 20, true);

    ProgressBar1_ = new QProgressBar(Picture2_);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setTextVisible(false);
    layout_.place(ProgressBar1_, 3680, 5500, 8000, 360);
    Picture2_->hide();
}

void seisekitime1::buildTeacherPanel() {
    Picture7_ = new QFrame(this);
    Picture7_->setObjectName(QStringLiteral("Picture7"));
    Picture7_->setFrameShape(QFrame::Panel);
    Picture7_->setFrameShadow(QFrame::Raised);
    Picture7_->setLineWidth(3);
    Picture7_->setAutoFillBackground(true);
    layout_.place(Picture7_, 3000, 5200, 9360, 2300);

    auto* caption = new QLabel(QStringLiteral("KeyPassの場所"), Picture7_);
    caption->setObjectName(QStringLiteral("Label22"));
    layout_.place(caption, 300, 380, 2400, 420);
    layout_.setFont(caption, menuFont, 11);
    Text2_ = new QLineEdit(Picture7_);
    Text2_->setObjectName(QStringLiteral("Text2"));
    layout_.place(Text2_, 2700, 320, 6300, 480);
    layout_.setFont(Text2_, menuFont, 11);

    const QStringList editors = {QStringLiteral("データ変更"),
                                 QStringLiteral("合格タイムデータ変更")};
    for (int n = 0; n < 2; ++n) {
        auto* b = new QPushButton(editors[n], Picture7_);
        b->setObjectName(QStringLiteral("Command10_%1").arg(n));
        layout_.place(b, 300 + n * 3100, 1200, n == 0 ? 2900 : 3300, 700);
        layout_.setFont(b, menuFont, 11, true);
        connect(b, &QPushButton::clicked, this, [this, n] { passGate(n); });
    }
    auto* back = new QPushButton(QStringLiteral("戻る"), Picture7_);
    back->setObjectName(QStringLiteral("Command12"));
    layout_.place(back, 6900, 1200, 2100, 700);
    layout_.setFont(back, menuFont, 11, true);
    connect(back, &QPushButton::clicked, this, [this] { Picture7_->hide(); });

    // The records the counts skip, told to the teacher alone; hidden while there are none.
    Label23_ = new QLabel(Picture7_);
    Label23_->setObjectName(QStringLiteral("Label23"));
    Label23_->setWordWrap(true);
    Label23_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout_.place(Label23_, 300, 2100, 8760, 2000);
    layout_.setFont(Label23_, menuFont, 10);
    Label23_->hide();
    Picture7_->hide();
}

void seisekitime1::placeColumn(int level, int x) {
    const Column& c = columns_[level];
    const int w = columnWidth_;
    const int numberWidth = w / 5;
    const auto put = [this](QWidget* widget, int left, int top, int width, int height) {
        widget->setGeometry(layout_.rect(left, top, width, height));
    };
    put(c.Label1, x, nameTop, numberWidth, nameHeight);
    put(c.Label3, x + numberWidth, nameTop, w - numberWidth, nameHeight);
    put(c.Command4, x, startTop, w, startHeight);
    put(c.Text1, x, startTop, w, startHeight);
    if (c.Command30) {
        put(c.Command30, x, explanationTop, w / 5, explanationHeight);
    }
    put(c.Label7, x, criteriaTop, w, lineHeight);
    put(c.Label8, x, recentTop, w, lineHeight);
    put(c.Label9, x, captionTop, w / 2, captionHeight);
    put(c.Label10, x + w / 2, captionTop, w / 2, captionHeight);
    put(c.Label14, x, figuresTop, w / 2, figuresHeight);
    put(c.Label15, x + w / 2, figuresTop, w / 2, figuresHeight);
    if (c.List5) {
        put(c.List5, x, listTop, w, listHeight);
    }
}

void seisekitime1::placeColumns() {
    const int count = static_cast<int>(columns_.size()) - 1;
    for (int i = 1; i <= count; ++i) {
        int x = firstColumnLeft + (i - firstVisibleColumn_) * columnWidth_;
        if (x < 0) {
            // A column before the first one shown waits beyond the right edge.
            x = TwipsLayout::designWidth;
        }
        placeColumn(i, x);
    }
}

void seisekitime1::resizeEvent(QResizeEvent* event) {
    Screen::resizeEvent(event);
    placeColumns();
}

void seisekitime1::showWaitPanel() {
    Picture2_->raise();
    Picture2_->show();
}

void seisekitime1::hideWaitPanel() {
    Picture2_->hide();
}

void seisekitime1::fillColumn(int level) {
    Column& c = columns_[level];
    c.Label7->setText(criteriaLine(state_, level));
    c.Label8->setText(state_.profile.levelTimed[level] == 1 ? recentLine(state_, level)
                                                            : QString());
    c.Label14->setText(todayFigures(state_, level));
    c.Label15->setText(totalFigures(state_, level));
    const bool practice = isPracticeLevel(state_, level);
    for (QWidget* w : {static_cast<QWidget*>(c.List5), static_cast<QWidget*>(c.Label7),
                       static_cast<QWidget*>(c.Label8), static_cast<QWidget*>(c.Label9),
                       static_cast<QWidget*>(c.Label10), static_cast<QWidget*>(c.Label14),
                       static_cast<QWidget*>(c.Label15)}) {
        w->setVisible(!practice);
    }
}

void seisekitime1::activate() {
    // The refresh lets window events run: meanwhile nothing may start a run, a second
    // build or leave the screen.
    const ScreenOperation refreshing(state_);
    const bool teacher = isTeacher(state_);
    Command8_->setVisible(teacher);
    Command27_->setVisible(nameContainsTeacher(state_) && state_.profile.printEnabled == 1);
    Label17_->setText(minutesSinceLoginText(state_));

    menuReady_ = false;
    ProgressBar1_->setValue(0);
    ProgressBar1_->show();
    showWaitPanel();
    letEventsRun(state_);
    Option1_[1]->setText(QStringLiteral("累計順"));
    Option1_[2]->setText(QStringLiteral("本日順"));

    if (!countResults(state_)) {
        return; // the program is ending
    }
    const int count = static_cast<int>(columns_.size()) - 1;
    state_.run.totalRuns = todaysTotalRuns(state_);
    Label18_->setText(totalRunsLine(state_.run.totalRuns));
    ProgressBar1_->setMaximum(std::max(count, 1));

    showDefaultResultView();

    for (int i = 1; i <= count; ++i) {
        if (isPracticeLevel(state_, i)) {
            // Practice runs are untimed in spirit: ten minutes for both marks.
            state_.criteria[i].targetSeconds = practiceSeconds;
            state_.criteria[i].minimumSeconds = practiceSeconds;
        }
    }

    Label12_->setText(pupilLine(state_));
    Label13_->setText(schoolLine(state_));
    Label11_->setText(state_.profile.programTitle);

    if (firstVisibleColumn_ < 1 ||
        (!HScroll1_->isHidden() && firstVisibleColumn_ > HScroll1_->maximum())) {
        firstVisibleColumn_ = 1;
    }
    {
        const QSignalBlocker block(HScroll1_);
        HScroll1_->setValue(firstVisibleColumn_);
    }
    placeColumns();
    letEventsRun(state_);

    for (int i = 1; i <= count; ++i) {
        fillColumn(i);
        ProgressBar1_->setValue(i);
    }

    applyOpening();
    if (!Picture7_->isHidden()) {
        Picture7_->raise();
    }

    hideWaitPanel();
    ProgressBar1_->hide();
    letEventsRun(state_);
    menuReady_ = true;
    if (teacher && !damagedNoticeShown_ && state_.stats.damagedRecords() > 0) {
        damagedNoticeShown_ = true;
        showDamagedNotice();
    }
}

void seisekitime1::showDamagedNotice() {
    DamagedRecords found;
    if (!findDamagedRecords(state_, found) || found.count == 0) {
        return;
    }
    Label23_->setText(damagedRecordsNotice(state_, found));
    Label23_->show();
    // The panel grows upwards to hold the notice under its buttons, and opens with it:
    // "データ変更" is the way to the records.
    layout_.place(Picture7_, 3000, 3200, 9360, 4300);
    openTeacherPanel();
}

bool seisekitime1::refusesLevelTimes(int level) {
    // What the drill would refuse is refused here, before the wait panel covers the menu.
    QString refusal = levelRefusal(state_, level);
    if (refusal.isEmpty()) {
        refusal = levelTimesRefusal(state_, level);
    }
    if (refusal.isEmpty()) {
        return false;
    }
    showMessage(state_, this, QStringLiteral("注意"), refusal, MessageButtons::Ok,
                MessageIcon::Warning);
    return true;
}

void seisekitime1::startLevel(int level, StartFrom from) {
    if (level < 1 || level >= static_cast<int>(columns_.size())) {
        return;
    }
    if (!Picture7_->isHidden() || !columns_[level].Command4->isEnabled()) {
        return;
    }
    if (refusesLevelTimes(level)) {
        return;
    }
    // No second start while this one is under way.
    menuReady_ = false;
    if (from != StartFrom::NameLabel) {
        showWaitPanel();
    }
    state_.run.levelNo = level;
    if (from != StartFrom::NameLabel) {
        letEventsRun(state_);
    }
    if (state_.routes.startRun) {
        state_.routes.startRun();
    }
}

void seisekitime1::goBack() {
    if (!Command1_->isEnabled()) {
        return;
    }
    menuReady_ = false;
    showWaitPanel();
    letEventsRun(state_);
    if (state_.routes.openStudentSelection) {
        state_.routes.openStudentSelection();
    }
}

bool seisekitime1::handleMenuKey(const QString& text) {
    if (text == QLatin1String("0")) {
        if (menuReady_) {
            goBack();
        }
        return true;
    }
    const int level = levelOfKey(text);
    if (level == 0) {
        return false;
    }
    if (menuReady_ && level <= static_cast<int>(columns_.size()) - 1) {
        startLevel(level, StartFrom::Key);
    }
    return true;
}

namespace {

// Alt and a digit 1..9: the start buttons' access keys.
int accessKeyLevel(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::AltModifier && event->key() >= Qt::Key_1 && event->key() <= Qt::Key_9) {
        return event->key() - Qt::Key_0;
    }
    return 0;
}

// The menu claims its access keys before they become shortcuts: a shortcut would click
// the button only after a short animation, when the menu may already be refreshing.
bool claimsAccessKey(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        accessKeyLevel(static_cast<QKeyEvent*>(event)) != 0) {
        event->accept();
        return true;
    }
    return false;
}

} // namespace

bool seisekitime1::event(QEvent* event) {
    if (claimsAccessKey(event)) {
        return true;
    }
    return Screen::event(event);
}

bool seisekitime1::handleKeyPress(QKeyEvent* event) {
    const int level = accessKeyLevel(event);
    if (level != 0) {
        if (menuReady_ && level < static_cast<int>(columns_.size())) {
            startLevel(level, StartFrom::Button);
        }
        return true;
    }
    if (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) {
        return false;
    }
    return handleMenuKey(event->text());
}

void seisekitime1::keyPressEvent(QKeyEvent* event) {
    if (!handleKeyPress(event)) {
        Screen::keyPressEvent(event);
    }
}

bool seisekitime1::eventFilter(QObject* watched, QEvent* event) {
    if (claimsAccessKey(event)) {
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched != Text2_) {
        // The menu sees its keys first, whichever control has the focus; what is typed
        // into the key folder belongs to that field.
        if (handleKeyPress(static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            for (int i = 1; i < static_cast<int>(columns_.size()); ++i) {
                if (watched == columns_[i].Label3) {
                    startLevel(i, StartFrom::NameLabel);
                    return true;
                }
            }
        }
    }
    return Screen::eventFilter(watched, event);
}

void seisekitime1::openTeacherPanel() {
    Picture7_->raise();
    Picture7_->show();
    const KeyFolderRead read = readKeyFolder(state_);
    if (!read.ok) {
        showMessage(state_, this, QStringLiteral("注意"), read.error, MessageButtons::Ok,
                    MessageIcon::Warning);
    }
    keyFolderAtOpen_ = read.folder;
    Text2_->setText(read.folder);
    Text2_->setFocus();
}

void seisekitime1::passGate(int editor) {
    const GateResult result = passTeacherGate(state_, Text2_->text(), keyFolderAtOpen_);
    switch (result.outcome) {
    case GateOutcome::ConfigFailed:
        // The teacher sees the gate's one message whatever failed; the cause goes to the
        // terminal for whoever looks after the PCs.
        std::fprintf(stderr, "mirunea: teacher gate: %s\n", result.error.toUtf8().constData());
        std::fflush(stderr);
        [[fallthrough]];
    case GateOutcome::KeyMissing:
        showMessage(state_, this, QStringLiteral("注意"),
                    QStringLiteral("キーフロッピーが見つかりません。"), MessageButtons::Ok,
                    MessageIcon::Warning);
        return;
    case GateOutcome::Passed:
        break;
    }
    keyFolderAtOpen_ = Text2_->text();
    // The editor takes the level menu's place; its back button builds the menu afresh.
    const std::function<void()>& open =
        editor == 0 ? state_.routes.openRecordMaintenance : state_.routes.openCriteriaEditor;
    if (open) {
        open();
        return;
    }
    const QString name =
        editor == 0 ? QStringLiteral("データ変更") : QStringLiteral("合格タイムデータ変更");
    showMessage(state_, this, QStringLiteral("データ処理"),
                QStringLiteral("「%1」の画面はまだ使えません。").arg(name));
}
