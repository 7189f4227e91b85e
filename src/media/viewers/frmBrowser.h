#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QWebEngineProfile;
class QWebEngineView;
class AnimationSchemeHandler;

// The browser window: shows the explanation at StartingAddress over everything else
// until "解説終わり" closes it. An animation ("...swf") plays in the animation player the
// program carries (playerFolder); other addresses open as the web view opens them.
// Whatever the address, the window opens and "解説終わり" closes it.
//
// Controls:
//   name           caption       what it does
//   Command1       "解説終わり"  closes the window
//   brwWebBrowser  -             shows the address
class frmBrowser : public QWidget {
    Q_OBJECT
public:
    frmBrowser(const QString& startingAddress, const QString& drillDataFolder,
               const QString& playerFolder, QWidget* parent = nullptr);
    ~frmBrowser() override;

    const QString StartingAddress;

    QWebEngineView* view() const { return brwWebBrowser; }

private:
    void navigate(const QString& drillDataFolder, const QString& playerFolder);

    QWebEngineProfile* profile_ = nullptr;
    AnimationSchemeHandler* handler_ = nullptr;
    QPushButton* Command1 = nullptr; // 解説終わり
    QWebEngineView* brwWebBrowser = nullptr;
};
