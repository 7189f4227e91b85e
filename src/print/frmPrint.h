#pragma once

#include <QImage>
#include <QPageLayout>
#include <QSizeF>
#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class PrintJob;
struct AppState;

// The white preview box: it keeps what was drawn on it (the page image) and shows it.
class PreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget* parent = nullptr);

    // Resizes the box and its image, which is cleared to white.
    void resizeBox(QSize size);
    void clear();
    QImage& page() { return page_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage page_;
};

// The print layout form: previews the worksheet of AppState as a ruled table and prints
// it on A4. It redraws the preview from the current worksheet whenever it becomes the
// active window.
//
// Controls:
//   name      caption                          what it does
//   Picture5  -                                the background panel
//   Picture1  -                                the preview of the page
//   Command9  "印刷"                           prints the page: Command9_Click
//   Command8  "戻る"                           closes the form: Command8_Click
//   Picture4  "印刷中　しばらくお待ちください"    shown while the page prints
//   Check1    "印刷" (hidden)                  on while the page goes to the printer
//   Check2    "縦横" (hidden)                  portrait or landscape; lays the page out again
class frmPrint : public QWidget {
    Q_OBJECT
public:
    explicit frmPrint(AppState& state, QWidget* parent = nullptr);
    ~frmPrint() override;

    QCheckBox* Check1 = nullptr; // "印刷" (hidden): on while the page goes to the printer
    QCheckBox* Check2 = nullptr; // "縦横" (hidden): on for portrait
    PreviewBox* Picture1 = nullptr;
    QPushButton* Command9 = nullptr; // "印刷"
    QPushButton* Command8 = nullptr; // "戻る"
    QFrame* Picture5 = nullptr;      // the background panel
    QFrame* Picture4 = nullptr;      // "印刷中　しばらくお待ちください"

    double previewScale() const { return previewScale_; }
    // How often the page has been laid out (preview and printer), for tests and the
    // benchmark.
    int layouts() const { return layouts_; }

    void Form_Activate();
    void Command12_Click(); // lay out
    void Command9_Click();  // print
    void Command8_Click();  // back

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Command1_Click();  // initialise
    void Command11_Click(); // the ruled table
    QPageLayout::Orientation orientation() const;

    AppState& state_;
    double pixelsPerTwip_;
    double previewScale_ = 0.6;
    QSizeF paper_;            // PW × PH in twips
    PrintJob* job_ = nullptr; // the job being drawn while Check1 is on
    int layouts_ = 0;
    bool autoPrinted_ = false; // with autoPrint the page is printed once
};
