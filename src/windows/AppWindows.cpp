// SPDX-License-Identifier: MIT
#include "AppWindows.h"

// own
#include "About.h"
#include "Main.h"
#include "Name.h"
#include "Rank.h"
#include "Setu.h"

AppWindows::AppWindows(const QString& programFolder)
{
    m_main = std::make_unique<TMainF>(programFolder);
    m_about = std::make_unique<TAboutBox>(m_main.get());
    m_name = std::make_unique<TNameF>(m_main.get());
    m_rank = std::make_unique<TRankF>(m_main.get(), m_name.get(), m_main.get());
    m_setu = std::make_unique<TSetuF>(m_main->ProgramFolder(), m_main->BoardFont(), m_main->BoardFontColor(),
                                      m_main.get());
    m_setu->SetRankingGrid(&m_rank->Grid());
    TMainF* main = m_main.get();
    m_setu->SetApplyBoardFont([main] { main->ApplyBoardFont(); });
    m_main->SetWindows(m_about.get(), m_rank.get(), m_setu.get());
}

AppWindows::~AppWindows()
{
    // The later windows go first; the main window saves the board font as it goes.
    m_setu.reset();
    m_rank.reset();
    m_name.reset();
    m_about.reset();
    m_main.reset();
}
