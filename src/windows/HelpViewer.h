// SPDX-License-Identifier: MIT
// The help: a Japanese HTML document compiled into the program (":/help/") and one window of
// our own that shows it. The game asks for help by context number, as it did on the system it
// was designed for: the menu item "目次(&C)" and the options dialog's "ヘルプ(&H)" both ask for
// context 10000, the contents page.
//
// The support page the link labels point to is the help's contents page too, so it opens in
// the same window and works without a network.
#pragma once

// Qt
#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace Help {

constexpr int Contents = 10000;
constexpr int Rules = 10010;
constexpr int Scoring = 10020;
constexpr int Commands = 10030;
constexpr int Settings = 10040;
constexpr int Ranking = 10050;
constexpr int Files = 10060;

// The page of a help context; the contents page for a context the help does not know.
QUrl PageUrl(int context);

} // namespace Help

// Opens the help window at the page of the context, or brings it to the front and turns to
// that page. There is one help window for the whole run. parent is the window asking: the
// help window stays usable while that window is modal (the options dialog is).
void ShowHelp(QWidget* parent, int context);

// "help:目次": the link target of the link labels, which opens the help's contents.
QUrl SupportPageUrl();

// Opens the support page in the help window.
void OpenSupportPage(QWidget* parent);

// Routes QDesktopServices::openUrl for the help's own addresses ("qrc:/help/..." and
// SupportPageUrl()) to the help window, so a link label whose target is SupportPageUrl()
// opens it like any web address.
// Called once at start-up; other schemes still go to the desktop.
void InstallHelpUrlHandler();

class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // The help window if one has been opened and not destroyed with its owner.
    static HelpViewer* Current();

    void ShowPage(const QUrl& url);
    QUrl Page() const;
    QTextBrowser* Browser() const { return m_browser; }

public slots:
    void Back();
    void Forward();
    void Home();

protected:
    void changeEvent(QEvent* event) override;

private:
    void UpdateButtons();

    QTextBrowser* m_browser = nullptr;
    QPushButton* m_backBtn = nullptr;
    QPushButton* m_forwardBtn = nullptr;
    QPushButton* m_contentsBtn = nullptr;
};
