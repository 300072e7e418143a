// SPDX-License-Identifier: MIT
// The program's five windows over the application model (app/AppModel.h), created in their
// fixed order and wired together: the model first, with the score tables and the options
// the first board needs, then the main window (it must not touch the other windows while it
// is created), the about box, the name entry, the ranking window and the options dialog,
// which shows the board font the main window loaded. They are destroyed in the reverse
// order, the main window last and the model after it.
//
// The start-up creates the main window alone, shows it, and creates the four others as soon
// as the main window has drawn its first frame: none of them is on screen at start-up, and
// their creation (a fifth of the start-up's work) no longer delays the first sight of the
// board. Until then the main window runs without them, as it does before SetWindows: it
// scores and keeps time from the model, but plays no sound. The program's icon comes with
// them. Tests create all five at once.
#pragma once

// Qt
#include <QString>

#include <memory>

class AppModel;
class QObject;
namespace DataFolder {
struct Choice;
}
class TAboutBox;
class TMainF;
class TNameF;
class TRankF;
class TSetuF;
class SessionRankHost;

class AppWindows
{
public:
    enum class Creation {
        AllAtOnce, // the five windows exist when the constructor returns
        MainWindowFirst, // only the main window; the others follow its first frame (ShowMain)
    };

    // The data files live in programFolder; empty means the folder chosen at start-up
    // (DataFolder::Current()).
    explicit AppWindows(const QString& programFolder = QString(), Creation creation = Creation::AllAtOnce);
    // The data files as chosen at start-up (AppModel.h).
    explicit AppWindows(const DataFolder::Choice& data, Creation creation = Creation::AllAtOnce);
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    // Shows the main window. The four later windows, if they do not exist yet, are created
    // once it has drawn its first frame, or after LaterWindowsDeadlineMs should no frame be
    // reported (a window that starts minimised).
    void ShowMain();
    static constexpr int LaterWindowsDeadlineMs = 500;
    // Creates the four later windows now, unless they exist already or are being created,
    // and gives every window the program's icon.
    void CreateLaterWindows();
    bool LaterWindowsCreated() const { return m_setu != nullptr; }

    AppModel& Model() const { return *m_model; }
    TMainF& Main() const { return *m_main; }
    // The later windows; valid once LaterWindowsCreated().
    TAboutBox& About() const { return *m_about; }
    TNameF& Name() const { return *m_name; }
    TRankF& Rank() const { return *m_rank; }
    TSetuF& Setu() const { return *m_setu; }

private:
    void Create(std::unique_ptr<AppModel> model, Creation creation);

    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<TMainF> m_main;
    std::unique_ptr<TAboutBox> m_about;
    std::unique_ptr<TNameF> m_name;
    std::unique_ptr<SessionRankHost> m_rankHost;
    std::unique_ptr<TRankF> m_rank;
    std::unique_ptr<TSetuF> m_setu;
    std::unique_ptr<QObject> m_firstFrameWatch;
    bool m_laterWindowsStarted = false;
};
