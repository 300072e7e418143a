// SPDX-License-Identifier: MIT
// Every text of every window stands out from what is behind it, on a dark desktop, in the
// classic colours and in the desktop's. Measured from pixels: each window is rendered as it
// is and again with every text made invisible; the pixels that differ are the texts, one
// text to each cluster of them. A text's colour is that of its pixel that stands out most
// from what it covers, and its contrast the median, over the rest of its bounding box, of
// the contrast between that colour and the pixel behind.

#include "../core/GameTestSupport.h"

#include "windows/About.h"
#include "windows/AppStyle.h"
#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "windows/FontDialog.h"
#include "controls/GradBox.h"
#include "windows/HelpViewer.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "windows/Name.h"
#include "controls/Panel.h"
#include "windows/Rank.h"
#include "platform/Registry.h"
#include "windows/Setu.h"
#include "controls/StringGrid.h"
#include "controls/SysColors.h"
#include "controls/URLLink.h"

// Qt
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTest>
#include <QToolTip>

// GoogleTest
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr double MinimumContrast = 4.5;
constexpr int MinimumGlyphHeight = 6;

double Luminance(QRgb c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A desktop in a dark theme: light text on dark faces, a blue selection.
QPalette DarkDesktop()
{
    QPalette p(QColor(0xE8, 0xE8, 0xE8), QColor(0x3A, 0x3A, 0x3D), QColor(0x5A, 0x5A, 0x5E),
               QColor(0x20, 0x20, 0x22), QColor(0x2C, 0x2C, 0x2E), QColor(0xF0, 0xF0, 0xF0),
               QColor(Qt::white), QColor(0x26, 0x26, 0x28), QColor(0x32, 0x32, 0x35));
    p.setColor(QPalette::All, QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
    p.setColor(QPalette::All, QPalette::Midlight, QColor(0x48, 0x48, 0x4C));
    p.setColor(QPalette::All, QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    p.setColor(QPalette::All, QPalette::Highlight, QColor(0x21, 0x5D, 0x9C));
    p.setColor(QPalette::All, QPalette::HighlightedText, QColor(Qt::white));
    p.setColor(QPalette::All, QPalette::ToolTipBase, QColor(0x20, 0x20, 0x22));
    p.setColor(QPalette::All, QPalette::ToolTipText, QColor(0xF0, 0xF0, 0xF0));
    p.setColor(QPalette::All, QPalette::Link, QColor(0x7A, 0xB8, 0xFF));
    p.setColor(QPalette::All, QPalette::LinkVisited, QColor(0xC0, 0x9A, 0xFF));
    p.setColor(QPalette::All, QPalette::AlternateBase, QColor(0x2E, 0x2E, 0x30));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x90, 0x90, 0x90));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x90, 0x90, 0x90));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x90, 0x90, 0x90));
    return p;
}

// Makes every text of a window invisible while it lives, without moving anything: the
// standard widgets draw their texts in transparent ink, the painted controls lose their
// captions, the grids their cells.
class TextHider
{
public:
    explicit TextHider(QWidget& window)
    {
        QList<QWidget*> widgets = window.findChildren<QWidget*>();
        widgets.prepend(&window);
        // Every palette as it is, before a window's ink reaches its children.
        QList<QPalette> palettes;
        for (QWidget* w : widgets)
            palettes << w->palette();
        for (qsizetype i = 0; i < widgets.size(); ++i)
            Hide(widgets[i], palettes[i]);
    }
    ~TextHider()
    {
        for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
            (*it)();
    }
    TextHider(const TextHider&) = delete;
    TextHider& operator=(const TextHider&) = delete;

private:
    void Hide(QWidget* w, const QPalette& saved)
    {
        // A disabled control is not read, and its grey is meant to recede; the arrows of a
        // scroll bar are no text.
        // Nor are the lines of a plain frame. (They keep their own palette, or they would
        // inherit the invisible ink of their window.)
        const bool explicitPalette = w->testAttribute(Qt::WA_SetPalette);
        const bool keep = !w->isEnabled() || qobject_cast<QScrollBar*>(w)
            || QByteArray(w->metaObject()->className()) == "QFrame";
        // A grid paints its cells in colours of its own; the only ink its palette gives is
        // its frame's line.
        const bool keepInk = keep || qobject_cast<TStringGrid*>(w);
        QPalette ink = saved;
        for (const QPalette::ColorRole role :
             { QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText,
               QPalette::BrightText, QPalette::ToolTipText, QPalette::PlaceholderText, QPalette::Link,
               QPalette::LinkVisited })
            for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
                ink.setColor(group, role, keepInk ? saved.color(group, role) : QColor(Qt::transparent));
        w->setPalette(ink);
        QPointer<QWidget> guard(w);
        m_undo.push_back([guard, saved, explicitPalette] {
            if (guard)
                guard->setPalette(explicitPalette ? saved : QPalette());
        });

        if (keep)
            return;
        if (auto* b = qobject_cast<TBrimBtn*>(w))
            Swap(b, b->Caption(), [b](const QString& s) { b->SetCaption(s); });
        else if (auto* g = qobject_cast<TGradBox*>(w))
            Swap(g, g->Caption(), [g](const QString& s) { g->SetCaption(s); });
        else if (auto* p = qobject_cast<Panel*>(w))
            Swap(p, p->Caption(), [p](const QString& s) { p->SetCaption(s); });
        else if (auto* l = qobject_cast<TURLLink*>(w))
            Swap(l, l->Caption(), [l](const QString& s) { l->SetCaption(s); });
        else if (auto* c = qobject_cast<TChkGroup*>(w))
            Swap(c, c->title(), [c](const QString& s) { c->setTitle(s); });
        else if (auto* grid = qobject_cast<TStringGrid*>(w))
            HideCells(grid);
        else if (auto* text = qobject_cast<QTextBrowser*>(w))
            HideDocument(text->document());
    }

    // A document's own colours (a style sheet's) win over the palette: its characters take
    // the invisible ink, in one step that is taken back afterwards.
    void HideDocument(QTextDocument* document)
    {
        const bool undo = document->isUndoRedoEnabled();
        document->setUndoRedoEnabled(true);
        QTextCursor cursor(document);
        cursor.select(QTextCursor::Document);
        QTextCharFormat ink;
        ink.setForeground(Qt::transparent);
        cursor.mergeCharFormat(ink);
        QPointer<QTextDocument> guard(document);
        m_undo.push_back([guard, undo] {
            if (!guard)
                return;
            guard->undo();
            guard->setUndoRedoEnabled(undo);
        });
    }

    void Swap(QWidget* w, const QString& text, std::function<void(const QString&)> set)
    {
        set(QString());
        QPointer<QWidget> guard(w);
        m_undo.push_back([guard, text, set] {
            if (guard)
                set(text);
        });
    }

    void HideCells(TStringGrid* grid)
    {
        TextGrid* cells = grid->Grid();
        if (!cells)
            return;
        for (int row = 0; row < cells->RowCount(); ++row)
            for (int col = 0; col < cells->ColCount(); ++col) {
                const QString text = cells->Cell(col, row);
                if (text.isEmpty())
                    continue;
                cells->SetCell(col, row, QString());
                QPointer<TextGrid> guard(cells);
                m_undo.push_back([guard, col, row, text] {
                    if (guard)
                        guard->SetCell(col, row, text);
                });
            }
    }

    std::vector<std::function<void()>> m_undo;
};

QImage Render(QWidget& window)
{
    QImage image(window.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    window.render(&image);
    return image;
}

struct Text
{
    QRect box;
    QRgb ink;
    double contrast;
    QString where;
};

// The texts of a window: clusters of pixels that differ once the texts are hidden. Pixels
// a few apart belong to one text, so a word is one cluster and its glyphs' gaps do not split
// it. A cluster lower than a glyph (a combo box's arrow) is no text. The ink is the colour of
// the text's solid pixels: among its pixels, the one that stands out most from what it
// covers; the edges that antialiasing blends into the background stand out less.
std::vector<Text> MeasureTexts(QWidget& window)
{
    QCoreApplication::processEvents();
    const QImage shown = Render(window);
    QImage hidden;
    {
        TextHider hider(window);
        QCoreApplication::processEvents();
        hidden = Render(window);
    }
    QCoreApplication::processEvents();

    const int w = shown.width();
    const int h = shown.height();
    std::vector<char> ink(size_t(w * h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ink[size_t(y * w + x)] = shown.pixel(x, y) != hidden.pixel(x, y);

    std::vector<Text> texts;
    std::vector<char> seen(ink.size(), 0);
    for (int start = 0; start < w * h; ++start) {
        if (!ink[size_t(start)] || seen[size_t(start)])
            continue;
        std::vector<int> cluster { start };
        seen[size_t(start)] = 1;
        for (size_t i = 0; i < cluster.size(); ++i) {
            const int px = cluster[i] % w;
            const int py = cluster[i] / w;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const int x = px + dx;
                    const int y = py + dy;
                    if (x < 0 || y < 0 || x >= w || y >= h)
                        continue;
                    const size_t at = size_t(y * w + x);
                    if (ink[at] && !seen[at]) {
                        seen[at] = 1;
                        cluster.push_back(int(at));
                    }
                }
        }
        QRect box;
        for (int at : cluster)
            box |= QRect(at % w, at / w, 1, 1);
        if (box.height() < MinimumGlyphHeight)
            continue;
        QRgb inkColor = 0;
        double most = 0;
        for (int at : cluster) {
            const QRgb c = shown.pixel(at % w, at / w);
            const double stands = Contrast(c, hidden.pixel(at % w, at / w));
            if (stands > most) {
                most = stands;
                inkColor = c;
            }
        }
        std::vector<double> ratios;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (!ink[size_t(y * w + x)])
                    ratios.push_back(Contrast(inkColor, hidden.pixel(x, y)));
        if (ratios.empty()) // a text that fills its box: measure against what it covers
            for (int at : cluster)
                ratios.push_back(Contrast(inkColor, hidden.pixel(at % w, at / w)));
        std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
        QWidget* under = window.childAt(box.center());
        const QString where = QStringLiteral("%1 at %2,%3 %4x%5 in %6")
                                  .arg(under ? QString::fromLatin1(under->metaObject()->className()) + QLatin1Char(' ')
                                                   + under->objectName()
                                             : QStringLiteral("-"))
                                  .arg(box.x())
                                  .arg(box.y())
                                  .arg(box.width())
                                  .arg(box.height())
                                  .arg(window.windowTitle());
        texts.push_back({ box, inkColor, ratios[ratios.size() / 2], where });
    }
    return texts;
}

// Each window is measured in the classic colours and in the desktop's (a dark desktop). In
// the desktop's, a text whose colours they change must read at 4.5:1. A text that they do
// not change is one the window layouts colour themselves (white on the side panel's gray,
// blue on the top strip's gradient, white on the tiles' element colours): the program looks
// the same there on every desktop, as designed, some of it below 4.5:1. The classic colours
// are that design throughout (the move log's black and white strokes on its gray among it).
// Such texts must not fall below the weakest of them.
class ContrastTest : public ::testing::Test
{
protected:
    static constexpr double FixedMinimum = 2.5;

    ContrastTest()
        : m_palette(QApplication::palette())
        , m_toolTips(QToolTip::palette())
    {
        Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg"));
        AppColors::SetDesktopPalette(DarkDesktop());
    }
    ~ContrastTest() override
    {
        SysColors::UseClassicColors();
        QApplication::setPalette(m_palette);
        QToolTip::setPalette(m_toolTips);
        Registry::SetUserFileOverride(QString());
    }

    // Measures the window's texts in both colour schemes; returns how many texts the
    // desktop's showed, so that a test can tell a window measured from one that showed
    // nothing.
    int Check(QWidget& window, const char* state = "")
    {
        window.show();
        QTest::qWait(20);
        std::vector<Text> texts[2];
        QImage shown[2];
        for (const bool desktop : { false, true }) {
            AppColors::Apply(desktop);
            QTest::qWait(10);
            texts[desktop] = MeasureTexts(window);
            shown[desktop] = Render(window);
        }
        AppColors::Apply(false);
        for (const bool desktop : { false, true })
            for (const Text& t : texts[desktop]) {
                const bool fixed = !desktop || shown[0].copy(t.box) == shown[1].copy(t.box);
                EXPECT_GE(t.contrast, fixed ? FixedMinimum : MinimumContrast)
                    << (desktop ? "desktop colours, " : "classic colours, ") << state << " "
                    << t.where.toStdString() << (fixed ? " (fixed colours)" : "") << " ink #" << std::hex
                    << (t.ink & 0xFFFFFF) << std::dec << " contrast " << t.contrast;
            }
        return int(texts[1].size());
    }

    QTemporaryDir dir;
    QPalette m_palette;
    QPalette m_toolTips;
};

TEST_F(ContrastTest, EveryWindowReadsOnADarkDesktop)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    // The ten stems, every element twice, on the bottom rows.
    const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸甲乙");
    std::array<QString, Game::TileCount> captions;
    std::array<bool, Game::TileCount> visible {};
    for (int i = 0; i < stems.size(); ++i) {
        const int tile = Game::TileNumber(i % 4, 7 + i / 4) - 1;
        captions[size_t(tile)] = stems.at(i);
        visible[size_t(tile)] = true;
    }
    Game& game = main.Session().GameForTest();
    game.SetBoardForTest(captions, visible);
    EXPECT_GT(Check(main, "dealt"), 20);
    // The bottom left pair removed: a row of the move log that is no longer the current one.
    game.Pick(Game::TileNumber(0, 9), PickMode::Remove);
    game.Pick(Game::TileNumber(1, 9), PickMode::Remove);
    ASSERT_EQ(game.Remaining(), 10);
    // 甲 and 乙 at the bottom left picked with the right button: two selected tiles and a
    // row in the move log.
    game.Pick(Game::TileNumber(0, 9), PickMode::Hold);
    game.Pick(Game::TileNumber(1, 9), PickMode::Hold);
    EXPECT_EQ(game.Selection().size(), 2);
    EXPECT_GT(Check(main, "pair picked"), 20);
    main.RGC()->button(1)->click();
    EXPECT_GT(Check(main, "uncoloured"), 20);

    TSetuF& setu = windows.Setu();
    setu.DefBtnClick(); // the score tables as a fresh copy writes them
    for (int tab = 0; tab < setu.PageControl1()->count(); ++tab) {
        setu.PageControl1()->setCurrentIndex(tab);
        EXPECT_GT(Check(setu, "options tab"), tab == 0 ? 10 : 20) << "tab " << tab;
    }
    setu.hide();
    EXPECT_GT(Check(windows.About()), 1);
    windows.About().hide();
    EXPECT_GT(Check(windows.Rank()), 5);
    windows.Rank().hide();
    EXPECT_GT(Check(windows.Name()), 1);
    windows.Name().hide();

    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("OrbiloVer1.10"), QStringLiteral("もう、消せないですぅ"),
                    QMessageBox::Ok, &main);
    EXPECT_GT(Check(box), 1);
    box.hide();

    FontDialog fonts(&main);
    fonts.SetColor(setu.BoardFontColor());
    EXPECT_GT(Check(fonts), 5);
    fonts.hide();

    ShowHelp(&main, Help::Contents);
    ASSERT_NE(HelpViewer::Current(), nullptr);
    EXPECT_GT(Check(*HelpViewer::Current()), 5);
    HelpViewer::Current()->close();
}

// On a light desktop the move log's rows go light under the dark window text, and its
// current row, in the white highlight text, takes the desktop's selection colour (which
// reads as well there as in the desktop's own lists: a blue of Windows' accent here).
TEST_F(ContrastTest, TheMoveLogReadsOnALightDesktop)
{
    QPalette light(QColor(0x20, 0x20, 0x20), QColor(0xEF, 0xEF, 0xEF), QColor(Qt::white), QColor(0x9F, 0x9F, 0x9F),
        QColor(0xB8, 0xB8, 0xB8), QColor(0x20, 0x20, 0x20), QColor(Qt::black), QColor(Qt::white),
        QColor(0xEF, 0xEF, 0xEF));
    light.setColor(QPalette::All, QPalette::Highlight, QColor(0x00, 0x63, 0xB1));
    light.setColor(QPalette::All, QPalette::HighlightedText, QColor(Qt::white));
    AppColors::SetDesktopPalette(light);
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    LayBoard(main.Session().GameForTest(), { "甲乙丙丁", "戊己庚辛", "壬癸甲乙" });
    main.Session().Pick(Game::TileNumber(0, 9), PickMode::Remove);
    main.Session().Pick(Game::TileNumber(1, 9), PickMode::Remove);
    main.Session().Pick(Game::TileNumber(0, 9), PickMode::Hold);
    ASSERT_EQ(main.Session().State().Remaining(), 10);
    EXPECT_GT(Check(main, "light desktop, a move and a pick"), 20);
}

} // namespace
