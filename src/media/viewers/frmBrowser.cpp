#include "media/viewers/frmBrowser.h"

#include "media/ExplanationEntry.h"
#include "media/viewers/AnimationPage.h"
#include "media/viewers/AnimationSchemeHandler.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

frmBrowser::frmBrowser(const QString& startingAddress, const QString& drillDataFolder,
                       const QString& playerFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), StartingAddress(startingAddress) {
    setObjectName(QStringLiteral("frmBrowser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("解説"));
    resize(960, 720);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Command1 = new QPushButton(QStringLiteral("解説終わり"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setMinimumSize(120, 36);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(Command1);
    column->addLayout(buttons);

    // A profile of the window's own, kept in memory only: nothing the explanation does
    // is stored, and the scheme handler knows just this window's animation.
    profile_ = new QWebEngineProfile(this);
    brwWebBrowser = new QWebEngineView(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    auto* page = new QWebEnginePage(profile_, brwWebBrowser);
    // The animation's own sound starts with it, as it did in the schools' old player.
    page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    brwWebBrowser->setPage(page);
    column->addWidget(brwWebBrowser, 1);

    navigate(drillDataFolder, playerFolder);
}

frmBrowser::~frmBrowser() {
    // The page must go before its profile.
    delete brwWebBrowser;
}

void frmBrowser::navigate(const QString& drillDataFolder, const QString& playerFolder) {
    const AnimationTarget target = animationTargetOf(StartingAddress, drillDataFolder);
    switch (target.kind) {
    case AnimationTarget::Kind::Blank:
        return;
    case AnimationTarget::Kind::PageUrl:
        brwWebBrowser->load(target.url);
        return;
    case AnimationTarget::Kind::LocalSwf:
    case AnimationTarget::Kind::RemoteSwf:
        break;
    }
    const bool local = target.kind == AnimationTarget::Kind::LocalSwf;
    const QString title = local ? QFileInfo(target.localFile).fileName() : target.url.fileName();
    setWindowTitle(QStringLiteral("解説 - %1").arg(title));
    handler_ = new AnimationSchemeHandler(playerFolder, local ? target.localFile : QString(),
                                          local ? QUrl() : target.url, title, this);
    profile_->installUrlSchemeHandler(animationScheme, handler_);
    brwWebBrowser->load(QUrl(animationPageUrl));
}
