#include "drill/MainFrm.h"

#include "app/AppState.h"
#include "app/FitLabel.h"
#include "app/ScreenOperation.h"
#include "drill/ArcArrow.h"
#include "drill/TimeBar.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {
const QString problemFont = QStringLiteral("ＭＳ Ｐゴシック");
const QColor lightOrange(255, 224, 192);
const QColor lightGreen(128, 255, 128);
const QColor pink(255, 128, 128);
const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);
const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor darkGreen(0, 128, 0);
const QColor titleGreen(0, 192, 0);
const QColor endPanelYellow(255, 255, 192);

constexpr int panelHeight = 1635;
// The end panel covers the panel's labels but leaves the time bar below them in sight.
constexpr int endPanelHeight = 1215;
constexpr double valuePoints = 15.75;
constexpr double fixedPoints = 8.25;
} // namespace

MainFrm::MainFrm(AppState& state, QWidget* parent) : Screen(state, parent), engine_(state) {
    setObjectName(QStringLiteral("MainFrm"));
    QPalette p = palette();
    p.setColor(QPalette::Window, lightOrange);
    setPalette(p);
    setFocusPolicy(Qt::StrongFocus);

    buildProblemArea();
    buildTopPanel();
    buildEndPanel();

    engine_.onChanged = [this] { showDisplay(); };
    engine_.letEventsRun = [this] { letEventsRun(); };
    engine_.load();
    showDisplay();
}

MainFrm::~MainFrm() {
    if (watchedWindow_) {
        watchedWindow_->removeEventFilter(this);
    }
}

QString MainFrm::caption() const {
    return state_.profile.programTitle;
}

// --- building the controls ------------------------------------------------------------------

void MainFrm::setLook(QLabel* label, const LabelLook& look) {
    QString sheet = QStringLiteral("QLabel { color: %1; ").arg(look.text.name());
    sheet += look.background.isValid()
                 ? QStringLiteral("background-color: %1; ").arg(look.background.name())
                 : QStringLiteral("background: transparent; ");
    sheet += look.border ? QStringLiteral("border: 1px solid black; }")
                         : QStringLiteral("border: none; }");
    label->setStyleSheet(sheet);
}

QLabel* MainFrm::addLabel(QWidget* parent, const QString& name, const QString& text,
                          const QRect& twips, double points, bool bold, const LabelLook& look,
                          bool fitsText) {
    auto* label = fitsText ? new FitLabel(text, parent) : new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    setLook(label, look);
    layout_.place(label, twips.x(), twips.y(), twips.width(), twips.height());
    layout_.setFont(label, problemFont, points, bold);
    return label;
}

ArcArrow* MainFrm::addArrow(const QString& name, int bulge, int head, const QRect& twips) {
    auto* arrow = new ArcArrow(bulge == 0 ? ArcArrow::Bulge::Up : ArcArrow::Bulge::Down,
                               head == 0 ? ArcArrow::Head::Right : ArcArrow::Head::Left, this);
    arrow->setObjectName(name);
    layout_.place(arrow, twips.x(), twips.y(), twips.width(), twips.height());
    arrow->hide();
    return arrow;
}

void MainFrm::buildProblemArea() {
    // The arrows lie under the numbers, so an answer box shown under the row stays readable.
    Image1_[0] = addArrow(QStringLiteral("Image1(0)"), 0, 0, QRect(2520, 3960, 6945, 1365));
    Image1_[1] = addArrow(QStringLiteral("Image1(1)"), 0, 1, QRect(2565, 3915, 6945, 1365));
    Image2_[0] = addArrow(QStringLiteral("Image2(0)"), 1, 0, QRect(5895, 6840, 7350, 1725));
    Image2_[1] = addArrow(QStringLiteral("Image2(1)"), 1, 1, QRect(5895, 6795, 7350, 1725));

    // The two text rows are a little taller than first designed: IPA Gothic's tall
    // characters reached the border at 24 points.
    addLabel(this, QStringLiteral("Label5"), QStringLiteral("ミルネアにしなさい"),
             QRect(1410, 2535, 12285, 615), 24, true, {blue, {}, true});

    const std::array<int, 5> termLeft{0, 4650, 1140, 11775, 8265};
    for (int box = 1; box <= 4; ++box) {
        lblBunsuu_[box] =
            addLabel(this, QStringLiteral("lblBunsuu(%1)").arg(box), QString(),
                     QRect(termLeft[box], 5340, 2565, 1380), 72, false, {blue, {}, true});
    }
    addLabel(this, QStringLiteral("label9"), QStringLiteral(":"), QRect(3705, 5250, 945, 1620), 72,
             false, {red, {}, false});
    addLabel(this, QStringLiteral("Label6"), QStringLiteral(":"), QRect(10830, 5250, 945, 1620), 72,
             false, {red, {}, false});
    addLabel(this, QStringLiteral("Label2"), QStringLiteral("="), QRect(7215, 5340, 1050, 1530), 72,
             false, {blue, {}, false});

    const std::array<int, 9> answerLeft{0, 0, 0, 0, 0, 4650, 1140, 11760, 8280};
    const std::array<int, 9> answerTop{0, 0, 0, 0, 0, 6720, 6750, 6720, 6720};
    for (int box = 5; box <= 8; ++box) {
        lblBunsuu_[box] = addLabel(this, QStringLiteral("lblBunsuu(%1)").arg(box), QString(),
                                   QRect(answerLeft[box], answerTop[box], 2565, 1380), 72, false,
                                   {black, pink, true});
        lblBunsuu_[box]->hide();
    }

    Label1_[0] = addLabel(this, QStringLiteral("Label1(0)"), QString(),
                          QRect(4140, 3150, 3840, 795), 36, true, {red, {}, false});
    Label1_[1] = addLabel(this, QStringLiteral("Label1(1)"), QString(),
                          QRect(7605, 8550, 3840, 795), 36, true, {red, {}, false});
    Label1_[0]->hide();
    Label1_[1]->hide();

    Commandkakunin2_ =
        addLabel(this, QStringLiteral("Commandkakunin2"), QStringLiteral("\"+\"を２回押しなさい"),
                 QRect(1350, 10260, 12285, 615), 24, true, {red, {}, true});
    Commandkakunin2_->hide();

    // Reached only through the double "+"; never shown.
    Commandkakunin_ = new QPushButton(QStringLiteral("確認"), this);
    Commandkakunin_->setObjectName(QStringLiteral("Commandkakunin"));
    Commandkakunin_->setFocusPolicy(Qt::NoFocus);
    Commandkakunin_->hide();
    connect(Commandkakunin_, &QPushButton::clicked, this,
            [this] { engine_.Commandkakunin_Click(); });
}

void MainFrm::buildTopPanel() {
    sPicture1_ = new QWidget(this);
    sPicture1_->setObjectName(QStringLiteral("sPicture1"));
    sPicture1_->setAutoFillBackground(true);
    QPalette p = sPicture1_->palette();
    p.setColor(QPalette::Window, darkGreen);
    sPicture1_->setPalette(p);
    layout_.place(sPicture1_, 0, 0, TwipsLayout::designWidth, panelHeight);

    // The panel sits at the screen's top-left corner, so its places are the screen's.
    const LabelLook value{white, {}, true};
    const LabelLook fixed{white, {}, false};
    const auto valueLabel = [&](const char* name, const QRect& twips) {
        return addLabel(sPicture1_, QString::fromLatin1(name), QString(), twips, valuePoints, true,
                        value);
    };
    const auto fixedLabel = [&](const QString& name, const QString& text, const QRect& twips) {
        addLabel(sPicture1_, name, text, twips, fixedPoints, false, fixed);
    };

    sLabel2_ = addLabel(sPicture1_, QStringLiteral("sLabel2"), QString(), QRect(90, 150, 5115, 405),
                        16.8, true, {white, titleGreen, true});
    titlePoints_ = 16.8;
    // The school's and the pupil's names come from its files and may be longer than
    // their boxes.
    const auto nameLabel = [&](const char* name, const QRect& twips) {
        return addLabel(sPicture1_, QString::fromLatin1(name), QString(), twips, valuePoints, true,
                        value, true);
    };
    // The school's name takes the row's free room left of the pupil's and stands beside it.
    sLabel14_ = nameLabel("sLabel14", QRect(6000, 135, 6060, 405));
    sLabel14_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sLabel7_ = nameLabel("sLabel7", QRect(12120, 135, 2970, 405));

    // "起動後" and three digits of minutes need a little more than the first design gave.
    fixedLabel(QStringLiteral("sLabel16(0)"), QStringLiteral("起動後"), QRect(60, 810, 570, 285));
    sLabel13_ = valueLabel("sLabel13", QRect(645, 750, 675, 405));
    fixedLabel(QStringLiteral("sLabel16(1)"), QStringLiteral("分"), QRect(1335, 810, 300, 285));
    fixedLabel(QStringLiteral("sLabel16(2)"), QStringLiteral("本日"), QRect(1800, 780, 375, 285));
    sLabel12_ = valueLabel("sLabel12", QRect(2190, 720, 630, 405));
    fixedLabel(QStringLiteral("sLabel16(3)"), QStringLiteral("回目"), QRect(2835, 780, 420, 285));
    fixedLabel(QStringLiteral("sLabel16(4)"), QStringLiteral("このレベル"),
               QRect(3480, 780, 840, 285));
    sLabel11_ = valueLabel("sLabel11", QRect(4335, 720, 615, 405));
    fixedLabel(QStringLiteral("sLabel16(5)"), QStringLiteral("回目"), QRect(4965, 780, 420, 285));
    sLabel8_ = valueLabel("sLabel8", QRect(10275, 720, 1785, 405));
    fixedLabel(QStringLiteral("sLabel4"), QStringLiteral("残り"), QRect(12090, 780, 390, 285));
    sLabel9_ = valueLabel("sLabel9", QRect(12495, 720, 855, 405));
    fixedLabel(QStringLiteral("sLabel6"), QStringLiteral("問"), QRect(13365, 780, 270, 285));
    fixedLabel(QStringLiteral("sLabel5"), QStringLiteral("タイム"), QRect(13665, 780, 540, 285));
    sLabel10_ = valueLabel("sLabel10", QRect(14220, 720, 870, 405));

    timeBar_ = new TimeBar(DrillDisplay::trackWidth, sPicture1_);
    timeBar_->setObjectName(QStringLiteral("sShape5"));
    layout_.place(timeBar_, 90, 1260, DrillDisplay::trackWidth, 150);
}

void MainFrm::buildEndPanel() {
    sPicture2_ = new QWidget(this);
    sPicture2_->setObjectName(QStringLiteral("sPicture2"));
    sPicture2_->setAutoFillBackground(true);
    QPalette p = sPicture2_->palette();
    p.setColor(QPalette::Window, endPanelYellow);
    sPicture2_->setPalette(p);
    layout_.place(sPicture2_, 0, 0, TwipsLayout::designWidth, endPanelHeight);
    const QRect whole(0, 0, TwipsLayout::designWidth, endPanelHeight);
    lblsss2_ = addLabel(sPicture2_, QStringLiteral("lblsss2"), QStringLiteral("時間切れ"), whole,
                        42, true, {red, {}, false});
    lblsss1_ = addLabel(sPicture2_, QStringLiteral("lblsss1"), QStringLiteral("成績記録中"), whole,
                        42, true, {blue, {}, false});
    sPicture2_->hide();
}

// --- showing the engine's display --------------------------------------------------------------

void MainFrm::showDisplay() {
    const DrillDisplay& d = engine_.display();
    for (int box = 1; box <= 8; ++box) {
        lblBunsuu_[box]->setText(d.boxCaption[box]);
    }
    for (int box = 1; box <= 4; ++box) {
        const QColor background = d.termOpaque[box] ? lightGreen : QColor();
        if (lblBunsuu_[box]->property("opaque").toBool() != d.termOpaque[box]) {
            setLook(lblBunsuu_[box], {blue, background, true});
            lblBunsuu_[box]->setProperty("opaque", d.termOpaque[box]);
        }
    }
    for (int box = 5; box <= 8; ++box) {
        lblBunsuu_[box]->setVisible(d.answerVisible[box]);
    }
    for (int i = 0; i < 2; ++i) {
        Label1_[i]->setText(d.hintCaption[i]);
        Label1_[i]->setVisible(d.hintVisible[i]);
        Image1_[i]->setVisible(d.upperArrowVisible[i]);
        Image2_[i]->setVisible(d.lowerArrowVisible[i]);
    }
    Commandkakunin2_->setVisible(d.confirmPromptVisible);
    sLabel9_->setText(d.remaining);

    sLabel2_->setText(d.title);
    if (d.titlePoints != titlePoints_) {
        titlePoints_ = d.titlePoints;
        layout_.setFont(sLabel2_, problemFont, titlePoints_, true);
    }
    sLabel14_->setText(d.schoolName);
    sLabel7_->setText(d.pupilName);
    sLabel8_->setText(d.levelName);
    sLabel13_->setText(d.minutes);
    sLabel12_->setText(d.todayRun);
    sLabel11_->setText(d.levelRun);
    sLabel10_->setText(d.elapsed);
    timeBar_->setWidths(d.minimumWidth, d.targetWidth, d.progressWidth);

    sPicture2_->setVisible(d.endPanelVisible);
    lblsss2_->setVisible(d.timeUpShown);
    lblsss1_->setVisible(d.recordingShown);
    if (d.endPanelVisible) {
        sPicture2_->raise();
    }
}

void MainFrm::letEventsRun() {
    showDisplay();
    repaint();
    // The run's own step is on the stack: the screen stays, and what the pupil types
    // meanwhile reaches it once the step has returned.
    const ScreenOperation operation(state_, ScreenOperation::HoldInput{});
    QCoreApplication::processEvents();
}

// --- events
// ------------------------------------------------------------------------------------------

void MainFrm::activate() {
    if (!watchedWindow_ && window() != this) {
        // The drill lives inside the program's one window; closing that window during a
        // run must not lose the run without a word.
        watchedWindow_ = window();
        watchedWindow_->installEventFilter(this);
    }
    // The end panel was placed at the top-left corner when it was built and never moves.
    engine_.activate();
    setFocus();
}

void MainFrm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        engine_.keyDown(DrillEngine::Arrow::Left);
        return;
    case Qt::Key_Up:
        engine_.keyDown(DrillEngine::Arrow::Up);
        return;
    case Qt::Key_Right:
        engine_.keyDown(DrillEngine::Arrow::Right);
        return;
    case Qt::Key_Down:
        engine_.keyDown(DrillEngine::Arrow::Down);
        return;
    case Qt::Key_Backspace:
        engine_.keyPress(8);
        return;
    case Qt::Key_Delete:
        // Not a character key, though it carries the text U+007F.
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() == 1) {
        engine_.keyPress(text.at(0).unicode());
        return;
    }
    Screen::keyPressEvent(event);
}

void MainFrm::closeEvent(QCloseEvent* event) {
    if (engine_.closeRequested()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool MainFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedWindow_ && event->type() == QEvent::Close && isVisible()) {
        if (!engine_.closeRequested()) {
            event->ignore();
            return true;
        }
    }
    return Screen::eventFilter(watched, event);
}
