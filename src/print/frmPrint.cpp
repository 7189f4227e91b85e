#include "print/frmPrint.h"

#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/Messages.h"
#include "app/PrintJob.h"
#include "print/PageMapping.h"
#include "print/PrintScale.h"
#include "print/WorksheetPage.h"
#include "print/WorksheetTable.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr int windowWidth = 15360; // twips
constexpr int windowHeight = 11520;
constexpr int previewLeft = 1300;
constexpr int previewTop = 150;
constexpr double previewMargin = 1.03; // the box is 3 % larger than the page
constexpr int ruledTable = 2;

const QString documentName = QStringLiteral("ワークシート");

} // namespace

PreviewBox::PreviewBox(QWidget* parent) : QWidget(parent) {}

void PreviewBox::resizeBox(QSize size) {
    resize(size);
    if (page_.size() != size) {
        page_ = QImage(size, QImage::Format_RGB32);
    }
    clear();
}

void PreviewBox::clear() {
    page_.fill(Qt::white);
    update();
}

void PreviewBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, page_);
}

frmPrint::frmPrint(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), pixelsPerTwip_(pixelsPerTwip(state)) {
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("印刷"));
    auto px = [this](double twips) {
        return static_cast<int>(std::lround(twips * pixelsPerTwip_));
    };
    setFixedSize(px(windowWidth), px(windowHeight));

    Picture5 = new QFrame(this);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    Picture5->setAutoFillBackground(true);
    QPalette background = Picture5->palette();
    background.setColor(QPalette::Window, QColor(0xE0, 0xE8, 0xF0));
    Picture5->setPalette(background);

    QFont buttonFont(msGothic);
    buttonFont.setPixelSize(std::max(8, px(14 * 20)));
    Command9 = new QPushButton(QStringLiteral("印刷"), this);
    Command9->setObjectName(QStringLiteral("Command9"));
    Command9->setGeometry(px(150), px(300), px(1000), px(700));
    Command9->setFont(buttonFont);
    Command8 = new QPushButton(QStringLiteral("戻る"), this);
    Command8->setObjectName(QStringLiteral("Command8"));
    Command8->setGeometry(px(150), px(1200), px(1000), px(700));
    Command8->setFont(buttonFont);

    Picture1 = new PreviewBox(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(px(previewLeft), px(previewTop));

    Picture4 = new QFrame(this);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    Picture4->setGeometry(px(previewLeft), px(previewTop), px(7500), px(3000));
    Picture4->setAutoFillBackground(true);
    auto* printing = new QLabel(QStringLiteral("印刷中　しばらくお待ちください"), Picture4);
    printing->setFont(buttonFont);
    printing->setAlignment(Qt::AlignCenter);
    printing->setGeometry(Picture4->rect());
    Picture4->hide();

    Check1 = new QCheckBox(QStringLiteral("印刷"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->hide();
    Check2 = new QCheckBox(QStringLiteral("縦横"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setChecked(true);
    Check2->hide();
    connect(Check1, &QCheckBox::toggled, this, [this] { Command1_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this] {
        Command1_Click();
        Picture1->clear();
    });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });

    Form_Load();
}

frmPrint::~frmPrint() = default;

QPageLayout::Orientation frmPrint::orientation() const {
    return Check2->isChecked() ? QPageLayout::Portrait : QPageLayout::Landscape;
}

void frmPrint::Form_Load() {
    if (state_.worksheet.options.autoPrint == 1) {
        Command8->hide();
        Command9->hide();
    }
    previewScale_ = 0.6;
    Command1_Click();
}

void frmPrint::Command1_Click() {
    const QPageLayout::Orientation o = orientation();
    previewScale_ = previewScaleFor(o);
    paper_ = a4Twips(o);
    if (!Check1->isChecked()) {
        const QSizeF box = paper_ * previewScale_ * previewMargin * pixelsPerTwip_;
        Picture1->resizeBox(QSize(static_cast<int>(std::lround(box.width())),
                                  static_cast<int>(std::lround(box.height()))));
    }
}

bool frmPrint::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(event);
}

void frmPrint::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The page is there as soon as the window shows, even where the window system does
    // not make it the active window at once.
    if (!event->spontaneous()) {
        Form_Activate();
    }
}

void frmPrint::Form_Activate() {
    Picture5->setGeometry(rect());
    Picture5->lower();
    const bool panel = state_.worksheet.options.showPrintingPanel == 1;
    Picture1->setVisible(!panel);
    Picture4->setVisible(panel);
    Command12_Click();
    if (state_.worksheet.options.autoPrint == 1 && !autoPrinted_) {
        autoPrinted_ = true;
        Command8->hide();
        Command9->hide();
        Command9_Click();
        close();
    }
}

void frmPrint::Command12_Click() {
    // A change of orientation re-initialises and clears the preview (Check2's handler).
    Check2->setChecked(state_.worksheet.options.portraitChoice == 1);
    if (state_.worksheet.options.layoutKind == ruledTable) {
        Command11_Click();
    }
}

void frmPrint::Command11_Click() {
    ++layouts_;
    TextMeasure measure(worksheetFontFamily());
    if (job_) {
        QPainter painter(job_->device());
        // Like the preview, the page lies within what the printer can print on; on a PDF
        // file that is the whole paper. The texts are fitted to the paper either way.
        const PageMapping m = printerMapping(job_->printableArea(), job_->printer().resolution());
        drawWorksheetPage(painter, m, state_.worksheet, paper_, measure);
        return;
    }
    Picture1->clear();
    QPainter painter(&Picture1->page());
    const PageMapping m = previewMapping(paper_, previewScale_, pixelsPerTwip_);
    drawWorksheetPage(painter, m, state_.worksheet, paper_, measure);
    painter.end();
    Picture1->update();
}

void frmPrint::Command9_Click() {
    std::unique_ptr<PrintJob> job = beginPrint(state_, this, {documentName, orientation()});
    if (!job) {
        return;
    }
    // The option the worksheet hands over is the number of copies; the page is the same.
    job->printer().setCopyCount(std::max(1, state_.worksheet.options.printerOption));
    job_ = job.get();
    Check1->setChecked(true);
    Command12_Click();
    QString error;
    const bool printed = job->finish(&error);
    job_ = nullptr;
    job.reset();
    Check1->setChecked(false);
    Command12_Click();
    if (!printed) {
        showMessage(state_, this, QStringLiteral("注意"), error, MessageButtons::Ok,
                    MessageIcon::Warning);
    }
}

void frmPrint::Command8_Click() {
    close();
}

void frmPrint::closeEvent(QCloseEvent* event) {
    // Nothing is left half-printed: a job is begun and ended within one click of "印刷".
    job_ = nullptr;
    QWidget::closeEvent(event);
}
