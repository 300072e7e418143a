// SPDX-License-Identifier: MIT
// Benchmarks of painting with the real widgets on the offscreen platform: all 120 board
// tiles as the main window sets them up (30 x 30, the board face at 24 pixels, white
// captions, navy outline, element colours, some tiles selected) rendered into an image, one
// tile alone, and the board panel of the real main window with a full 10 x 12 board.
//
// With "--shot DIR" the three images are also written to DIR as PNG files, to look at.

// Qt
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
// own
#include "windows/AppInfo.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "controls/Panel.h"
#include "controls/SysColors.h"
#include "game/Symbols.h"
#include "app/AppModel.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int TileSize = 30;

// The widgets the benchmarks paint, made once the application exists.
struct Scene
{
    QWidget tiles;
    std::array<TBrimBtn*, 120> tile {};
    std::unique_ptr<AppModel> model;
    std::unique_ptr<TMainF> mainF;

    Scene()
    {
        AppInfo::InstallFontSubstitutions();
        const QFont face = AppInfo::WindowFont(AppInfo::PGothic, -24);
        tiles.resize(12 * TileSize, 10 * TileSize);
        for (int i = 0; i < 120; ++i) {
            const int c = i % 12;
            const int r = i / 12;
            auto* t = new TBrimBtn(&tiles);
            t->setGeometry(c * TileSize, r * TileSize, TileSize, TileSize);
            t->setFont(face);
            t->SetFontColor(SysColors::clWhite);
            t->SetOutLineColor(SysColors::clNavy);
            const QString symbol = Symbols::SymbolAlphabet.mid((c * 7 + r * 5) % Symbols::SymbolCount, 1);
            t->SetCaption(symbol);
            t->SetTopColor(Symbols::ElementColors[Symbols::SymbolElement(symbol)]);
            t->SetZSet(i % 9 == 4 ? 1 : 0);
            t->SetTag(c + r * 12 + 1);
            tile[size_t(i)] = t;
        }

        // The real main window, shown, with a full board of all three sets and one tile picked.
        model = std::make_unique<AppModel>();
        mainF = std::make_unique<TMainF>(*model);
        mainF->CBH()->setCurrentIndex(mainF->CBH()->count() - 1);
        mainF->CBW()->setCurrentIndex(mainF->CBW()->count() - 1);
        mainF->CG1()->SetBitChk(7);
        mainF->Session().Deal();
        mainF->show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        mainF->HintBtnClick();
        QApplication::processEvents();
    }
};

Scene* g_scene = nullptr;

QImage BlankImage(const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    return image;
}

void BM_PaintAllTiles(benchmark::State& state)
{
    QImage image = BlankImage(g_scene->tiles.size());
    for (auto _ : state) {
        g_scene->tiles.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["tiles"] = 120;
}
BENCHMARK(BM_PaintAllTiles)->Unit(benchmark::kMicrosecond);

void BM_PaintOneTile(benchmark::State& state)
{
    TBrimBtn* t = g_scene->tile[4]; // selected: caption and circle
    QImage image = BlankImage(t->size());
    for (auto _ : state) {
        t->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintOneTile)->Unit(benchmark::kMicrosecond);

void BM_PaintBoardPanel(benchmark::State& state)
{
    Panel* board = g_scene->mainF->BPnl();
    QImage image = BlankImage(board->size());
    for (auto _ : state) {
        board->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintBoardPanel)->Unit(benchmark::kMicrosecond);

void WriteShots(const QString& dir)
{
    QDir().mkpath(dir);
    QImage all = BlankImage(g_scene->tiles.size());
    g_scene->tiles.render(&all);
    all.save(dir + QStringLiteral("/paint-tiles.png"));
    QImage one = BlankImage(g_scene->tile[4]->size());
    g_scene->tile[4]->render(&one);
    one.scaled(one.size() * 4).save(dir + QStringLiteral("/paint-tile.png"));
    QImage board = BlankImage(g_scene->mainF->BPnl()->size());
    g_scene->mainF->BPnl()->render(&board);
    board.save(dir + QStringLiteral("/paint-board.png"));
}

} // namespace

int main(int argc, char** argv)
{
    // Offscreen, with a configuration folder of its own so no settings are read or written.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

    std::vector<char*> args(argv, argv + argc);
    QString shotDir;
    for (size_t i = 1; i + 1 < args.size(); ++i)
        if (std::string(args[i]) == "--shot") {
            shotDir = QString::fromLocal8Bit(args[i + 1]);
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
            break;
        }
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    {
        Scene scene;
        g_scene = &scene;
        if (!shotDir.isEmpty())
            WriteShots(shotDir);
        benchmark::RunSpecifiedBenchmarks();
        g_scene = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
