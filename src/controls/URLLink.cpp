// SPDX-License-Identifier: MIT
// TURLLink: hover colour, the hint window and opening the target.
#include "controls/URLLink.h"

// Qt
#include <QCursor>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QUrl>
// own
#include "controls/Panel.h"
#include "controls/ShiftState.h"

// The hint window shows the picture it was given when it was shown: its text is drawn
// once, so a later change of Link or of the hint settings shows only at the next showing.
class TURLLink::HintForm : public QWidget
{
public:
    HintForm()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }

    void SetPicture(const QPixmap& picture)
    {
        m_picture = picture;
        setFixedSize(picture.size());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawPixmap(0, 0, m_picture);
    }

private:
    QPixmap m_picture;
};

namespace {

TURLLink::Opener& CurrentOpener()
{
    static TURLLink::Opener opener = &TURLLink::OpenWithDesktop;
    return opener;
}

} // namespace

void TURLLink::SetOpener(Opener opener)
{
    CurrentOpener() = opener ? std::move(opener) : Opener(&TURLLink::OpenWithDesktop);
}

void TURLLink::OpenWithDesktop(const QString& target)
{
    // The result is not examined: a target nothing can open leaves the label as it was.
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

TURLLink::TURLLink(QWidget* parent)
    : QLabel(parent)
    , m_hintForm(new HintForm)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    ApplyFontColor();
}

TURLLink::~TURLLink()
{
    delete m_hintForm;
}

QWidget* TURLLink::HintWindow() const
{
    return m_hintForm;
}

void TURLLink::SetURLType(TURLtype type)
{
    if (type == m_urlType)
        return;
    m_urlType = type;
    update();
}

void TURLLink::SetLink(const QString& link)
{
    if (link == m_link)
        return;
    m_link = link;
    update();
}

QString TURLLink::Target() const
{
    return m_urlType == tpMAIL ? QStringLiteral("mailto:") + m_link : m_link;
}

void TURLLink::SetHintFormFont(const QFont& font)
{
    m_hintFont = font;
    update();
}

void TURLLink::SetHintFormFontColor(ColorValue color)
{
    if (color == m_hintFontColor)
        return;
    m_hintFontColor = color;
    update();
}

void TURLLink::SetEnableShowHint(bool enable)
{
    if (enable == m_enableShowHint)
        return;
    m_enableShowHint = enable;
    update();
}

void TURLLink::SetHintFormColor(ColorValue color)
{
    if (color == m_hintFormColor)
        return;
    m_hintFormColor = color;
    update();
}

void TURLLink::SetHintOffsetX(int offset)
{
    if (offset == m_hintOffsetX)
        return;
    m_hintOffsetX = offset;
    update();
}

void TURLLink::SetHintOffsetY(int offset)
{
    if (offset == m_hintOffsetY)
        return;
    m_hintOffsetY = offset;
    update();
}

void TURLLink::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    update();
}

void TURLLink::SetColor(ColorValue color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TURLLink::SetCaption(const QString& caption)
{
    if (caption == text())
        return;
    setText(caption);
}

void TURLLink::SetFontColor(ColorValue color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    ApplyFontColor();
}

void TURLLink::SetLinkColor(ColorValue color)
{
    if (color == m_linkColor)
        return;
    m_linkColor = color;
    update();
}

void TURLLink::ApplyFontColor()
{
    QPalette pal = palette();
    pal.setColor(QPalette::All, QPalette::WindowText, SysColors::ToQColor(m_fontColor));
    setPalette(pal);
    update();
}

void TURLLink::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    // The program's colours changed: a system font colour resolves anew.
    if (event->type() == QEvent::PaletteChange
        && palette().color(QPalette::Active, QPalette::WindowText) != SysColors::ToQColor(m_fontColor))
        ApplyFontColor();
}

void TURLLink::paintEvent(QPaintEvent* event)
{
    if (!m_transparent) {
        QColor back;
        if (m_color != SysColors::NoColor)
            back = SysColors::ToQColor(m_color);
        else if (auto* panel = qobject_cast<::Panel*>(parentWidget()))
            back = SysColors::ToQColor(panel->Color());
        else if (parentWidget())
            back = parentWidget()->palette().color(QPalette::Window);
        else
            back = palette().color(QPalette::Window);
        QPainter(this).fillRect(rect(), back);
    }
    QLabel::paintEvent(event);
}

void TURLLink::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    // A label shown again under the pointer may be entered twice without a leave between:
    // the colour to put back is the one from before the first.
    if (!m_pointerInside)
        m_savedColor = m_fontColor;
    m_pointerInside = true;
    SetFontColor(m_linkColor);
}

void TURLLink::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    PointerGone();
}

void TURLLink::hideEvent(QHideEvent* event)
{
    QLabel::hideEvent(event);
    // A window that closes under the pointer (the about box closed with Enter) sends no
    // leave, and the hint window is a top-level window of its own: without this it would
    // stay on screen for the rest of the run.
    PointerGone();
}

void TURLLink::PointerGone()
{
    // Only a leave that follows an enter has a colour to put back.
    if (m_pointerInside) {
        m_pointerInside = false;
        SetFontColor(m_savedColor);
    }
    HideHintWindow();
}

void TURLLink::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (m_enableShowHint && !m_hintShowing)
        ShowHintWindow();
}

void TURLLink::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint pos = event->position().toPoint();
    MouseDown(ShiftState::ButtonCode(event->button()), ShiftState::FromEvent(*event), pos.x(), pos.y());
}

void TURLLink::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint pos = event->position().toPoint();
    MouseDown(ShiftState::ButtonCode(event->button()), ShiftState::FromEvent(*event, true), pos.x(), pos.y());
}

void TURLLink::MouseDown(int button, int /*shift*/, int /*x*/, int /*y*/)
{
    update();
    if (button != ShiftState::mbLeft)
        return;
    CurrentOpener()(Target());
    HideHintWindow();
}

void TURLLink::ShowHintWindow()
{
    const QPoint pointer = QCursor::pos();
    const QFontMetrics metrics(m_hintFont);
    const QSize size(metrics.horizontalAdvance(m_link) + 6, metrics.height() + 3);

    QPixmap picture(size);
    picture.fill(SysColors::ToQColor(m_hintFormColor));
    {
        QPainter p(&picture);
        p.setFont(m_hintFont);
        p.setPen(SysColors::ToQColor(m_hintFontColor));
        p.drawText(QRect(2, 2, size.width(), size.height()),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_link);
    }
    m_hintForm->SetPicture(picture);
    m_hintForm->move(pointer.x() + m_hintOffsetX, pointer.y() + m_hintOffsetY);
    m_hintForm->show();
    m_hintShowing = true;
}

void TURLLink::HideHintWindow()
{
    if (!m_hintShowing)
        return;
    m_hintForm->hide();
    m_hintShowing = false;
}
