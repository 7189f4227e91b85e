#include "records/CriteriaEditor.h"

#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/Messages.h"
#include "app/ScreenHost.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("注意");

constexpr int rowHeightTwips = 300;
// The caret stands after the tenth character: the end of any normal value.
constexpr int caretColumn = 10;

const QColor fixedGrey(192, 192, 192);
const QColor markYellow(255, 255, 0);
const QColor panelBlue(192, 224, 255);

} // namespace

CriteriaEditor::CriteriaEditor(AppState& state, QWidget* parent) : Screen(state, parent) {
    setObjectName(QStringLiteral("CriteriaEditor"));
    setWindowTitle(caption());

    const auto label = [this](QWidget* parent, const char* name, const QString& text, int left,
                              int top, int width, int height, double points) {
        auto* l = new QLabel(text, parent);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        layout_.place(l, left, top, width, height);
        layout_.setFont(l, msPGothic, points);
        return l;
    };
    label1_ = label(this, "Label1",
                    QStringLiteral("成績の基準となるデータを変更できます。\n"
                                   "プログラムを選んでください。"),
                    240, 120, 9600, 780, 14.25);

    grid1_ = new QTableWidget(this);
    grid1_->setObjectName(QStringLiteral("MSFlexGrid1"));
    grid1_->horizontalHeader()->hide();
    grid1_->verticalHeader()->hide();
    grid1_->verticalHeader()->setMinimumSectionSize(1);
    grid1_->horizontalHeader()->setMinimumSectionSize(1);
    grid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid1_->setSelectionMode(QAbstractItemView::NoSelection);
    // Every key goes to the edit box over the current cell.
    grid1_->setFocusPolicy(Qt::NoFocus);
    grid1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The headings are wider than their columns: their beginning shows, without dots.
    grid1_->setTextElideMode(Qt::ElideNone);
    grid1_->setWordWrap(false);
    layout_.place(grid1_, 240, 1020, 9600, 6480);
    layout_.setFont(grid1_, msPGothic, 9.75);
    connect(grid1_, &QTableWidget::cellClicked, this, &CriteriaEditor::cellClicked);

    input_ = new QLineEdit(grid1_->viewport());
    input_->setObjectName(QStringLiteral("Gridinputtext"));
    input_->setFrame(false);
    layout_.setFont(input_, msPGothic, 9.75);
    input_->installEventFilter(this);
    connect(input_, &QLineEdit::textChanged, this, &CriteriaEditor::editBoxToCell);

    keyHint_ =
        label(this, "Label5", QStringLiteral("スペース：セルクリア　　Shift + ↓：セルコピー"), 240,
              7620, 9600, 360, 12);
    label6_ = label(this, "Label6", QStringLiteral("列の説明"), 240, 8100, 1800, 360, 12);
    label3_ = label(this, "Label3", QString(), 240, 8460, 9600, 1140, 12);
    paintBackground(label3_, QColor(255, 255, 224), Qt::black);
    label3_->setFrameStyle(QFrame::Box | QFrame::Plain);

    const auto button = [this](const char* name, const QString& text, int left) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        layout_.place(b, left, 9960, 2640, 840);
        layout_.setFont(b, msPGothic, 15.75);
        return b;
    };
    command3_ = button("Command3", QStringLiteral("更新記録"), 240);
    command2_ = button("Command2", QStringLiteral("元に戻す"), 3240);
    command4_ = button("Command4", QStringLiteral("戻る"), 7200);
    connect(command3_, &QPushButton::clicked, this, &CriteriaEditor::command3Click);
    connect(command2_, &QPushButton::clicked, this, &CriteriaEditor::command2Click);
    connect(command4_, &QPushButton::clicked, this, &CriteriaEditor::command4Click);

    auto* options = new QButtonGroup(this);
    const QString optionTexts[2] = {QStringLiteral("度数表示"), QStringLiteral("度数非表示")};
    for (int index = 0; index < 2; ++index) {
        option1_[index] = new QRadioButton(optionTexts[index], this);
        option1_[index]->setObjectName(QStringLiteral("Option1(%1)").arg(index));
        // A click must not take the focus from the edit box.
        option1_[index]->setFocusPolicy(Qt::NoFocus);
        layout_.place(option1_[index], 10200 + index * 2400, 120, 2280, 360);
        layout_.setFont(option1_[index], msPGothic, 12);
        options->addButton(option1_[index], index);
    }
    option1_[0]->setChecked(true);
    connect(options, &QButtonGroup::idClicked, this, &CriteriaEditor::optionClicked);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Picture1"));
    panel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    paintBackground(panel_, panelBlue, Qt::black);
    layout_.place(panel_, 10080, 540, 5040, 10800);
    label(panel_, "Label7", QStringLiteral("現在までの成績度数分布"), 120, 60, 4800, 360, 12);
    label(panel_, "Label8", QStringLiteral("全成績"), 120, 480, 2400, 300, 11.25);
    label(panel_, "Label9", QStringLiteral("最高タイム"), 120, 6000, 2400, 300, 11.25);
    const auto list = [this](const char* name, int top, int height) {
        auto* l = new QListWidget(panel_);
        l->setObjectName(QLatin1String(name));
        l->setFocusPolicy(Qt::NoFocus);
        l->setSelectionMode(QAbstractItemView::NoSelection);
        layout_.place(l, 120, top, 4800, height);
        layout_.setFont(l, msGothic, 9);
        return l;
    };
    list3_ = list("List3", 780, 5100);
    list4_ = list("List4", 6300, 4380);

    waitPanel_ = new QLabel(QStringLiteral("Just a moment,please."), this);
    waitPanel_->setObjectName(QStringLiteral("waitPanel"));
    waitPanel_->setAlignment(Qt::AlignCenter);
    paintBackground(waitPanel_, QColor(255, 255, 255), Qt::black);
    layout_.place(waitPanel_, 0, 0, TwipsLayout::designWidth, TwipsLayout::designHeight);
    layout_.setFont(waitPanel_, msPGothic, 36);
    waitPanel_->hide();
}

void CriteriaEditor::activate() {
    loadGrid();
}

void CriteriaEditor::loadGrid() {
    // A file that cannot be read is reported by the grid, which keeps what it showed.
    grid_.load(state_);
    showGrid();
    placeEditBox();
    cellToEditBox();
    refreshDistributions();
}

void CriteriaEditor::showGrid() {
    grid1_->clearSelection();
    grid1_->setColumnCount(CriteriaGrid::columns);
    grid1_->setRowCount(grid_.rowCount());
    for (int row = 0; row < grid_.rowCount(); ++row) {
        for (int column = 0; column < CriteriaGrid::columns; ++column) {
            showCell(row, column);
        }
    }
    sizeColumns();
    input_->setVisible(grid_.hasCurrentCell());
}

void CriteriaEditor::showCell(int row, int column) {
    QTableWidgetItem* item = grid1_->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid1_->setItem(row, column, item);
    }
    item->setText(grid_.text(row, column));
    const bool fixed = row == 0 || column == 0;
    item->setBackground(fixed ? fixedGrey : grid_.marked(row, column) ? markYellow : Qt::white);
    item->setForeground(Qt::black);
    if (row == 0) {
        item->setFont(layout_.font(msPGothic, 8.25));
    }
}

void CriteriaEditor::sizeColumns() {
    // Equal columns of a 13th of the grid, the first field column a little narrower.
    const int width = grid1_->width() / CriteriaGrid::columns;
    for (int column = 0; column < CriteriaGrid::columns; ++column) {
        grid1_->setColumnWidth(column, column == 1 ? width * 8 / 10 : width);
    }
    grid1_->verticalHeader()->setDefaultSectionSize(layout_.px(rowHeightTwips));
    for (int row = 0; row < grid1_->rowCount(); ++row) {
        grid1_->setRowHeight(row, layout_.px(rowHeightTwips));
    }
}

void CriteriaEditor::resizeEvent(QResizeEvent* event) {
    Screen::resizeEvent(event);
    for (int column = 0; column < grid1_->columnCount(); ++column) {
        showCell(0, column); // the headings' font follows the scale
    }
    sizeColumns();
    if (grid_.hasCurrentCell()) {
        const QTableWidgetItem* item = grid1_->item(grid_.row(), grid_.column());
        if (item) {
            input_->setGeometry(grid1_->visualItemRect(item));
        }
    }
}

void CriteriaEditor::placeEditBox() {
    label3_->setText(CriteriaGrid::columnHelp(grid_.hasCurrentCell() ? grid_.column() : 0));
    if (!grid_.hasCurrentCell()) {
        return;
    }
    const QTableWidgetItem* item = grid1_->item(grid_.row(), grid_.column());
    grid1_->scrollToItem(item);
    input_->setGeometry(grid1_->visualItemRect(item));
    input_->setFocus();
    input_->setCursorPosition(std::min<int>(caretColumn, static_cast<int>(input_->text().size())));
}

void CriteriaEditor::cellToEditBox() {
    if (!grid_.hasCurrentCell()) {
        return;
    }
    input_->setText(grid_.text(grid_.row(), grid_.column()));
    input_->setCursorPosition(std::min<int>(caretColumn, static_cast<int>(input_->text().size())));
}

void CriteriaEditor::editBoxToCell(const QString& text) {
    if (!grid_.hasCurrentCell()) {
        return;
    }
    grid_.editBoxToCell(text);
    showCell(grid_.row(), grid_.column());
}

void CriteriaEditor::refreshDistributions() {
    // With the panel hidden no one looks at the lists; they are rebuilt when it comes back.
    if (!panel_->isVisibleTo(this)) {
        return;
    }
    QString error;
    if (::refreshDistributions(state_, tables_, &error)) {
        readFailureShown_ = false;
    } else if (!readFailureShown_) {
        // Told once, not on every key while the file stays unreadable; the lists keep the
        // figures of the last good read.
        readFailureShown_ = true;
        showMessage(state_, this, kTitle, error, MessageButtons::Ok, MessageIcon::Warning);
    }
    list3_->clear();
    list4_->clear();
    if (grid_.hasCurrentCell()) {
        list3_->addItems(allTimesList(tables_, grid_.row()));
        list4_->addItems(bestTimesList(tables_, grid_.row()));
    }
}

bool CriteriaEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == input_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return editKey(key->key(), key->modifiers());
    }
    return Screen::eventFilter(watched, event);
}

// A key pressed in the edit box; true when it is used up here, false when the edit box
// then types its character.
bool CriteriaEditor::editKey(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Escape || !grid_.hasCurrentCell()) {
        return true;
    }
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    bool used = true;
    bool moved = false;
    switch (key) {
    case Qt::Key_Up:
        grid_.moveUp();
        moved = true;
        break;
    case Qt::Key_Down:
        if (shift) {
            grid_.copyDown(input_->text());
            for (int row = grid_.row(); row <= grid_.selectionEnd(); ++row) {
                showCell(row, grid_.column());
            }
            grid1_->clearSelection();
            grid1_->setRangeSelected(QTableWidgetSelectionRange(grid_.row(), grid_.column(),
                                                                grid_.selectionEnd(),
                                                                grid_.column()),
                                     true);
        } else {
            grid_.moveDown();
            moved = true;
        }
        break;
    case Qt::Key_Left:
        grid_.moveLeft();
        moved = true;
        break;
    case Qt::Key_Right:
        grid_.moveRight();
        moved = true;
        break;
    case Qt::Key_Space:
        input_->clear();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        break;
    default:
        used = false; // typed by the edit box, at the end of the cell's text
        break;
    }
    if (moved) {
        grid1_->clearSelection();
        cellToEditBox();
        placeEditBox();
    }
    refreshDistributions();
    cellToEditBox();
    return used;
}

void CriteriaEditor::cellClicked(int row, int column) {
    // The heading row and the level column cannot be made current.
    if (row < 1 || column < 1) {
        return;
    }
    grid_.setCurrent(row, column);
    grid1_->clearSelection();
    cellToEditBox();
    placeEditBox();
    refreshDistributions();
    cellToEditBox();
}

void CriteriaEditor::showWaitPanel(bool shown) {
    waitPanel_->setVisible(shown);
    if (shown) {
        waitPanel_->raise();
        waitPanel_->repaint();
    }
}

bool CriteriaEditor::saveGrid() {
    showWaitPanel(true);
    const bool saved = grid_.save(state_);
    showWaitPanel(false);
    return saved;
}

void CriteriaEditor::command3Click() {
    saveGrid();
    placeEditBox();
}

void CriteriaEditor::command2Click() {
    loadGrid();
}

void CriteriaEditor::command4Click() {
    if (leaving_) {
        return;
    }
    if (grid_.changed()) {
        const MessageAnswer answer = showMessage(
            state_, this, kTitle, QStringLiteral("データが変更されています。記録しますか？"),
            MessageButtons::YesNo, MessageIcon::Question);
        // A save that failed keeps the teacher here with the edits.
        if (answer == MessageAnswer::Yes && !saveGrid()) {
            placeEditBox();
            return;
        }
    }
    leaving_ = true;
    command4_->setEnabled(false);
    showWaitPanel(true);
    if (state_.routes.openLevelMenu) {
        state_.routes.openLevelMenu();
    }
}

void CriteriaEditor::optionClicked(int index) {
    panel_->setVisible(index == 0);
    refreshDistributions();
    placeEditBox();
}

void openCriteriaEditor(AppState& state) {
    if (state.host) {
        state.host->showScreen(new CriteriaEditor(state));
    }
}
