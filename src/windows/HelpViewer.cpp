// SPDX-License-Identifier: MIT
// The help window and the context → page map.

#include "windows/HelpViewer.h"

// Qt
#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
// own
#include "windows/AppStyle.h"
#include "windows/Language.h"

namespace {

// The help document in the language of the interface: Japanese at the top, each other
// language in a folder of its own.
QString HelpRoot()
{
    return Language::Current() == Language::Ui::English ? QStringLiteral("qrc:/help/en/") : QStringLiteral("qrc:/help/");
}

struct ContextPage
{
    int context;
    const char* page;
};

// Kept small on purpose: one context per section of the help.
constexpr ContextPage ContextPages[] = {
    {Help::Contents, "index.html"},  {Help::Rules, "rules.html"},     {Help::Scoring, "scoring.html"},
    {Help::Commands, "commands.html"}, {Help::Settings, "settings.html"}, {Help::Ranking, "ranking.html"},
    {Help::Files, "files.html"},
};

QPointer<HelpViewer> s_viewer;

// The help pages' style sheet colours its texts for the light paper of the classic colours.
// In the desktop's colours the paper is the desktop's, maybe dark, so the pages take the
// desktop's text and link colours instead and keep only their fonts and spacing.
class HelpBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QVariant loaded = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::StyleSheetResource || !AppColors::UsingDesktop())
            return loaded;
        static const QRegularExpression colour(QStringLiteral("(?:background-)?color\\s*:[^;}]*;?"));
        return QString::fromUtf8(loaded.toByteArray()).remove(colour);
    }
};

void Open(QWidget* parent, const QUrl& url)
{
    // The help window belongs to the window that asks, so that a modal window (the options
    // dialog) does not block it; it moves to the next window that asks.
    QWidget* owner = parent ? parent->window() : QApplication::activeModalWidget();
    HelpViewer* viewer = s_viewer;
    if (!viewer) {
        viewer = new HelpViewer(owner);
        s_viewer = viewer;
        // Centred on the screen, like the game's own windows.
        if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
            viewer->move(screen->availableGeometry().center() - viewer->rect().center());
    } else if (viewer->parentWidget() != owner) {
        const QRect geometry = viewer->geometry();
        const bool wasShown = viewer->isVisible();
        viewer->setParent(owner, viewer->windowFlags());
        if (wasShown)
            viewer->setGeometry(geometry);
    }
    viewer->ShowPage(url);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

// Receives QDesktopServices::openUrl for the "qrc" scheme.
class HelpUrlHandler : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

public slots:
    void OpenUrl(const QUrl& url)
    {
        if (url.scheme() == QLatin1String("qrc") && url.path().startsWith(QLatin1String("/help/")))
            Open(QApplication::activeWindow(), url);
        else if (url == SupportPageUrl())
            Open(QApplication::activeWindow(), Help::PageUrl(Help::Contents));
    }
};

} // namespace

QUrl Help::PageUrl(int context)
{
    for (const ContextPage& entry : ContextPages) {
        if (entry.context == context)
            return QUrl(HelpRoot() + QString::fromLatin1(entry.page));
    }
    return QUrl(HelpRoot() + QString::fromLatin1(ContextPages[0].page));
}

void ShowHelp(QWidget* parent, int context)
{
    Open(parent, Help::PageUrl(context));
}

QUrl SupportPageUrl()
{
    // The about box's link shows its target to the player: an address that says what it
    // opens, rather than where the help is stored inside the program.
    return QUrl(QCoreApplication::translate("HelpViewer", "help:目次"));
}

void OpenSupportPage(QWidget* parent)
{
    Open(parent, Help::PageUrl(Help::Contents));
}

void InstallHelpUrlHandler()
{
    static QPointer<HelpUrlHandler> handler;
    if (handler)
        return;
    handler = new HelpUrlHandler(qApp);
    QDesktopServices::setUrlHandler(QStringLiteral("qrc"), handler, "OpenUrl");
    QDesktopServices::setUrlHandler(SupportPageUrl().scheme(), handler, "OpenUrl");
    // The handler goes with the application object; it must be unregistered before that.
    qAddPostRoutine([] {
        QDesktopServices::unsetUrlHandler(QStringLiteral("qrc"));
        QDesktopServices::unsetUrlHandler(SupportPageUrl().scheme());
    });
}

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    // The game's windows stay on top, so the help has to as well to be seen next to them.
    // Closing the help only hides it, and an open help window never keeps the program alive.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("Orbilo ヘルプ"));

    m_backBtn = new QPushButton(tr("◀ 戻る"), this);
    m_forwardBtn = new QPushButton(tr("進む ▶"), this);
    m_contentsBtn = new QPushButton(tr("目次"), this);
    auto* closeBtn = new QPushButton(tr("閉じる"), this);
    for (QPushButton* button : {m_backBtn, m_forwardBtn, m_contentsBtn, closeBtn})
        button->setAutoDefault(false);

    m_browser = new HelpBrowser(this);
    m_browser->setOpenExternalLinks(true); // web and mail addresses go to the desktop
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->document()->setDocumentMargin(12);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 6, 6, 6);
    buttons->addWidget(m_backBtn);
    buttons->addWidget(m_forwardBtn);
    buttons->addWidget(m_contentsBtn);
    buttons->addStretch(1);
    buttons->addWidget(closeBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);

    connect(m_backBtn, &QPushButton::clicked, this, &HelpViewer::Back);
    connect(m_forwardBtn, &QPushButton::clicked, this, &HelpViewer::Forward);
    connect(m_contentsBtn, &QPushButton::clicked, this, &HelpViewer::Home);
    connect(closeBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::historyChanged, this, &HelpViewer::UpdateButtons);
    new QShortcut(QKeySequence::Back, this, this, &HelpViewer::Back);
    new QShortcut(QKeySequence::Forward, this, this, &HelpViewer::Forward);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    resize(660, 560);
    UpdateButtons();
}

void HelpViewer::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The program's colours changed: the page is laid out again with or without its own.
    if (event->type() == QEvent::PaletteChange && !m_browser->source().isEmpty())
        m_browser->reload();
}

HelpViewer* HelpViewer::Current()
{
    return s_viewer;
}

void HelpViewer::ShowPage(const QUrl& url)
{
    if (m_browser->source() != url)
        m_browser->setSource(url);
}

QUrl HelpViewer::Page() const
{
    return m_browser->source();
}

void HelpViewer::Back()
{
    m_browser->backward();
}

void HelpViewer::Forward()
{
    m_browser->forward();
}

void HelpViewer::Home()
{
    ShowPage(Help::PageUrl(Help::Contents));
}

void HelpViewer::UpdateButtons()
{
    m_backBtn->setEnabled(m_browser->isBackwardAvailable());
    m_forwardBtn->setEnabled(m_browser->isForwardAvailable());
    m_contentsBtn->setEnabled(m_browser->source() != Help::PageUrl(Help::Contents));
}

#include "HelpViewer.moc"
