// SPDX-License-Identifier: MIT
#include "windows/AppWindows.h"

// Qt
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWindow>

// own
#include "windows/About.h"
#include "windows/Accessibility.h"
#include "app/AppModel.h"
#include "windows/AppInfo.h"
#include "windows/AppStyle.h"
#include "windows/Main.h"
#include "windows/Name.h"
#include "windows/Rank.h"
#include "windows/RankHost.h"
#include "windows/Setu.h"

#include <functional>

namespace {

// Runs an action once the watched window has been exposed and the frame drawn for that
// exposure has been handed to the window system. The window draws synchronously while it
// handles the expose event, so the action is queued behind it.
class FirstFrameWatch : public QObject
{
public:
    explicit FirstFrameWatch(std::function<void()> action)
        : m_action(std::move(action))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && !m_queued) {
            const auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                m_queued = true;
                QTimer::singleShot(0, this, m_action);
            }
        }
        return false;
    }

private:
    std::function<void()> m_action;
    bool m_queued = false;
};

} // namespace

AppWindows::AppWindows(const QString& programFolder, Creation creation)
{
    Create(std::make_unique<AppModel>(programFolder), creation);
}

AppWindows::AppWindows(const DataFolder::Choice& data, Creation creation)
{
    Create(std::make_unique<AppModel>(data), creation);
}

void AppWindows::Create(std::unique_ptr<AppModel> model, Creation creation)
{
    Accessibility::InstallFactory();
    m_model = std::move(model);
    // The stored colours, before the first window is made: it is built in them.
    AppColors::Apply(m_model->Options().desktopColors);
    m_main = std::make_unique<TMainF>(*m_model);
    Accessibility::Install(*m_main);
    if (creation == Creation::AllAtOnce)
        CreateLaterWindows();
}

void AppWindows::CreateLaterWindows()
{
    // Whatever runs the event loop while they are made (a message box) lets the first frame
    // or the deadline call again: they are made once.
    if (m_laterWindowsStarted)
        return;
    m_laterWindowsStarted = true;
    // Every window without an icon of its own, the main window included, takes this one.
    QApplication::setWindowIcon(AppInfo::ProgramIcon());
    m_about = std::make_unique<TAboutBox>(m_main.get());
    m_name = std::make_unique<TNameF>(m_main.get());
    TMainF* main = m_main.get();
    m_rankHost = std::make_unique<SessionRankHost>(m_model->Session(), [main](const QString& text) { main->ShowMessage(text); });
    m_rank = std::make_unique<TRankF>(m_model->Rank(), m_rankHost.get(), m_name.get(), m_main.get());
    m_setu = std::make_unique<TSetuF>(*m_model, m_main.get());
    m_main->SetWindows(m_about.get(), m_rank.get(), m_setu.get());
}

void AppWindows::ShowMain()
{
    m_main->show();
    if (LaterWindowsCreated())
        return;
    auto create = [this] {
        if (m_firstFrameWatch && m_main->windowHandle())
            m_main->windowHandle()->removeEventFilter(m_firstFrameWatch.get());
        CreateLaterWindows();
    };
    m_firstFrameWatch = std::make_unique<FirstFrameWatch>(create);
    QWindow* window = m_main->windowHandle();
    if (window && window->isExposed()) {
        // Some platforms expose the window while showing it.
        QTimer::singleShot(0, m_firstFrameWatch.get(), create);
        return;
    }
    if (window)
        window->installEventFilter(m_firstFrameWatch.get());
    QTimer::singleShot(LaterWindowsDeadlineMs, m_firstFrameWatch.get(), create);
}

AppWindows::~AppWindows()
{
    m_firstFrameWatch.reset();
    // The later windows go first; the main window saves the board font as it goes.
    m_setu.reset();
    m_rank.reset();
    m_name.reset();
    m_about.reset();
    m_main.reset();
    m_model.reset();
}
