#include "app/Firstfrm.h"

#include "app/AppState.h"
#include "app/ClockSeed.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenOperation.h"
#include "app/SeasonColor.h"
#include "app/SplashArtwork.h"
#include "app/Startup.h"
#include "text/EraDate.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

constexpr int splashWidth = 600;
constexpr int splashHeight = 400;
constexpr int pictureHeight = 320;

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& family, int pixels,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font(family);
    font.setPixelSize(pixels);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}

} // namespace

Firstfrm::Firstfrm(AppState& state, QString executableDirectory, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), state_(state),
      executableDirectory_(std::move(executableDirectory)) {
    setObjectName(QStringLiteral("Firstfrm"));
    setWindowTitle(QStringLiteral("ミルネア"));
    setFixedSize(splashWidth, splashHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(252, 252, 248));
    palette.setColor(QPalette::WindowText, QColor(34, 48, 84));
    setPalette(palette);

    Picture1 = new SplashPicture(this);
    Picture1->setGeometry(0, 0, splashWidth, pictureHeight);

    Label5 =
        makeLabel(this, QStringLiteral("Label5"), msGothic, 16, Qt::AlignLeft | Qt::AlignVCenter);
    Label5->setGeometry(24, pictureHeight + 14, 320, 24);

    Label1 =
        makeLabel(this, QStringLiteral("Label1"), msPGothic, 16, Qt::AlignRight | Qt::AlignVCenter);
    Label1->setText(QStringLiteral("Just a moment, please."));
    Label1->setGeometry(splashWidth - 24 - 240, pictureHeight + 14, 240, 24);

    credit = makeLabel(this, QStringLiteral("Label2"), msPGothic, 12, Qt::AlignCenter);
    credit->setText(splashCredit);
    credit->setStyleSheet(QStringLiteral("color: rgb(120, 126, 140);"));
    credit->setGeometry(0, splashHeight - 32, splashWidth, 20);

    Timer1 = state_.env->createTimer();
    Timer1->singleShot = true;
    Timer1->onTimeout = [this] { Timer1_Timer(); };
}

Firstfrm::~Firstfrm() = default;

void Firstfrm::load() {
    reseedFromClock(state_);
    const QDateTime now = state_.env->now();
    Label5->setText(eraDateText(now.date()));
    state_.config.seasonColor = seasonColorForMonth(now.date().month());
    Picture1->setSeason(colorFromLong(state_.config.seasonColor));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }
    show();
    // Where the window system exposes the window at once, showing it has painted it
    // already; painting the artwork twice would only hold the start-up back.
    if (!painted_) {
        repaint();
    }
    letEventsRun(state_);

    Timer1->start(timer1Interval);
}

void Firstfrm::paintEvent(QPaintEvent* event) {
    painted_ = true;
    QWidget::paintEvent(event);
}

void Firstfrm::Timer1_Timer() {
    Timer1->stop();
    startProgram(state_, executableDirectory_);
    close();
}
