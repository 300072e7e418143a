// SPDX-License-Identifier: MIT
// TBrimBtn: a windowless push button with a gradient face. It is the board tile (120 of
// them, 30 x 30), the cell of the element strip's button array and the three command
// buttons. The face is a gradient of ColorCnt steps from TopColor to an end colour, with a
// square or rounded outline, a caption aligned left, right or centre, and an optional set
// mark drawn over the face in the font colour (ZSet 1 circle, 2 cross, 3 diamond,
// 4 square, 5 triangle, 6 double circle).
//
// Look by state:
//   untouched (from construction until the pointer first enters, leaves or presses):
//     the end colour follows EndColor and the font colour the program sets, and every
//     paint records that font colour as the "normal" one;
//   hovered (pointer entered while ChangeColor is on): end colour RevColor, font colour
//     FontRevColor, pointing-hand cursor;
//   normal (after a leave or a press): EndColor as it was then, the normal font colour,
//     default cursor.
// Entering and leaving do not repaint by themselves; the font colour change does, when
// there is one. A press repaints at once, after the MouseDown handlers have run (they
// still see the hovered look), so the player sees the press before any dialog it opens.
//
// Every setter ignores the value already held, so the board can be synced from the game
// model on every change without repainting unchanged tiles. Repaints follow a change of
// everything that shows, except OutLineColor while DrawOutLine is off; ChangeColor,
// OutLineRound, Tag and Colors[i] repaint never.
#pragma once

// Qt
#include <QString>
#include <QWidget>
// own
#include "controls/Canvas.h"
#include "controls/ControlTypes.h"
#include "controls/GradPaint.h"
#include "controls/SysColors.h"

#include <array>

class QEnterEvent;
class QMouseEvent;

class TBrimBtn : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int ColorCnt READ ColorCnt WRITE SetColorCnt)
    Q_PROPERTY(int CaptionLeft READ CaptionLeft WRITE SetCaptionLeft)
    Q_PROPERTY(int CaptionTop READ CaptionTop WRITE SetCaptionTop)
    Q_PROPERTY(quint32 TopColor READ TopColor WRITE SetTopColor)
    Q_PROPERTY(quint32 OutLineColor READ OutLineColor WRITE SetOutLineColor)
    Q_PROPERTY(bool DrawOutLine READ DrawOutLine WRITE SetDrawOutLine)
    Q_PROPERTY(ControlTypes::TGradStyle GradStyle READ GradStyle WRITE SetGradStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ZSet READ ZSet WRITE SetZSet)
    Q_PROPERTY(bool ChangeColor READ ChangeColor WRITE SetChangeColor)
    Q_PROPERTY(bool OutLineRound READ OutLineRound WRITE SetOutLineRound)
    Q_PROPERTY(ControlTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(quint32 RevColor READ RevColor WRITE SetRevColor)
    Q_PROPERTY(quint32 FontRevColor READ FontRevColor WRITE SetFontRevColor)
    Q_PROPERTY(quint32 EndColor READ EndColor WRITE SetEndColor)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Col READ Col WRITE SetCol)
    Q_PROPERTY(int Row READ Row WRITE SetRow)
    Q_PROPERTY(int ColorIndex READ ColorIndex WRITE SetColorIndex)
    Q_PROPERTY(bool DesignMode READ DesignMode WRITE SetDesignMode)

public:
    static constexpr int ColorsCount = 5;

    explicit TBrimBtn(QWidget* parent = nullptr);

    // Gradient steps, 1..255 (values outside are clamped). A paint that finds TopColor
    // equal to the current end colour sets it to 1, and it stays 1 until set again.
    int ColorCnt() const { return m_colorCnt; }
    void SetColorCnt(int value);
    // Stored and repainted, but the caption never uses it.
    int CaptionLeft() const { return m_captionLeft; }
    void SetCaptionLeft(int value);
    // Caption top for left and right alignment.
    int CaptionTop() const { return m_captionTop; }
    void SetCaptionTop(int value);
    ColorValue TopColor() const { return m_topColor; }
    void SetTopColor(ColorValue value);
    ColorValue OutLineColor() const { return m_outLineColor; }
    void SetOutLineColor(ColorValue value);
    bool DrawOutLine() const { return m_drawOutLine; }
    void SetDrawOutLine(bool value);
    TGradStyle GradStyle() const { return m_gradStyle; }
    void SetGradStyle(TGradStyle value);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    // Whether a caption change tells a screen reader that the button's name changed (on from
    // construction). An owner that names its buttons from more than their captions (the
    // board's tiles) turns it off and tells of the changes of those names itself.
    bool CaptionNameEvents() const { return m_captionNameEvents; }
    void SetCaptionNameEvents(bool on) { m_captionNameEvents = on; }
    // Set mark 0..6; any other value draws none.
    int ZSet() const { return m_zSet; }
    void SetZSet(int value);
    bool ChangeColor() const { return m_changeColor; }
    void SetChangeColor(bool value) { m_changeColor = value; }
    // Rounded outline (corner 10) and rounded bands.
    bool OutLineRound() const { return m_outLineRound; }
    void SetOutLineRound(bool value) { m_outLineRound = value; }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    ColorValue RevColor() const { return m_revColor; }
    void SetRevColor(ColorValue value);
    ColorValue FontRevColor() const { return m_fontRevColor; }
    void SetFontRevColor(ColorValue value);
    ColorValue EndColor() const { return m_endColor; }
    void SetEndColor(ColorValue value);
    // Caption and set-mark colour (QFont has none); white after construction.
    ColorValue FontColor() const { return m_fontColor; }
    void SetFontColor(ColorValue value);
    int Tag() const { return m_tag; }
    void SetTag(int value) { m_tag = value; }
    // Place in a button array.
    int Col() const { return m_col; }
    void SetCol(int value);
    int Row() const { return m_row; }
    void SetRow(int value);
    // 0..4: every paint resets TopColor to Colors(ColorIndex). 5 and above, or negative:
    // TopColor is left alone.
    int ColorIndex() const { return m_colorIndex; }
    void SetColorIndex(int value);
    // Preset start colours 0..4 (white); setting one does not repaint. Out-of-range
    // indexes read as white and are ignored when set.
    ColorValue Colors(int index) const;
    void SetColors(int index, ColorValue value);
    // Design time: the outline is always drawn, dashed.
    bool DesignMode() const { return m_designMode; }
    void SetDesignMode(bool value);

    // State machine, for callers that need to know what the next paint will show.
    ColorValue CurrentEndColor() const { return m_currentEndColor; }
    ColorValue NormalFontColor() const { return m_normalFontColor; }
    bool Untouched() const { return m_untouched; }

signals:
    // Any of the three mouse buttons pressed on the button (button 0 left, 1 right,
    // 2 middle; shift bits as in ShiftState.h, 64 on the second press of a double click;
    // x, y in the button's own pixels). Raised before the button's own reaction.
    void MouseDown(TBrimBtn* sender, int button, int shift, int x, int y);
    // A left press and release over the button. A double click is one click: the second
    // press raises DoubleClicked and then MouseDown with the double flag, and its release
    // no click.
    void Clicked(TBrimBtn* sender);
    void DoubleClicked(TBrimBtn* sender);
    void MouseEnter(TBrimBtn* sender);
    void MouseLeave(TBrimBtn* sender);
    // Raised last in every paint.
    void Painted(TBrimBtn* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void HandlePress(QMouseEvent* event, bool doubleClick);
    void PaintFace();
    void PaintCaption();
    void PaintMark();

    int m_colorCnt = 20;
    int m_captionLeft = 5;
    int m_captionTop = 5;
    ColorValue m_topColor = SysColors::clLime;
    ColorValue m_currentEndColor = SysColors::clBlack;
    ColorValue m_outLineColor = SysColors::clBlack;
    bool m_drawOutLine = true;
    TGradStyle m_gradStyle = gsTopBottom;
    bool m_untouched = true;
    int m_zSet = 0;
    bool m_captionNameEvents = true;
    bool m_changeColor = true;
    ColorValue m_revColor = SysColors::clWhite;
    ColorValue m_fontRevColor = SysColors::clBlack;
    ColorValue m_endColor = SysColors::clBlack;
    ColorValue m_fontColor = SysColors::clWhite;
    ColorValue m_normalFontColor = SysColors::clWhite;
    bool m_outLineRound = false;
    TAlignment m_alignment = taCenter;
    int m_col = 0;
    int m_row = 0;
    int m_colorIndex = 9;
    std::array<ColorValue, ColorsCount> m_colors {
        SysColors::clWhite, SysColors::clWhite, SysColors::clWhite, SysColors::clWhite, SysColors::clWhite
    };
    QString m_caption;
    int m_tag = 0;
    bool m_designMode = false;
    bool m_leftPressed = false;
    GradPaint::Face m_face;
    Canvas m_canvas;
};
