// SPDX-License-Identifier: MIT
// TChkGroup: a framed group of check boxes, one per line of Items, arranged in columns,
// whose checked states are mirrored in one integer bit mask, BitChk (item i is bit i).
// The main window's CG1 chooses with it which symbol sets a new game deals. The group
// creates, captions, lays out and destroys its TGroupCheckBox boxes itself; it lays them
// out from its font's cell height, sends the focus to its first box when the focus comes
// in by keyboard, moves the focus on when Return is pressed in a box, and greys its text
// while disabled. It paints the classic etched frame rather than the style's, which would
// all but vanish on the game's gray panels.
#pragma once

// Qt
#include <QCheckBox>
#include <QGroupBox>
#include <QList>
#include <QPointer>
#include <QStringList>
// own
#include "controls/SysColors.h"

class TChkGroup;

// One box of a TChkGroup. The group owns it; it takes the group's RetNext and asks the
// group's CanModify before a click may change it.
class TGroupCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit TGroupCheckBox(TChkGroup* group);
    ~TGroupCheckBox() override;

    TChkGroup* Group() const { return m_group; }
    bool RetNext() const { return m_retNext; }
    void SetRetNext(bool retNext) { m_retNext = retNext; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void nextCheckState() override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPointer<TChkGroup> m_group;
    bool m_retNext = true;
    bool m_inClick = false; // a click handler that clicks again is not obeyed
};

class TChkGroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(int AddLeft READ AddLeft WRITE SetAddLeft)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int BitChk READ BitChk WRITE SetBitChk)
    Q_PROPERTY(bool RetNext READ RetNext WRITE SetRetNext)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)

public:
    // Masks hold one bit per item for the first 32 items; later items have no bit.
    static constexpr int MaxBitItems = 32;
    static constexpr int MaxColumns = 16;

    // A new group: no items, one column, left margin 8, BitChk 0, RetNext on.
    explicit TChkGroup(QWidget* parent = nullptr);
    ~TChkGroup() override;

    // Left margin of the first column, 0..255 pixels.
    int AddLeft() const { return m_addLeft; }
    void SetAddLeft(int addLeft);
    // Number of columns, 0..16 (more is stored as 16); 0 arranges like 1.
    int Columns() const { return m_columns; }
    void SetColumns(int columns);

    // Bit i set: item i checked. Written by the program it checks the boxes, reduced to
    // the bits of the items there are (kept whole with no items or with 32 or more); the
    // program's writes never raise Clicked.
    int BitChk() const { return m_bitChk; }
    void SetBitChk(int bitChk);

    // Return in a box moves the focus to the next control; off, Return is passed on.
    bool RetNext() const { return m_retNext; }
    void SetRetNext(bool retNext);

    // The captions, one box each. Setting them rebuilds, recaptions and rearranges the
    // boxes and checks them from BitChk.
    QStringList Items() const { return m_items; }
    void SetItems(const QStringList& items);

    // Whether box index is checked; false for an index that has no box.
    bool ItemChecked(int index) const;
    int BoxCount() const { return int(m_boxes.size()); }
    TGroupCheckBox* Box(int index) const;

    // Asked before a click may change a box. Subclasses may refuse.
    virtual bool CanModify() const { return true; }

    // Colour of the caption and of the boxes' text while enabled. A disabled group
    // shows grey (128, 128, 128); see RememberedFontColor.
    ColorValue FontColor() const { return m_fontColor; }
    void SetFontColor(ColorValue color);
    // The font colour the first group to change its enabled state had at that moment.
    // Every group comes back to it when enabled again; 1 while nothing is remembered.
    static ColorValue RememberedFontColor();

    // Lays the boxes out in columns from the group's size and the font's cell height.
    void Arrange();

signals:
    // The user toggled a box (by mouse or keyboard); BitChk already holds the new state.
    void Clicked(TChkGroup* sender);
    // BitChk changed, by the user or by SetBitChk.
    void BitChkChanged(int bitChk);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    friend class TGroupCheckBox;

    void UpdateBoxes();
    void SetBoxCount(int count);
    void PlaceInTabOrder(TGroupCheckBox* box);
    void UpdateChecks();
    void ReduceBitChk();
    void ApplyFontColor();
    void ItemClick(TGroupCheckBox* box);
    void BoxFocusIn(TGroupCheckBox* box, Qt::FocusReason reason);
    void BoxFocusOut(Qt::FocusReason reason);
    void RemoveBox(TGroupCheckBox* box);

    QList<TGroupCheckBox*> m_boxes;
    bool m_mouseEntry = false; // the focus comes in by a click: leave it where it lands
    bool m_focusInside = false;
    bool m_updating = false; // the group itself is changing boxes
    int m_addLeft = 8;
    int m_columns = 1;
    QStringList m_items;
    int m_bitChk = 0;
    bool m_retNext = true;
    ColorValue m_fontColor = SysColors::clWindowText;
};
