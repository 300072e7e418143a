// SPDX-License-Identifier: MIT
// Panel: the class library's bevelled panel, which the windows use as the container of
// most of their controls. An outer bevel, a border in the panel's colour, an inner bevel,
// then the face with an optional centred caption. The geometry is kept exact because the
// main window places its board tiles at 2 x BevelWidth + 1 from the board panel's edge,
// and the button array stacks its row strips inside the bevels.
//
// Children are placed with coordinates relative to the panel's outer edge, bevels
// included, as in the class library; InnerRect() is the area inside the bevels, where
// aligned children go.
#pragma once

// Qt
#include <QString>
#include <QWidget>
// own
#include "controls/ControlTypes.h"
#include "controls/SysColors.h"

enum TPanelBevel : quint8 {
    bvNone = 0,
    bvLowered = 1,
    bvRaised = 2,
};

class Panel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int BevelOuter READ BevelOuterValue WRITE SetBevelOuterValue)
    Q_PROPERTY(int BevelInner READ BevelInnerValue WRITE SetBevelInnerValue)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Alignment READ AlignmentValue WRITE SetAlignmentValue)

public:
    // A new panel is 185 x 41 with a raised outer bevel 1 pixel wide, no inner bevel, no
    // border, the button-face colour, window-text caption colour, no caption, centred.
    explicit Panel(QWidget* parent = nullptr);

    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TPanelBevel bevel);
    // At least 1: a bevel of width 0 is bvNone.
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    // At least 0.
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);

    ColorValue Color() const { return m_color; }
    void SetColor(ColorValue color);
    ColorValue FontColor() const { return m_fontColor; }
    void SetFontColor(ColorValue color);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);

    // The area inside the border and both bevels, in the panel's own coordinates.
    QRect InnerRect() const;

    // The colours a bevel draws with: its top and left edges, then its bottom and right.
    static ColorValue BevelTopColor(TPanelBevel bevel);
    static ColorValue BevelBottomColor(TPanelBevel bevel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Called when InnerRect() may have moved (a size, bevel or border change), so that
    // containers can lay out their aligned children again.
    virtual void Realign() { }

private:
    int BevelOuterValue() const { return m_bevelOuter; }
    void SetBevelOuterValue(int v) { SetBevelOuter(TPanelBevel(v)); }
    int BevelInnerValue() const { return m_bevelInner; }
    void SetBevelInnerValue(int v) { SetBevelInner(TPanelBevel(v)); }
    int AlignmentValue() const { return m_alignment; }
    void SetAlignmentValue(int v) { SetAlignment(TAlignment(v)); }

    TPanelBevel m_bevelOuter = bvRaised;
    TPanelBevel m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    ColorValue m_color = SysColors::clBtnFace;
    ColorValue m_fontColor = SysColors::clWindowText;
    QString m_caption;
    TAlignment m_alignment = taCenter;
};
