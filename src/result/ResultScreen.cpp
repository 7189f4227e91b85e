#include "result/ResultScreen.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "app/ScreenHost.h"
#include "app/ScreenOperation.h"
#include "app/WaitWindow.h"
#include "drill/RunFigures.h"
#include "result/ResultBackground.h"
#include "result/ResultSession.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

const QString uiFont = QStringLiteral("ＭＳ Ｐゴシック");

const QColor lightOrange(255, 224, 192);
const QColor lightYellow(255, 255, 192);
const QColor lightGreen(192, 255, 192);
const QColor green(0, 192, 0);
const QColor darkGreen(0, 128, 0);
const QColor paleGreen(128, 255, 128);

} // namespace

FrmSyuuryou::FrmSyuuryou(AppState& state, QWidget* parent)
    : Screen(state, parent), session_(std::make_unique<ResultSession>(state)) {
    setObjectName(QStringLiteral("FrmSyuuryou"));
    setWindowTitle(caption());

    // A label centred in the screen's font; with a background it has a single-line border.
    const auto label = [this](const char* name, int left, int top, int width, int height,
                              double points, const QColor* background, bool bold = false) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        if (background) {
            paintBackground(l, *background, Qt::black);
            l->setFrameStyle(QFrame::Box | QFrame::Plain);
            l->setLineWidth(1);
        }
        layout_.place(l, left, top, width, height);
        layout_.setFont(l, uiFont, points, bold);
        return l;
    };
    // The two 48-point rows are a little taller than first designed, so that tall characters
    // (先, 生) stay clear of the border with IPA Gothic.
    label15_ = label("Label15", 1845, 375, 11490, 1020, 48, &lightOrange);
    label14_ = label("Label14", 10215, 1395, 3135, 375, 14.25, nullptr, true);
    label16_ = label("Label16", 1845, 1755, 11490, 960, 36, &lightYellow);
    label13_ = label("Label13", 10260, 2745, 3105, 405, 14.25, nullptr, true);
    label17_ = label("Label17", 1845, 3225, 11490, 1020, 48, &lightGreen);
    label18_ = label("Label18", 1845, 4440, 11490, 825, 36, &lightGreen);
    label19_ = label("Label19", 1845, 5280, 11490, 825, 36, &lightGreen);
    label20_ = label("Label20", 1845, 6390, 11490, 735, 27.75, &lightGreen);
    label2_ = label("Label2", 180, 7710, 15075, 555, 24, &green);

    picture1_ = new QFrame(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    paintBackground(picture1_, darkGreen, Qt::black);
    picture1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    layout_.place(picture1_, 180, 8145, 15105, 1785);
    label1_ = new QLabel(QStringLiteral("目標レベルクリア。おめでとう！"), picture1_);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    paintBackground(label1_, paleGreen, Qt::black);
    label1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    layout_.place(label1_, 3330, 390, 8415, 615);
    layout_.setFont(label1_, uiFont, 27.75);
    // The clear label reaches a little into the panel; its text stays in front.
    label2_->raise();

    const auto button = [this](const char* name, const QString& text, int left) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        // Enter presses the button that has the focus, as on the classroom PCs.
        b->setAutoDefault(true);
        layout_.place(b, left, 8325, 5235, 1005);
        layout_.setFont(b, uiFont, 27.75);
        return b;
    };
    command4_ = button("Command4", QStringLiteral("メニューへ"), 1890);
    command5_ = button("Command5", QStringLiteral("もう一度"), 8055);
    connect(command4_, &QPushButton::clicked, this, &FrmSyuuryou::command4Click);
    connect(command5_, &QPushButton::clicked, this, &FrmSyuuryou::command5Click);

    session_->letEventsRun = [this] { letEventsRun(); };
    render(session_->display());
}

FrmSyuuryou::~FrmSyuuryou() = default;

void FrmSyuuryou::activate() {
    session_->evaluate();
}

void FrmSyuuryou::render(const ResultDisplay& d) {
    label15_->setText(d.title);
    label14_->setText(d.dayRuns);
    label16_->setText(d.levelName);
    label13_->setText(d.levelRuns);
    label17_->setText(d.pupilName);
    label18_->setText(d.timeText);
    label19_->setText(d.pointsText);
    label20_->setText(d.recordText);
    label20_->setVisible(d.recordShown);
    label2_->setText(d.clearText);
    label2_->setVisible(d.clearShown);
    picture1_->setVisible(d.coursePanelShown);
    command4_->setVisible(d.menuShown);
    command5_->setVisible(d.retryShown);
    if (d.menuFocused && command4_->isVisible() && command4_->isEnabled() &&
        !command4_->hasFocus()) {
        command4_->setFocus();
    }
}

void FrmSyuuryou::letEventsRun() {
    render(session_->display());
    // The pupil may leave while the evaluation goes on: the buttons take clicks and keys,
    // and the screen they ask for comes once the evaluation has returned.
    const ScreenOperation operation(state_, {command4_, command5_});
    QApplication::processEvents();
}

void FrmSyuuryou::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintResultBackground(painter, rect());
}

void FrmSyuuryou::command4Click() {
    if (session_->leaving()) {
        return;
    }
    session_->leave();
    command4_->setEnabled(false);
    // The level menu replaces this screen.
    if (state_.routes.openLevelMenu) {
        state_.routes.openLevelMenu();
    }
    ::letEventsRun(state_);
}

void FrmSyuuryou::command5Click() {
    if (session_->leaving()) {
        return;
    }
    // A level the drill would refuse is refused here, and the result stays on show with
    // its buttons: hiding it first would leave the window with no screen to use.
    const QString refusal = levelRefusal(state_, state_.run.levelNo);
    if (!refusal.isEmpty()) {
        showMessage(state_, this, QStringLiteral("注意"), refusal, MessageButtons::Ok,
                    MessageIcon::Warning);
        return;
    }
    session_->leave();
    command4_->setEnabled(false);
    command5_->setEnabled(false);
    showWaitWindow(state_);
    hide();
    ::letEventsRun(state_);
    if (state_.routes.startRun) {
        state_.routes.startRun();
    }
}

void openResultScreen(AppState& state) {
    if (state.host) {
        state.host->showScreen(new FrmSyuuryou(state));
    }
}
