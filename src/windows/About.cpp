// SPDX-License-Identifier: MIT
#include "windows/About.h"

// Qt
#include <QIcon>
#include <QLabel>
#include <QPushButton>

// own
#include "windows/AppInfo.h"
#include "controls/GradBox.h"
#include "windows/HelpViewer.h"
#include "controls/Panel.h"
#include "controls/URLLink.h"

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(tr("バージョン情報"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/orbilo-64.png")));
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    setFixedSize(301, 141);

    m_panel1 = new Panel(this);
    m_panel1->setGeometry(0, 0, 301, 105);
    m_panel1->SetColor(SysColors::clNavy);
    m_panel1->SetBevelOuter(bvLowered);
    m_panel1->SetBevelInner(bvLowered);
    m_panel1->SetBevelWidth(2);

    // The gradient fills the panel inside its two bevels.
    m_label1 = new TGradBox(m_panel1);
    m_label1->setGeometry(m_panel1->InnerRect());
    m_label1->SetTopColor(SysColors::clBlue);
    m_label1->SetLastColor(SysColors::clNavy);
    m_label1->SetDrawOutLine(false);
    m_label1->SetFont3D(false);
    m_label1->SetCaptionLeft(60);
    m_label1->SetCaptionTop(40);
    m_label1->setFont(AppInfo::WindowFont(AppInfo::Gothic, -19, true, true));
    m_label1->SetFontColor(SysColors::clWhite);

    m_programIcon = new QLabel(m_panel1);
    m_programIcon->setGeometry(4, 4, 37, 37);
    m_programIcon->setScaledContents(true);
    m_programIcon->setPixmap(QPixmap(QStringLiteral(":/icons/orbilo-64.png")));

    m_urlLink1 = new TURLLink(m_panel1);
    m_urlLink1->move(48, 16);
    m_urlLink1->SetCaption(QStringLiteral("Brimwell　"));
    m_urlLink1->setFont(AppInfo::WindowFont(AppInfo::PGothic, -19, true, true));
    m_urlLink1->SetFontColor(SysColors::clAqua);
    m_urlLink1->SetLinkColor(SysColors::clRed);
    m_urlLink1->SetTransparent(true);
    // The about box shows no standard tooltips: the label's own hint window, which shows the
    // link target, is the only one that appears here (the main window's label is the other way
    // round).
    m_urlLink1->SetHintOffsetY(0);
    m_urlLink1->SetHintFormFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    m_urlLink1->SetHintFormFontColor(SysColors::clWindowText);
    m_urlLink1->SetLink(SupportPageUrl().toString());
    m_urlLink1->adjustSize();

    m_note = new QLabel(tr("五行の牌を組にして消してゆくパズル"), m_panel1);
    m_note->setFont(AppInfo::WindowFont(AppInfo::Mincho, -15, false, true));
    m_note->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_note->setAttribute(Qt::WA_TranslucentBackground);
    m_note->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    const QRect inner = m_panel1->InnerRect();
    m_note->setGeometry(inner.left(), inner.bottom() - 24, inner.width(), 22);

    m_button1 = new QPushButton(QStringLiteral("OK"), this);
    m_button1->setGeometry(113, 111, 75, 25);
    m_button1->setDefault(true);
    connect(m_button1, &QPushButton::clicked, this, &TAboutBox::Button1Click);

    FormCreate();
}

void TAboutBox::FormCreate()
{
    m_label1->SetCaption(AppInfo::Title);
}

void TAboutBox::Button1Click()
{
    accept();
}
