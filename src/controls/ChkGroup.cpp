// SPDX-License-Identifier: MIT
// TChkGroup and TGroupCheckBox: the bit mask, the arrangement, the focus rules and the
// enabled colour.
#include "controls/ChkGroup.h"

// Qt
#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
// own
#include "controls/Panel.h"

namespace {

// The font colour of the first group whose enabled state changed; 1 = none yet. One value
// for the whole program, so every group comes back to the same colour.
ColorValue s_rememberedFontColor = 1;

quint32 BitOf(int index)
{
    return quint32(1) << index;
}

} // namespace

// ---------------------------------------------------------------------------------------
// TGroupCheckBox

TGroupCheckBox::TGroupCheckBox(TChkGroup* group)
    : QCheckBox(group)
    , m_group(group)
{
}

TGroupCheckBox::~TGroupCheckBox()
{
    if (m_group)
        m_group->RemoveBox(this);
}

void TGroupCheckBox::keyPressEvent(QKeyEvent* event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (m_retNext && isReturn) {
        event->accept();
        focusNextChild();
        return;
    }
    QCheckBox::keyPressEvent(event);
}

// A press on a box is the mouse activating the group: the focus it brings stays on the box.
void TGroupCheckBox::mousePressEvent(QMouseEvent* event)
{
    if (m_group)
        m_group->m_mouseEntry = true;
    QCheckBox::mousePressEvent(event);
}

// Every toggle by the user (click, double click, Space) comes through here; a change
// of Checked by the program does not.
void TGroupCheckBox::nextCheckState()
{
    if (m_inClick || !m_group || !m_group->CanModify())
        return;
    m_inClick = true;
    QCheckBox::nextCheckState();
    if (m_group)
        m_group->ItemClick(this);
    m_inClick = false;
}

void TGroupCheckBox::focusInEvent(QFocusEvent* event)
{
    QCheckBox::focusInEvent(event);
    if (m_group)
        m_group->BoxFocusIn(this, event->reason());
}

void TGroupCheckBox::focusOutEvent(QFocusEvent* event)
{
    QCheckBox::focusOutEvent(event);
    if (m_group)
        m_group->BoxFocusOut(event->reason());
}

// ---------------------------------------------------------------------------------------
// TChkGroup

TChkGroup::TChkGroup(QWidget* parent)
    : QGroupBox(parent)
{
    setFocusPolicy(Qt::NoFocus);
    ApplyFontColor();
}

TChkGroup::~TChkGroup()
{
    SetBoxCount(0);
}

void TChkGroup::SetAddLeft(int addLeft)
{
    addLeft = qBound(0, addLeft, 255);
    if (addLeft == m_addLeft)
        return;
    m_addLeft = addLeft;
    Arrange();
}

void TChkGroup::SetColumns(int columns)
{
    columns = qBound(0, columns, MaxColumns);
    if (columns == m_columns)
        return;
    m_columns = columns;
    Arrange();
}

void TChkGroup::SetBitChk(int bitChk)
{
    if (bitChk == m_bitChk)
        return;
    const int before = m_bitChk;
    m_bitChk = bitChk;
    UpdateChecks();
    if (m_bitChk != before)
        emit BitChkChanged(m_bitChk);
}

void TChkGroup::SetRetNext(bool retNext)
{
    if (retNext == m_retNext)
        return;
    m_retNext = retNext;
    if (!m_boxes.isEmpty() && m_boxes.last()->RetNext() != retNext) {
        m_updating = true;
        for (TGroupCheckBox* box : std::as_const(m_boxes))
            box->SetRetNext(retNext);
        m_updating = false;
    }
}

void TChkGroup::SetItems(const QStringList& items)
{
    m_items = items;
    UpdateBoxes();
}

bool TChkGroup::ItemChecked(int index) const
{
    return index >= 0 && index < m_boxes.size() && m_boxes[index]->isChecked();
}

TGroupCheckBox* TChkGroup::Box(int index) const
{
    return index >= 0 && index < m_boxes.size() ? m_boxes[index] : nullptr;
}

void TChkGroup::SetFontColor(ColorValue color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    ApplyFontColor();
}

ColorValue TChkGroup::RememberedFontColor()
{
    return s_rememberedFontColor;
}

void TChkGroup::ApplyFontColor()
{
    // All colour groups alike: a disabled group shows exactly the grey it was given,
    // not the style's own disabled shade.
    QPalette pal = palette();
    pal.setColor(QPalette::All, QPalette::WindowText, SysColors::ToQColor(m_fontColor));
    setPalette(pal);
    update();
}

void TChkGroup::UpdateBoxes()
{
    SetBoxCount(int(m_items.size()));
    for (int i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setText(m_items[i]);
    UpdateChecks();
    Arrange();
}

void TChkGroup::SetBoxCount(int count)
{
    while (m_boxes.size() < count) {
        auto* box = new TGroupCheckBox(this);
        m_boxes.append(box);
        box->hide();
        box->SetRetNext(m_retNext);
        box->setEnabled(isEnabled());
        PlaceInTabOrder(box);
    }
    while (m_boxes.size() > count)
        delete m_boxes.last(); // its destructor takes it off the list
}

// A new widget joins the end of its window's tab chain; a box belongs where the group
// stands, after the box before it. Qt only chains widgets that take focus, so the group
// takes tab focus for the moment it is chained to its first box.
void TChkGroup::PlaceInTabOrder(TGroupCheckBox* box)
{
    if (m_boxes.size() > 1) {
        QWidget::setTabOrder(m_boxes[m_boxes.size() - 2], box);
        return;
    }
    const Qt::FocusPolicy policy = focusPolicy();
    setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(this, box);
    setFocusPolicy(policy);
}

void TChkGroup::RemoveBox(TGroupCheckBox* box)
{
    m_boxes.removeOne(box);
}

void TChkGroup::ReduceBitChk()
{
    // Only the bits of existing items are kept. With no items nothing is known yet, and
    // with 32 or more items every bit has an item, so the mask stays whole.
    const int count = int(m_items.size());
    if (count > 0 && count < MaxBitItems)
        m_bitChk = int(quint32(m_bitChk) & (BitOf(count) - 1));
}

void TChkGroup::UpdateChecks()
{
    m_updating = true;
    ReduceBitChk();
    // Boxes from the 33rd on have no bit: the mask neither sets nor clears them.
    const int withBits = qMin(int(m_boxes.size()), MaxBitItems);
    for (int i = 0; i < withBits; ++i)
        m_boxes[i]->setChecked((quint32(m_bitChk) & BitOf(i)) != 0);
    m_updating = false;
}

void TChkGroup::ItemClick(TGroupCheckBox* box)
{
    if (m_updating)
        return;
    const int index = int(m_boxes.indexOf(box));
    if (index < 0)
        return;
    if (index < MaxBitItems) {
        quint32 bits = quint32(m_bitChk);
        if (box->isChecked())
            bits |= BitOf(index);
        else
            bits &= ~BitOf(index);
        m_bitChk = int(bits);
        emit BitChkChanged(m_bitChk);
    }
    emit Clicked(this);
}

void TChkGroup::Arrange()
{
    const int count = int(m_boxes.size());
    if (count == 0)
        return;
    const int cellHeight = QFontMetrics(font()).height();
    const int columns = qMax(1, m_columns);
    const int perCol = (count + columns - 1) / columns;
    int w = (width() - 10) / columns;
    if (m_addLeft > 8)
        w -= m_addLeft - 8;
    const int a = height() - cellHeight - 5;
    const int hb = a / perCol;
    const int top = cellHeight + 1 + (a % perCol) / 2;
    for (int k = 0; k < count; ++k) {
        TGroupCheckBox* box = m_boxes[k];
        box->setGeometry(m_addLeft + (k / perCol) * w, top + (k % perCol) * hb, qMax(0, w), qMax(0, hb));
        box->show();
    }
}

void TChkGroup::BoxFocusIn(TGroupCheckBox* box, Qt::FocusReason reason)
{
    if (m_focusInside)
        return; // moving between the group's own boxes
    m_focusInside = true;
    // The window becoming active again gives the focus back to the box that had it; that
    // is no entry into the group. Sending it on to the first box would also take it from a
    // box just pressed in an inactive window, and the press would never become a click.
    const bool byMouse = m_mouseEntry || reason == Qt::MouseFocusReason || reason == Qt::ActiveWindowFocusReason;
    m_mouseEntry = false;
    if (byMouse)
        return;
    // By keyboard (or any other way) the group is entered at its first box, whichever
    // box the tab order reached.
    TGroupCheckBox* first = m_boxes.isEmpty() ? nullptr : m_boxes.first();
    if (first && box != first && first->isVisible() && first->isEnabled())
        first->setFocus(reason);
}

void TChkGroup::BoxFocusOut(Qt::FocusReason reason)
{
    // The window losing activation or a popup opening does not take the focus out of
    // the group: it comes back to the same box.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    QWidget* now = QApplication::focusWidget();
    if (now && isAncestorOf(now))
        return;
    m_focusInside = false;
    m_mouseEntry = false;
}

// The classic etched frame: a light rectangle one pixel right and down from a dark one,
// starting half a text line from the top, and the caption at (8, 0) on the group's colour
// (the parent's), cutting the frame.
void TChkGroup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QFontMetrics metrics(font());
    const int h = metrics.height();
    const QColor light = SysColors::ToQColor(SysColors::System(SysColors::ColorBtnHighlight));
    const QColor dark = SysColors::ToQColor(SysColors::System(SysColors::ColorBtnShadow));
    const auto frameRect = [&p](int l, int t, int r, int b, const QColor& color) {
        if (r <= l || b <= t)
            return;
        p.fillRect(QRect(l, t, r - l, 1), color);
        p.fillRect(QRect(l, b - 1, r - l, 1), color);
        p.fillRect(QRect(l, t, 1, b - t), color);
        p.fillRect(QRect(r - 1, t, 1, b - t), color);
    };
    const int top = h / 2 - 1;
    frameRect(1, top + 1, width(), height(), light);
    frameRect(0, top, width() - 1, height() - 1, dark);

    const QString caption = title();
    if (caption.isEmpty())
        return;
    QColor back;
    if (auto* panel = qobject_cast<::Panel*>(parentWidget()))
        back = SysColors::ToQColor(panel->Color());
    else
        back = (parentWidget() ? parentWidget() : this)->palette().color(QPalette::Window);
    const QRect textRect(8, 0, metrics.horizontalAdvance(caption), h);
    p.fillRect(textRect, back);
    p.setFont(font());
    p.setPen(SysColors::ToQColor(m_fontColor));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, caption);
}

void TChkGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    Arrange();
}

void TChkGroup::mousePressEvent(QMouseEvent* event)
{
    m_mouseEntry = true;
    QGroupBox::mousePressEvent(event);
}

void TChkGroup::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        Arrange();
        break;
    case QEvent::PaletteChange:
        // The program's colours changed: a system font colour resolves anew.
        if (palette().color(QPalette::Active, QPalette::WindowText) != SysColors::ToQColor(m_fontColor))
            ApplyFontColor();
        break;
    case QEvent::EnabledChange: {
        const bool enabled = isEnabled();
        for (TGroupCheckBox* box : std::as_const(m_boxes))
            box->setEnabled(enabled);
        if (s_rememberedFontColor == 1)
            s_rememberedFontColor = m_fontColor;
        SetFontColor(enabled ? s_rememberedFontColor : SysColors::Rgb(128, 128, 128));
        update();
        break;
    }
    default:
        break;
    }
}
