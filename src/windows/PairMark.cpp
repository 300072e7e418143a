// SPDX-License-Identifier: MIT
#include "windows/PairMark.h"

// Qt
#include <QPainter>

// own
#include "windows/AppInfo.h"

PairMark::PairMark(QWidget* parent, int number)
    : QWidget(parent)
    , m_number(number)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void PairMark::Show(int tile, const QRect& geometry)
{
    m_tile = tile;
    setGeometry(geometry);
    raise();
    show();
}

void PairMark::Clear()
{
    m_tile = 0;
    hide();
}

void PairMark::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    auto frame = [&](int inset, int thickness, Qt::GlobalColor color) {
        const QRect r = rect().adjusted(inset, inset, -inset, -inset);
        painter.fillRect(r.left(), r.top(), r.width(), thickness, color);
        painter.fillRect(r.left(), r.bottom() - thickness + 1, r.width(), thickness, color);
        painter.fillRect(r.left(), r.top(), thickness, r.height(), color);
        painter.fillRect(r.right() - thickness + 1, r.top(), thickness, r.height(), color);
    };
    frame(0, 1, Qt::black);
    frame(1, 2, Qt::white);
    frame(3, 1, Qt::black);
    const QRect badge(0, 0, 11, 12);
    painter.fillRect(badge, Qt::black);
    painter.setPen(Qt::white);
    painter.setFont(AppInfo::WindowFont(AppInfo::Gothic, -10, true));
    painter.drawText(badge, Qt::AlignCenter, QString::number(m_number));
}
