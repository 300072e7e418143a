// SPDX-License-Identifier: MIT
// The start-up floor for this program: the bare window (BareWindow.cpp) with nothing added
// but the texts the main window shows in its first frame, one label per font the main window
// draws them in (the same faces, pixel sizes and styles). It measures what drawing those
// Japanese texts costs any program at all: finding the installed fonts, opening the faces,
// setting up each size and drawing the glyphs. The program's own start-up can be no faster.

// Qt
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace {

QFont Font(const QString& family, int pixels, bool bold = false, bool italic = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("OrbiloTextWindow"));
    window.setFixedSize(564, 371);

    // The faces the program draws with where the MS faces are missing.
    const QStringList installed = QFontDatabase::families();
    const QString gothic = installed.contains(QStringLiteral("ＭＳ Ｐゴシック")) ? QStringLiteral("ＭＳ Ｐゴシック")
                                                                             : QStringLiteral("IPAPGothic");
    const QString mincho = installed.contains(QStringLiteral("ＭＳ 明朝")) ? QStringLiteral("ＭＳ 明朝")
                                                                        : QStringLiteral("IPAMincho");
    const struct {
        QString text;
        QFont font;
    } texts[] = {
        { QStringLiteral("ファイル(F)　設定(S)　ヘルプ(H)"), Font(gothic, 12) },
        { QStringLiteral("Brimwell　"), Font(gothic, 19, true, true) },
        { QStringLiteral("経過時間 ：00:00 00 "), Font(gothic, 13) },
        { QStringLiteral("ポイント： 0  残：12"), Font(gothic, 13, false, true) },
        { QStringLiteral("甲乙丙丁戊己庚辛壬癸 子丑寅卯辰巳午未申酉戌亥 一二三四五六七八九"), Font(gothic, 24) },
        { QStringLiteral("<<"), Font(gothic, 16, true) },
        { QStringLiteral("!!　Start!!"), Font(gothic, 19, true, true) },
        { QStringLiteral("3　4"), Font(gothic, 15) },
        { QStringLiteral("縦　×　横　干　支　九星　着色する　着色しない"), Font(gothic, 12) },
        { QStringLiteral("1　2　3　4　5"), Font(mincho, 13) },
    };
    int top = 0;
    for (const auto& entry : texts) {
        auto* label = new QLabel(entry.text, &window);
        label->setFont(entry.font);
        label->move(0, top);
        label->adjustSize();
        top += 34;
    }
    window.show();
    QTimer::singleShot(100, &app, &QApplication::quit);
    return app.exec();
}
