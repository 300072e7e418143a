// SPDX-License-Identifier: MIT
// A window holding the panel, button array, link label, check-box group and extended edit
// box in the looks the game's windows give them, for looking at them by eye. With a file
// name as argument it renders the window into that PNG and exits instead of showing it.

// Qt
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QLabel>
// own
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "controls/CtrlsEx.h"
#include "controls/NBAry.h"
#include "controls/Panel.h"
#include "controls/URLLink.h"

namespace {

QFont PixelFont(const QString& face, int pixels, bool bold = false, bool italic = false)
{
    QFont font(face);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    const QString face = QStringLiteral("ＭＳ Ｐゴシック");

    Panel window;
    window.setWindowTitle(QStringLiteral("Orbilo components"));
    window.SetBevelOuter(bvNone);
    window.resize(560, 300);

    // The top strip with the link label.
    auto* top = new Panel(&window);
    top->setGeometry(0, 0, 560, 20);
    top->SetColor(SysColors::clSilver);
    top->SetBevelOuter(bvLowered);
    auto* link = new TURLLink(top);
    link->setGeometry(1, 1, 86, 19);
    link->SetCaption(QStringLiteral("Brimwell\u3000"));
    link->setFont(PixelFont(face, 19, true, true));
    link->SetFontColor(SysColors::clAqua);
    link->SetLinkColor(SysColors::clRed);
    link->SetTransparent(true);
    link->SetLink(QStringLiteral("https://example.org/support/"));

    // A board-like panel: lowered outer and raised inner bevels of width 8, tiles at 17.
    auto* board = new Panel(&window);
    board->setGeometry(0, 20, 140, 140);
    board->SetColor(SysColors::clNavy);
    board->SetBevelOuter(bvLowered);
    board->SetBevelInner(bvRaised);
    board->SetBevelWidth(8);
    const ColorValue faces[] = { SysColors::clGreen, SysColors::clRed, SysColors::clYellow };
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) {
            auto* tile = new TBrimBtn(board);
            tile->setGeometry(
                30 * c + 2 * board->BevelWidth() + 1, 30 * r + 2 * board->BevelWidth() + 1, 30, 30);
            tile->SetTopColor(faces[(c + r) % 3]);
            tile->SetOutLineColor(SysColors::clNavy);
            tile->setFont(PixelFont(face, 16));
            tile->SetCaption(QString(QChar(0x7532 + c + 3 * r)));
            tile->SetZSet(c == 1 && r == 1 ? 1 : 0);
        }

    // The side panel: element strip, check-box groups, the edit box.
    auto* side = new Panel(&window);
    side->setGeometry(150, 20, 172, 280);
    side->SetColor(SysColors::clGray);
    side->SetBevelOuter(bvLowered);

    auto* stripHost = new Panel(side);
    stripHost->setGeometry(2, 2, 168, 24);
    auto* gsg = new TNBAry(stripHost);
    gsg->SetColCount(5);
    gsg->SetRowCount(1);
    gsg->setGeometry(1, 1, 166, 22);
    const ColorValue elements[] = { SysColors::clGreen, SysColors::clRed, SysColors::clYellow,
        SysColors::clWhite, SysColors::clBlue };
    for (int c = 0; c < 5; ++c) {
        TBrimBtn* cell = gsg->Buttons(c, 0);
        cell->SetCaption(QString::number(c * 3 + 1));
        cell->SetTopColor(elements[c]);
        cell->SetFontColor(c == 3 ? SysColors::clBlack : SysColors::clWhite);
        cell->SetOutLineColor(SysColors::clNavy);
    }

    auto* cg1 = new TChkGroup(side);
    cg1->setGeometry(2, 40, 168, 30);
    cg1->setFont(PixelFont(face, 12));
    cg1->SetFontColor(SysColors::clWhite);
    cg1->SetColumns(3);
    cg1->SetItems({ QStringLiteral("干"), QStringLiteral("支"), QStringLiteral("九星") });
    cg1->SetBitChk(5);

    auto* silver = new Panel(side);
    silver->setGeometry(2, 76, 168, 68);
    silver->SetBevelOuter(bvNone);
    silver->SetColor(SysColors::clSilver);
    auto* disabled = new TChkGroup(silver);
    disabled->setGeometry(0, 4, 168, 60);
    disabled->setTitle(QStringLiteral("無効"));
    disabled->setFont(PixelFont(face, 12));
    disabled->SetFontColor(SysColors::clWhite);
    disabled->SetColumns(2);
    disabled->SetItems({ "1", "2", "3", "4" });
    disabled->SetBitChk(9);
    disabled->setEnabled(false);

    auto* time = new TEditEx(side);
    time->setGeometry(8, 150, 80, 24);
    time->setFont(PixelFont(face, 16));
    time->SetAlignment(taRightJustify);
    time->SetText(QStringLiteral("30"));
    auto* money = new TEditEx(side);
    money->setGeometry(8, 180, 120, 24);
    money->SetAlignment(taCenter);
    money->SetThousands(true);
    money->SetText(QStringLiteral("1234567"));

    // Bevel samples.
    const struct
    {
        TPanelBevel outer, inner;
        int width;
        const char* text;
    } samples[] = { { bvRaised, bvNone, 1, "raised" }, { bvLowered, bvNone, 1, "lowered" },
        { bvRaised, bvLowered, 2, "raised+lowered 2" }, { bvRaised, bvNone, 2, "Ａ" } };
    for (int i = 0; i < 4; ++i) {
        auto* p = new Panel(&window);
        p->setGeometry(334, 30 + 45 * i, i == 3 ? 30 : 150, i == 3 ? 30 : 36);
        p->SetBevelOuter(samples[i].outer);
        p->SetBevelInner(samples[i].inner);
        p->SetBevelWidth(samples[i].width);
        p->SetCaption(QString::fromUtf8(samples[i].text));
        if (i == 3)
            p->setFont(PixelFont(face, 24));
    }
    Caption(&window, QStringLiteral("board panel (bevel 8)"), 4, 165);

    if (argc > 1) {
        window.show(); // delivers the pending resize events that lay out the array
        QApplication::processEvents();
        link->SetFontColor(link->LinkColor()); // as under the pointer
        QImage image(window.size(), QImage::Format_RGB32);
        window.render(&image);
        return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    }
    window.show();
    return app.exec();
}
