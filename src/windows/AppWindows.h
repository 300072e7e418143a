// SPDX-License-Identifier: MIT
// The program's five windows, created in their fixed order and wired together: the main
// window first (it must not touch the others while it is created), then the about box, the
// name entry, the ranking window and the options dialog, which takes the board font from
// the finished main window. They are destroyed in the reverse order, the main window last.
#pragma once

// Qt
#include <QString>

#include <memory>

class TAboutBox;
class TMainF;
class TNameF;
class TRankF;
class TSetuF;

class AppWindows
{
public:
    // The data files live in programFolder; empty means the executable's folder.
    explicit AppWindows(const QString& programFolder = QString());
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    TMainF& Main() const { return *m_main; }
    TAboutBox& About() const { return *m_about; }
    TNameF& Name() const { return *m_name; }
    TRankF& Rank() const { return *m_rank; }
    TSetuF& Setu() const { return *m_setu; }

private:
    std::unique_ptr<TMainF> m_main;
    std::unique_ptr<TAboutBox> m_about;
    std::unique_ptr<TNameF> m_name;
    std::unique_ptr<TRankF> m_rank;
    std::unique_ptr<TSetuF> m_setu;
};
