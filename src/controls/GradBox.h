// SPDX-License-Identifier: MIT
// TGradBox: a windowless box that fills its rectangle with a 256-band two-colour gradient,
// can draw a rounded outline, and draws a word-wrapped caption, plain, shadowed or
// extruded ("3D"). The main window uses three of them as painted backgrounds (behind the
// command buttons, behind the board, the strip along the top); the about box shows the
// application title in one.
//
// It takes no focus, fills no background of its own and paints straight onto its parent's
// surface, so with gsNone the parent shows through. Setters ignore the value already held
// and otherwise repaint, except where a value is not visible at the moment: OutLineColor
// while DrawOutLine is off, BackFont and FontDepth while Font3D is off.
//
// QFont carries no colour, so the caption colour is the FontColor property (window text by
// default); it repaints like a font change.
#pragma once

// Qt
#include <QString>
#include <QWidget>
// own
#include "controls/Canvas.h"
#include "controls/ControlTypes.h"
#include "controls/GradPaint.h"
#include "controls/SysColors.h"

class TGradBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int CaptionLeft READ CaptionLeft WRITE SetCaptionLeft)
    Q_PROPERTY(int CaptionTop READ CaptionTop WRITE SetCaptionTop)
    Q_PROPERTY(quint32 TopColor READ TopColor WRITE SetTopColor)
    Q_PROPERTY(quint32 LastColor READ LastColor WRITE SetLastColor)
    Q_PROPERTY(quint32 OutLineColor READ OutLineColor WRITE SetOutLineColor)
    Q_PROPERTY(bool DrawOutLine READ DrawOutLine WRITE SetDrawOutLine)
    Q_PROPERTY(ControlTypes::TGradStyle GradStyle READ GradStyle WRITE SetGradStyle)
    Q_PROPERTY(bool Font3D READ Font3D WRITE SetFont3D)
    Q_PROPERTY(int FontDepth READ FontDepth WRITE SetFontDepth)
    Q_PROPERTY(ControlTypes::TFontStyle3D Style3D READ Style3D WRITE SetStyle3D)
    Q_PROPERTY(quint32 BackFont READ BackFont WRITE SetBackFont)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(bool DesignMode READ DesignMode WRITE SetDesignMode)

public:
    static constexpr int Steps = GradPaint::MaxSteps;

    explicit TGradBox(QWidget* parent = nullptr);

    int CaptionLeft() const { return m_captionLeft; }
    void SetCaptionLeft(int value);
    int CaptionTop() const { return m_captionTop; }
    void SetCaptionTop(int value);
    ColorValue TopColor() const { return m_topColor; }
    void SetTopColor(ColorValue value);
    ColorValue LastColor() const { return m_lastColor; }
    void SetLastColor(ColorValue value);
    ColorValue OutLineColor() const { return m_outLineColor; }
    void SetOutLineColor(ColorValue value);
    bool DrawOutLine() const { return m_drawOutLine; }
    void SetDrawOutLine(bool value);
    TGradStyle GradStyle() const { return m_gradStyle; }
    void SetGradStyle(TGradStyle value);
    bool Font3D() const { return m_font3D; }
    void SetFont3D(bool value);
    // 0..255; values outside are clamped.
    int FontDepth() const { return m_fontDepth; }
    void SetFontDepth(int value);
    TFontStyle3D Style3D() const { return m_style3D; }
    void SetStyle3D(TFontStyle3D value);
    ColorValue BackFont() const { return m_backFont; }
    void SetBackFont(ColorValue value);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    ColorValue FontColor() const { return m_fontColor; }
    void SetFontColor(ColorValue value);
    // Design time: the outline is always drawn, dashed.
    bool DesignMode() const { return m_designMode; }
    void SetDesignMode(bool value);

    // The control's own Enabled setting (a disabled parent does not emboss the caption).
    bool OwnEnabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

signals:
    // Raised last in every paint.
    void Painted(TGradBox* sender);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintCaption();
    void DrawCaptionAt(int dx, int dy, ColorValue color);

    int m_captionLeft = 10;
    int m_captionTop = 10;
    ColorValue m_backFont = SysColors::clYellow;
    ColorValue m_topColor = SysColors::clGreen;
    ColorValue m_lastColor = SysColors::clLime;
    ColorValue m_outLineColor = SysColors::clBlack;
    bool m_font3D = false;
    bool m_drawOutLine = false;
    quint8 m_fontDepth = 1;
    TFontStyle3D m_style3D = fsRaise3D;
    TGradStyle m_gradStyle = gsTopBottom;
    QString m_caption;
    ColorValue m_fontColor = SysColors::clWindowText;
    bool m_designMode = false;
    GradPaint::Face m_face;
    Canvas m_canvas;
};
