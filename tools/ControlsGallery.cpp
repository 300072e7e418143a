// SPDX-License-Identifier: MIT
// orbilo_gallery: one window showing the painted controls side by side, for looking at
// them by eye and for screenshots. Each control set fills a titled section of its own,
// placing its samples at fixed positions as the windows do; to show another control,
// write a function that fills a section and call it from main().
//
//   orbilo_gallery                 shows the window; mouse-down events go to the status line
//   orbilo_gallery --shot FILE     renders it offscreen to FILE (PNG) with one tile hovered
//                                  and one pressed, then exits

// Qt
#include <QApplication>
#include <QCommandLineParser>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QVBoxLayout>
// own
#include "controls/BrimBtn.h"
#include "controls/GradBox.h"
#include "controls/SysColors.h"

namespace {

class Gallery : public QWidget
{
public:
    Gallery()
    {
        setWindowTitle(QStringLiteral("Orbilo controls"));
        m_layout = new QVBoxLayout(this);
        m_layout->setSpacing(4);
        m_status = new QLabel(QStringLiteral(" "), this);
        m_layout->addWidget(m_status);
    }

    // A titled area of the given size; children are placed with absolute geometry.
    QWidget* AddSection(const QString& title, QSize size)
    {
        auto* label = new QLabel(title, this);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        m_layout->insertWidget(m_layout->count() - 1, label);
        auto* area = new QWidget(this);
        area->setFixedSize(size);
        area->setAutoFillBackground(true);
        m_layout->insertWidget(m_layout->count() - 1, area);
        return area;
    }

    void SetStatus(const QString& text) { m_status->setText(text); }

private:
    QVBoxLayout* m_layout = nullptr;
    QLabel* m_status = nullptr;
};

QFont PixelFont(int pixels, bool bold = false, bool italic = false)
{
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

TGradBox* Box(QWidget* parent, QRect geometry, TGradStyle style, const QString& caption)
{
    auto* box = new TGradBox(parent);
    box->setGeometry(geometry);
    box->SetGradStyle(style);
    box->SetCaption(caption);
    box->setFont(PixelFont(13));
    return box;
}

void AddGradBoxes(Gallery& gallery)
{
    QWidget* area = gallery.AddSection(QStringLiteral("TGradBox: styles, outline, 3D captions, disabled"), QSize(640, 250));
    const TGradStyle styles[] = { gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft, gsNone };
    const char* names[] = { "gsTopBottom", "gsBottomTop", "gsLeftRight", "gsRightLeft", "gsNone + outline" };
    for (int i = 0; i < 5; ++i) {
        TGradBox* box = Box(area, QRect(10 + i * 125, 5, 115, 60), styles[i], QString::fromLatin1(names[i]));
        box->SetTopColor(SysColors::clNavy);
        box->SetLastColor(SysColors::clAqua);
        box->SetFontColor(SysColors::clWhite);
        box->SetCaptionLeft(6);
        if (styles[i] == gsNone) {
            box->SetDrawOutLine(true);
            box->SetOutLineColor(SysColors::clRed);
            box->SetFontColor(SysColors::clBlack);
        }
    }

    const TFontStyle3D kinds[] = { fsLowShadow, fsRaiseShadow, fsLow3D, fsRaise3D };
    const char* kindNames[] = { "LowShadow", "RaiseShadow", "Low3D", "Raise3D" };
    for (int i = 0; i < 4; ++i) {
        TGradBox* box = Box(area, QRect(10 + i * 155, 75, 145, 70), gsTopBottom, QString::fromLatin1(kindNames[i]));
        box->setFont(PixelFont(24, true));
        box->SetTopColor(SysColors::clGreen);
        box->SetLastColor(SysColors::clLime);
        box->SetDrawOutLine(true);
        box->SetFont3D(true);
        box->SetStyle3D(kinds[i]);
        box->SetFontDepth(3);
        box->SetBackFont(SysColors::clYellow);
        box->SetCaptionLeft(8);
        box->SetCaptionTop(18);
    }

    // The about box title, and the same box disabled (embossed whatever Font3D says).
    TGradBox* title = Box(area, QRect(10, 155, 300, 85), gsLeftRight, QStringLiteral("OrbiloVer1.10"));
    title->setFont(PixelFont(30, true, true));
    title->SetTopColor(SysColors::clMaroon);
    title->SetLastColor(SysColors::clYellow);
    title->SetFontColor(SysColors::clWhite);
    title->SetFont3D(true);
    title->SetStyle3D(fsLow3D);
    title->SetFontDepth(2);
    title->SetBackFont(SysColors::clBlack);
    title->SetCaptionTop(24);
    TGradBox* disabled = Box(area, QRect(320, 155, 300, 85), gsLeftRight, QStringLiteral("OrbiloVer1.10 (disabled)"));
    disabled->setFont(PixelFont(26, true));
    disabled->SetTopColor(SysColors::clSilver);
    disabled->SetLastColor(SysColors::clBtnFace);
    disabled->SetFont3D(true);
    disabled->SetCaptionTop(26);
    disabled->setEnabled(false);
}

void ReportMouseDown(Gallery& gallery, TBrimBtn* btn)
{
    QObject::connect(btn, &TBrimBtn::MouseDown, &gallery, [&gallery](TBrimBtn* sender, int button, int shift, int x, int y) {
        const QString text = QStringLiteral("MouseDown tag %1 button %2 shift %3 at %4,%5")
                                 .arg(sender->Tag())
                                 .arg(button)
                                 .arg(shift)
                                 .arg(x)
                                 .arg(y);
        gallery.SetStatus(text);
        std::printf("%s\n", qPrintable(text));
        std::fflush(stdout);
    });
}

void AddBrimButtons(Gallery& gallery)
{
    QWidget* area = gallery.AddSection(QStringLiteral("TBrimBtn: board tiles (ZSet 0..6), command buttons, alignment"), QSize(640, 150));
    // Board tiles as the main window makes them: 30 x 30, white font, navy outline.
    auto* board = new TGradBox(area);
    board->setGeometry(5, 5, 12 * 30 + 10, 2 * 30 + 10);
    board->SetTopColor(SysColors::clTeal);
    board->SetLastColor(SysColors::clBlack);
    const QString symbols = QStringLiteral("甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥一二");
    const ColorValue elements[] = { SysColors::clGreen, SysColors::clRed, 0x00408080, SysColors::clGray, SysColors::clBlue };
    for (int i = 0; i < 24; ++i) {
        auto* tile = new TBrimBtn(board);
        tile->setGeometry(5 + (i % 12) * 30, 5 + (i / 12) * 30, 30, 30);
        tile->setFont(PixelFont(18, true));
        tile->SetFontColor(SysColors::clWhite);
        tile->SetOutLineColor(SysColors::clNavy);
        tile->SetTopColor(i < 12 ? elements[(i / 2) % 5] : SysColors::clBtnFace);
        tile->SetCaption(symbols.mid(i, 1));
        tile->SetZSet(i < 7 ? i : 0);
        tile->SetTag(i + 1);
        tile->setObjectName(QStringLiteral("tile%1").arg(i + 1));
        ReportMouseDown(gallery, tile);
    }

    // Command buttons as the main window states them.
    const char* captions[] = { "Start!!", "<<", "!!" };
    const int widths[] = { 81, 41, 41 };
    int x = 390;
    for (int i = 0; i < 3; ++i) {
        auto* btn = new TBrimBtn(area);
        btn->setGeometry(x, 8, widths[i], 25);
        x += widths[i] + 6;
        btn->setFont(PixelFont(19, true, true));
        btn->SetCaption(QString::fromLatin1(captions[i]));
        btn->SetTopColor(SysColors::clBlue);
        btn->SetOutLineColor(SysColors::clWhite);
        btn->SetEndColor(SysColors::clGray);
        btn->SetOutLineRound(false);
        btn->SetTag(100 + i);
        btn->setObjectName(QStringLiteral("command%1").arg(i));
        ReportMouseDown(gallery, btn);
        QObject::connect(btn, &TBrimBtn::Clicked, &gallery, [&gallery](TBrimBtn* sender) {
            gallery.SetStatus(QStringLiteral("Clicked %1").arg(sender->Caption()));
        });
    }

    // Alignment and rounded outline and bands.
    const TAlignment aligns[] = { taLeftJustify, taCenter, taRightJustify };
    for (int i = 0; i < 3; ++i) {
        auto* btn = new TBrimBtn(area);
        btn->setGeometry(390 + i * 80, 45, 74, 30);
        btn->setFont(PixelFont(13));
        btn->SetCaption(QStringLiteral("Abc"));
        btn->SetAlignment(aligns[i]);
        btn->SetTopColor(SysColors::clMaroon);
        btn->SetEndColor(SysColors::clYellow);
        btn->SetOutLineRound(i == 1);
        btn->SetColorCnt(i == 1 ? 3 : 20);
        ReportMouseDown(gallery, btn);
    }
    auto* flat = new TBrimBtn(area);
    flat->setGeometry(390, 85, 150, 30);
    flat->setFont(PixelFont(12));
    flat->SetCaption(QStringLiteral("TopColor = EndColor: flat"));
    flat->SetTopColor(SysColors::clGreen);
    flat->SetEndColor(SysColors::clGreen);
    ReportMouseDown(gallery, flat);
    auto* wide = new TBrimBtn(area);
    wide->setGeometry(550, 85, 60, 30);
    wide->setFont(PixelFont(13));
    wide->SetCaption(QStringLiteral("Too wide a caption"));
    wide->SetGradStyle(gsLeftRight);
    ReportMouseDown(gallery, wide);
}

// Offscreen: hover one tile and press another with synthetic events, then render.
int Screenshot(Gallery& gallery, const QString& file)
{
    gallery.show();
    QCoreApplication::processEvents();
    auto hover = [](QWidget* w) {
        const QPointF local(w->width() / 2.0, w->height() / 2.0);
        QEnterEvent enter(local, local, w->mapToGlobal(local));
        QCoreApplication::sendEvent(w, &enter);
    };
    auto press = [](QWidget* w) {
        const QPointF local(w->width() / 2.0, w->height() / 2.0);
        QMouseEvent down(QEvent::MouseButtonPress, local, w->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
            Qt::NoModifier);
        QCoreApplication::sendEvent(w, &down);
        QMouseEvent up(QEvent::MouseButtonRelease, local, w->mapToGlobal(local), Qt::LeftButton, Qt::NoButton,
            Qt::NoModifier);
        QCoreApplication::sendEvent(w, &up);
    };
    if (auto* tile = gallery.findChild<QWidget*>(QStringLiteral("tile9")))
        hover(tile);
    if (auto* tile = gallery.findChild<QWidget*>(QStringLiteral("tile10"))) {
        hover(tile);
        press(tile);
    }
    if (auto* start = gallery.findChild<QWidget*>(QStringLiteral("command0")))
        hover(start);
    QCoreApplication::processEvents();
    const bool ok = gallery.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption shot(QStringLiteral("shot"), QStringLiteral("Render offscreen to <file> and exit."),
        QStringLiteral("file"));
    parser.addOption(shot);
    parser.process(app);

    Gallery gallery;
    AddGradBoxes(gallery);
    AddBrimButtons(gallery);

    if (parser.isSet(shot))
        return Screenshot(gallery, parser.value(shot));
    gallery.show();
    return app.exec();
}
