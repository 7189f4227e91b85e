#include "print/FormPrint0.h"

#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/Messages.h"
#include "app/ScreenHost.h"
#include "print/PrintScale.h"
#include "print/frmPrint.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace {

constexpr int windowWidth = 7200; // twips
constexpr int windowHeight = 6600;
constexpr int shownProblems = 8;

const char16_t* const modeCaptions[] = {
    u"すべて印刷",
    u"問題一カ所",
    u"問題二カ所",
    u"ことわざ部分を一つ消す",
    u"ことわざ部分を二つ消す",
};

} // namespace

FormPrint0::FormPrint0(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::Dialog), state_(state) {
    setObjectName(QStringLiteral("FormPrint0"));
    setWindowTitle(QStringLiteral("印刷設定"));
    const double scale = pixelsPerTwip(state);
    auto px = [scale](double twips) { return static_cast<int>(std::lround(twips * scale)); };
    auto font = [&](double points, bool bold = false) {
        QFont f(msGothic);
        f.setPixelSize(std::max(8, px(points * 20)));
        f.setBold(bold);
        return f;
    };
    setFixedSize(px(windowWidth), px(windowHeight));

    Label1 = new QLabel(QStringLiteral("印刷設定"), this);
    Label1->setGeometry(px(240), px(120), px(6720), px(600));
    Label1->setFont(font(20, true));
    Label2 = new QLabel(QStringLiteral("レベルを選んでください"), this);
    Label2->setGeometry(px(240), px(840), px(3600), px(360));
    Label2->setFont(font(11));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setGeometry(px(240), px(1260), px(1500), px(3720));
    List1->setFont(font(14));
    Label3 = new QLabel(
        QStringLiteral("Shiftを押しながら選ぶと複数選択できます(そのうち15問が印刷されます)"),
        this);
    Label3->setWordWrap(true);
    Label3->setGeometry(px(240), px(5040), px(6720), px(600));
    Label3->setFont(font(10));

    Check1 = new QCheckBox(QStringLiteral("順序を変える"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(px(2040), px(1260), px(4920), px(420));
    Check1->setFont(font(12));
    auto* modes = new QButtonGroup(this);
    for (int i = 1; i <= 5; ++i) {
        auto* option = new QRadioButton(QString::fromUtf16(modeCaptions[i - 1]), this);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setGeometry(px(2040), px(1860 + (i - 1) * 480), px(4920), px(420));
        option->setFont(font(12));
        modes->addButton(option, i);
        Option1[static_cast<std::size_t>(i)] = option;
    }
    Command3 = new QPushButton(QStringLiteral("再並べ替え"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command1 = new QPushButton(QStringLiteral("印刷へ"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("もどる"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    QPushButton* const buttons[] = {Command3, Command1, Command2};
    for (int i = 0; i < 3; ++i) {
        QPushButton* button = buttons[i];
        button->setGeometry(px(240 + i * 2280), px(5760), px(2040), px(600));
        button->setFont(font(12));
    }

    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!loading_) {
            Command3_Click();
        }
    });
    connect(Check1, &QCheckBox::clicked, this, [this] { Command3_Click(); });
    connect(modes, &QButtonGroup::idClicked, this, [this] { Command3_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { close(); });
}

void FormPrint0::Form_Load() {
    loading_ = true;
    List1->clear();
    for (int level = 1; level <= 8; ++level) {
        List1->addItem(QString::number(level));
    }
    List1->setCurrentRow(0);
    // The worksheet starts printing every part, so the first preview shows the table.
    Option1[printAll]->setChecked(true);
    loading_ = false;
    Command3_Click();
}

WorksheetChoice FormPrint0::choice() const {
    WorksheetChoice c;
    for (int row = 0; row < List1->count() && row < 8; ++row) {
        c.levels[static_cast<std::size_t>(row + 1)] = List1->item(row)->isSelected();
    }
    c.shuffle = Check1->isChecked();
    c.mode = noBlanking;
    for (int i = 1; i <= 5; ++i) {
        if (Option1[static_cast<std::size_t>(i)]->isChecked()) {
            c.mode = i;
        }
    }
    return c;
}

void FormPrint0::Command3_Click() {
    const QString path = worksheetSourcePath(state_);
    const WorksheetSource source = readWorksheetSource(path);
    const WorksheetBuildReport report =
        buildWorksheet(state_.worksheet, source.lines, choice(), *state_.env);
    QStringList problems = source.problems;
    const QString leftOut = leftOutProblem(QFileInfo(path).fileName(), report);
    if (!leftOut.isEmpty()) {
        problems.push_back(leftOut);
    }
    reportProblems(problems);
}

void FormPrint0::reportProblems(const QStringList& problems) {
    if (problems.isEmpty()) {
        lastReport_.clear();
        return;
    }
    QStringList shown = problems.mid(0, shownProblems);
    if (problems.size() > shownProblems) {
        shown.push_back(QStringLiteral("ほか %1 か所").arg(problems.size() - shownProblems));
    }
    const QString text =
        QStringLiteral("ワークシートの表に使えない行があります。使える行だけで作ります。\n") +
        shown.join(QLatin1Char('\n'));
    if (text == lastReport_) {
        return;
    }
    lastReport_ = text;
    showMessage(state_, this, QStringLiteral("注意"), text, MessageButtons::Ok,
                MessageIcon::Warning);
}

void FormPrint0::Command1_Click() {
    if (!printForm_) {
        printForm_ = new frmPrint(state_, this);
        printForm_->setAttribute(Qt::WA_DeleteOnClose);
    }
    printForm_->show();
    printForm_->raise();
    printForm_->activateWindow();
}

void FormPrint0::closeEvent(QCloseEvent* event) {
    if (printForm_) {
        printForm_->close();
    }
    QWidget::closeEvent(event);
    emit closed();
}

void openWorksheetScreen(AppState& state) {
    auto* form = new FormPrint0(state, state.host);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowModality(Qt::WindowModal);
    QObject::connect(form, &FormPrint0::closed, [&state] {
        if (state.host && state.host->current()) {
            state.host->current()->activate();
        }
    });
    form->show();
    form->activateWindow();
    form->Form_Load();
}
