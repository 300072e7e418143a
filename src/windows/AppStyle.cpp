// SPDX-License-Identifier: MIT
#include "windows/AppStyle.h"

// Qt
#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QToolTip>
#include <QWidget>
// own
#include "controls/SysColors.h"

#include <array>
#include <optional>

namespace {

// An icon of the base style, made on first use. Until then the icon is not null (a button
// that shows it keeps its place) and costs nothing.
class DeferredIconEngine : public QIconEngine
{
public:
    DeferredIconEngine(QStyle* style, QStyle::StandardPixmap which)
        : m_style(style)
        , m_which(which)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    QString key() const override { return QStringLiteral("OrbiloDeferredStandardIcon"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    bool isNull() override { return m_made ? m_icon.isNull() : false; }

private:
    const QIcon& Icon()
    {
        if (!m_made) {
            m_made = true;
            if (m_style)
                m_icon = m_style->standardIcon(m_which);
        }
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    bool m_made = false;
    QIcon m_icon;
};

// The widget classes a platform theme may give palettes of their own, which win over the
// application's palette; the classic scheme covers them too.
constexpr std::array<const char*, 15> ThemedClasses = {
    "QToolButton", "QAbstractButton", "QCheckBox", "QRadioButton", "QHeaderView",
    "QAbstractItemView", "QMessageBoxLabel", "QTabBar", "QLabel", "QGroupBox",
    "QMenu", "QMenuBar", "QTextEdit", "QTextControl", "QLineEdit",
};

struct DesktopColors
{
    QPalette palette;
    std::array<QPalette, ThemedClasses.size()> classes;
    QPalette toolTips;
};

std::optional<DesktopColors> g_desktop;

// A palette that holds every role itself. The palette Qt builds for the desktop resolves
// nothing itself, and set as it is it would stand for Qt's own default colours, not the
// desktop's.
QPalette Whole(QPalette palette)
{
    palette.setResolveMask(~QPalette::ResolveMask(0));
    return palette;
}
bool g_usingDesktop = false;

const DesktopColors& Desktop()
{
    if (!g_desktop) {
        DesktopColors colors;
        colors.palette = Whole(QApplication::palette());
        for (size_t i = 0; i < ThemedClasses.size(); ++i)
            colors.classes[i] = Whole(QApplication::palette(ThemedClasses[i]));
        colors.toolTips = Whole(QToolTip::palette());
        g_desktop = colors;
    }
    return *g_desktop;
}

} // namespace

AppStyle::AppStyle() = default;

QIcon AppStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const
{
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredIconEngine(baseStyle(), which));
    return QProxyStyle::standardIcon(which, option, widget);
}

namespace AppColors {

void SetDesktopPalette(const QPalette& palette)
{
    DesktopColors colors;
    colors.palette = Whole(palette);
    colors.classes.fill(colors.palette);
    colors.toolTips = colors.palette;
    g_desktop = colors;
}

QPalette DesktopPalette()
{
    return Desktop().palette;
}

void Apply(bool useDesktop)
{
    const DesktopColors& desktop = Desktop();
    g_usingDesktop = useDesktop;
    if (useDesktop)
        SysColors::UseDesktopColors(desktop.palette);
    else
        SysColors::UseClassicColors();
    const QPalette classic = SysColors::Palette();
    QApplication::setPalette(useDesktop ? desktop.palette : classic);
    for (size_t i = 0; i < ThemedClasses.size(); ++i) {
        // A class the theme left alone follows the application's palette; giving it one of
        // its own would only freeze it.
        if (desktop.classes[i] != desktop.palette)
            QApplication::setPalette(useDesktop ? desktop.classes[i] : classic, ThemedClasses[i]);
    }
    QToolTip::setPalette(useDesktop ? desktop.toolTips : classic);
    // The painted controls resolve their system colours as they paint.
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets)
        widget->update();
}

bool UsingDesktop()
{
    return g_usingDesktop;
}

} // namespace AppColors
