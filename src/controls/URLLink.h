// SPDX-License-Identifier: MIT
// TURLLink: a text label that behaves like a hyperlink. It takes LinkColor while the
// pointer is over it, can show a small frameless window with the link target next to the
// pointer, and on a left press hands the target to the desktop (the browser for a web
// address, the mail program for tpMAIL). The main window's label and the about box's label
// are both TURLLinks; the main window's menu opens the link through MouseDown.
#pragma once

// Qt
#include <QFont>
#include <QLabel>
#include <QString>
// own
#include "controls/SysColors.h"

#include <functional>

class QPixmap;

enum TURLtype : quint8 {
    tpURL = 0, // Link is the whole target
    tpMAIL = 1, // Link is a mail address; the target is "mailto:" + Link
};

class TURLLink : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(int URLType READ URLTypeValue WRITE SetURLTypeValue)
    Q_PROPERTY(QString Link READ Link WRITE SetLink)
    Q_PROPERTY(QFont HintFormFont READ HintFormFont WRITE SetHintFormFont)
    Q_PROPERTY(quint32 HintFormFontColor READ HintFormFontColor WRITE SetHintFormFontColor)
    Q_PROPERTY(bool EnableShowHint READ EnableShowHint WRITE SetEnableShowHint)
    Q_PROPERTY(quint32 HintFormColor READ HintFormColor WRITE SetHintFormColor)
    Q_PROPERTY(int HintOffsetX READ HintOffsetX WRITE SetHintOffsetX)
    Q_PROPERTY(int HintOffsetY READ HintOffsetY WRITE SetHintOffsetY)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(quint32 LinkColor READ LinkColor WRITE SetLinkColor)

public:
    // What opens a target. The default hands it to QDesktopServices; tests replace it so
    // that nothing is launched. SetOpener(nullptr) restores the default.
    using Opener = std::function<void(const QString& target)>;
    static void SetOpener(Opener opener);
    static void OpenWithDesktop(const QString& target);

    // A new label: tpURL, Link "http://", blue text turning red under the pointer, hand
    // cursor, the hint window enabled (info-background colour, offsets 15, 15).
    explicit TURLLink(QWidget* parent = nullptr);
    ~TURLLink() override;

    TURLtype URLType() const { return m_urlType; }
    void SetURLType(TURLtype type);
    QString Link() const { return m_link; }
    void SetLink(const QString& link);
    // The target handed to the opener: Link, with "mailto:" before it for tpMAIL.
    QString Target() const;

    QFont HintFormFont() const { return m_hintFont; }
    void SetHintFormFont(const QFont& font);
    ColorValue HintFormFontColor() const { return m_hintFontColor; }
    void SetHintFormFontColor(ColorValue color);
    bool EnableShowHint() const { return m_enableShowHint; }
    void SetEnableShowHint(bool enable);
    ColorValue HintFormColor() const { return m_hintFormColor; }
    void SetHintFormColor(ColorValue color);
    int HintOffsetX() const { return m_hintOffsetX; }
    void SetHintOffsetX(int offset);
    int HintOffsetY() const { return m_hintOffsetY; }
    void SetHintOffsetY(int offset);

    // Without Transparent the label fills its rectangle with Color first; Color
    // SysColors::NoColor (the default) means the parent's colour.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    ColorValue Color() const { return m_color; }
    void SetColor(ColorValue color);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    ColorValue FontColor() const { return m_fontColor; }
    void SetFontColor(ColorValue color);
    ColorValue LinkColor() const { return m_linkColor; }
    void SetLinkColor(ColorValue color);

    // A press of any button (0 left, 1 right, 2 middle) with the shift-state set, at x, y.
    // A left press opens the target and hides the hint window. Other code may call it: the
    // main window's menu delivers a left press at (0, 0).
    virtual void MouseDown(int button, int shift, int x, int y);

    // The hint window (owned by the label, top-level, hidden until the pointer moves over
    // the label) and whether it is showing.
    QWidget* HintWindow() const;
    bool HintShowing() const { return m_hintShowing; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Hidden itself or with its window: the pointer is no longer over it.
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    class HintForm;

    int URLTypeValue() const { return m_urlType; }
    void SetURLTypeValue(int v) { SetURLType(TURLtype(v)); }
    void ApplyFontColor();
    void ShowHintWindow();
    void HideHintWindow();
    void PointerGone();

    HintForm* m_hintForm; // owned; top-level, so not a child of the label
    bool m_hintShowing = false;
    TURLtype m_urlType = tpURL;
    QString m_link = QStringLiteral("http://");
    ColorValue m_savedColor = SysColors::clBlue;
    bool m_pointerInside = false;
    ColorValue m_linkColor = SysColors::clRed;
    ColorValue m_hintFormColor = SysColors::clInfoBk;
    int m_hintOffsetX = 15;
    int m_hintOffsetY = 15;
    bool m_enableShowHint = true;
    QFont m_hintFont;
    ColorValue m_hintFontColor = SysColors::clWindowText;
    bool m_transparent = false;
    ColorValue m_color = SysColors::NoColor;
    ColorValue m_fontColor = SysColors::clBlue;
};
