#include "records/RecordMaintenanceScreen.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "app/ScreenHost.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace {

const QString uiFont = QStringLiteral("ＭＳ Ｐゴシック");
// Fixed pitch, so that the columns of the list lines stand under each other.
const QString listFont = QStringLiteral("ＭＳ ゴシック");

} // namespace

RecordMaintenanceScreen::RecordMaintenanceScreen(AppState& state, QWidget* parent)
    : Screen(state, parent), maintenance_(state) {
    setObjectName(QStringLiteral("RecordMaintenanceScreen"));
    setWindowTitle(caption());

    Label3_ = newLabel(this, QStringLiteral("Label3"));
    layout_.place(Label3_, 240, 840, 4000, 360);
    layout_.setFont(Label3_, uiFont, 12);

    Label5_ = newLabel(this, QStringLiteral("Label5"),
                       QStringLiteral("ダブルクリックすると変更、消去できます"));
    layout_.place(Label5_, 4400, 840, 7000, 360);
    layout_.setFont(Label5_, uiFont, 12);

    List1_ = new QListWidget(this);
    List1_->setObjectName(QStringLiteral("List1"));
    List1_->setSelectionMode(QAbstractItemView::SingleSelection);
    List1_->setUniformItemSizes(true); // thousands of lines stay quick to show
    layout_.place(List1_, 240, 1260, 14880, 9180);
    layout_.setFont(List1_, listFont, 12);
    connect(List1_, &QListWidget::itemClicked, this, [this] { closeEditPanel(); });
    connect(List1_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { openLine(List1_->row(item)); });

    Command4_ = newButton(this, QStringLiteral("Command4"), QStringLiteral("戻る"));
    layout_.place(Command4_, 12840, 10620, 2280, 660);
    layout_.setFont(Command4_, uiFont, 14, true);
    connect(Command4_, &QPushButton::clicked, this, [this] { command4Click(); });

    buildEditPanel();

    Picture2_ = new QFrame(this);
    Picture2_->setObjectName(QStringLiteral("Picture2"));
    Picture2_->setAutoFillBackground(true);
    layout_.place(Picture2_, 0, 0, TwipsLayout::designWidth, TwipsLayout::designHeight);
    Picture2_->hide();
}

QLabel* RecordMaintenanceScreen::newLabel(QWidget* parent, const QString& name,
                                          const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* RecordMaintenanceScreen::newButton(QWidget* parent, const QString& name,
                                                const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void RecordMaintenanceScreen::buildEditPanel() {
    // The panel stands at the top left corner, above the list's heading.
    Frame1_ = new QFrame(this);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    Frame1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    Frame1_->setAutoFillBackground(true);
    layout_.place(Frame1_, 0, 0, TwipsLayout::designWidth, 720);

    const auto panelLabel = [this](const QString& name, int left, int width) {
        QLabel* l = newLabel(Frame1_, name);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        layout_.place(l, left, 150, width, 420);
        layout_.setFont(l, uiFont, 12);
        return l;
    };
    Label1_ = panelLabel(QStringLiteral("Label1"), 120, 900);
    Label2_[1] = panelLabel(QStringLiteral("Label2(1)"), 1080, 1200);
    Label2_[2] = panelLabel(QStringLiteral("Label2(2)"), 2340, 1800);

    Combo1_ = new QComboBox(Frame1_);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setEditable(true);
    Combo1_->setInsertPolicy(QComboBox::NoInsert);
    Combo1_->setMaxVisibleItems(20);
    layout_.place(Combo1_, 4200, 150, 4200, 420);
    layout_.setFont(Combo1_, uiFont, 12);
    connect(Combo1_, &QComboBox::activated, this, [this](int index) {
        Label2_[4]->setText(maintenance_.gradeLabelOfChooser(Combo1_->itemText(index)));
    });

    Label2_[4] = panelLabel(QStringLiteral("Label2(4)"), 8460, 900);

    Text1_ = new QLineEdit(Frame1_);
    Text1_->setObjectName(QStringLiteral("Text1(1)"));
    Text1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout_.place(Text1_, 9420, 150, 1200, 420);
    layout_.setFont(Text1_, uiFont, 12);

    // Wide enough for every time a record can hold, 99999 (a timed-out run) included.
    VScroll1_ = new QScrollBar(Qt::Vertical, Frame1_);
    VScroll1_->setObjectName(QStringLiteral("VScroll1"));
    VScroll1_->setRange(0, RecordMaintenance::maxSeconds);
    VScroll1_->setSingleStep(1);
    VScroll1_->setPageStep(10);
    layout_.place(VScroll1_, 10620, 90, 300, 540);
    connect(VScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { Text1_->setText(QString::number(value)); });

    Label2_[0] = panelLabel(QStringLiteral("Label2(0)"), 10980, 420);
    Label2_[0]->setText(QStringLiteral("秒"));
    Label2_[0]->setFrameStyle(QFrame::NoFrame);

    Command2_ = newButton(Frame1_, QStringLiteral("Command2"), QStringLiteral("変更して記録"));
    layout_.place(Command2_, 11520, 120, 1740, 480);
    layout_.setFont(Command2_, uiFont, 12);
    connect(Command2_, &QPushButton::clicked, this, [this] { command2Click(); });

    Command3_ = newButton(Frame1_, QStringLiteral("Command3"), QStringLiteral("消去"));
    layout_.place(Command3_, 13320, 120, 900, 480);
    layout_.setFont(Command3_, uiFont, 12);
    connect(Command3_, &QPushButton::clicked, this, [this] { command3Click(); });

    Command1_ = newButton(Frame1_, QStringLiteral("Command1"), QStringLiteral("キャンセル"));
    layout_.place(Command1_, 14280, 120, 960, 480);
    layout_.setFont(Command1_, uiFont, 10);
    connect(Command1_, &QPushButton::clicked, this, [this] { closeEditPanel(); });

    Frame1_->hide();
}

void RecordMaintenanceScreen::activate() {
    // activate() runs again whenever a message box closes; the list is built once here and
    // afterwards by the changes themselves.
    if (built_) {
        return;
    }
    built_ = true;
    maintenance_.buildList();
    showList(maintenance_.lines().isEmpty() ? -1 : 0);
}

void RecordMaintenanceScreen::showList(int selectLine) {
    Label3_->setText(maintenance_.totalText());
    List1_->clear();
    List1_->addItems(maintenance_.lines());
    if (Combo1_->count() != maintenance_.chooserEntries().size()) {
        Combo1_->clear();
        Combo1_->addItems(maintenance_.chooserEntries());
    } else {
        for (int i = 0; i < Combo1_->count(); ++i) {
            Combo1_->setItemText(i, maintenance_.chooserEntries()[i]);
        }
    }
    if (selectLine >= 0 && selectLine < List1_->count()) {
        List1_->setCurrentRow(selectLine);
        List1_->scrollToItem(List1_->item(selectLine));
    }
}

void RecordMaintenanceScreen::openLine(int line) {
    const std::optional<OpenedRecord> opened = maintenance_.openRecord(line);
    if (!opened) {
        closeEditPanel();
        showList(line);
        return;
    }
    Label1_->setText(QString::number(opened->number));
    Label2_[1]->setText(opened->levelText);
    Label2_[2]->setText(opened->dateText);
    Label2_[4]->setText(opened->gradeLabel);
    // The entry of the record's pupil becomes the current one, so the arrow keys go on
    // from it; a pupil without a roster line is shown as text alone.
    Combo1_->setCurrentIndex(Combo1_->findText(opened->chooserText));
    Combo1_->setEditText(opened->chooserText);
    {
        // The text box shows the record's own seconds even where the bar cannot.
        const QSignalBlocker quiet(VScroll1_);
        VScroll1_->setValue(opened->record.seconds);
    }
    Text1_->setText(opened->secondsText);
    Command2_->setEnabled(true);
    Command3_->setEnabled(true);
    Frame1_->show();
    Frame1_->raise();
}

void RecordMaintenanceScreen::closeEditPanel() {
    Frame1_->hide();
}

void RecordMaintenanceScreen::command2Click() {
    const int line = maintenance_.rewriteRecord(Text1_->text(), Combo1_->currentText());
    if (line >= 0) {
        showList(line);
        return;
    }
    if (!maintenance_.openedRecord()) {
        // The record had changed elsewhere: the list was read again.
        closeEditPanel();
        showList(List1_->currentRow());
    }
}

void RecordMaintenanceScreen::command3Click() {
    const std::optional<OpenedRecord>& opened = maintenance_.openedRecord();
    if (!opened) {
        return;
    }
    if (showMessage(state_, this, QStringLiteral("注意"), QStringLiteral("本当に消去しますか"),
                    MessageButtons::OkCancel, MessageIcon::Question) != MessageAnswer::Ok) {
        return;
    }
    // The record the panel shows is the one deleted, whatever line is selected now.
    const int line = maintenance_.lineOfRecord(opened->number);
    const std::optional<int> select = maintenance_.deleteLine(line);
    closeEditPanel();
    showList(select ? *select : List1_->currentRow());
}

void RecordMaintenanceScreen::command4Click() {
    Picture2_->show();
    Picture2_->raise();
    if (state_.routes.openLevelMenu) {
        state_.routes.openLevelMenu();
    }
}

void openRecordMaintenance(AppState& state) {
    if (state.host) {
        state.host->showScreen(new RecordMaintenanceScreen(state));
    }
}
