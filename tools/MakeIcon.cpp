// SPDX-License-Identifier: MIT
// Draws the program icon: the five elements as five discs in their element colours, placed
// around the generating cycle (wood at the top, then fire, earth, metal and water clockwise)
// on a navy tile, the board's colour. Writes <folder>/orbilo.svg and <folder>/icons/orbilo-N.png
// for N = 16, 32, 48, 64, 128 and 256, and <folder>/icons/orbilo.ico for the Windows
// executable (the 16, 32, 48 and 256 images, each kept as its PNG). The files are committed; run this again only to change
// the icon. The SVG and the PNGs come from the same geometry, so they always agree.
//
// Small sizes get their own layout: bigger discs, no cycle ring and no disc outlines, since
// those turn into blur below 48 pixels.

// Qt
#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QString>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Canvas = 256.0; // all geometry below is in this square

// Element colours in element order: wood, fire, earth, metal, water.
const QColor ElementColours[5] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(128, 0, 0), QColor(255, 255, 0),
                                  QColor(0, 255, 255)};

const QColor TileTop(40, 40, 168);
const QColor TileBottom(0, 0, 96);
const QColor TileEdge(120, 120, 220);
const QColor Ring(192, 192, 224);
const QColor DiscEdge(255, 255, 255);

struct Layout
{
    double margin;     // between the canvas edge and the tile
    double corner;     // tile corner radius
    double orbit;      // distance of the disc centres from the middle
    double radius;     // disc radius
    double discEdge;   // width of the white disc outline, 0 for none
    double ringWidth;  // width of the cycle ring, 0 for none
    double tileEdge;   // width of the tile's light border, 0 for none
    bool shading;      // a soft highlight on the discs
};

const Layout Large {8, 44, 72, 32, 6, 7, 4, true};
const Layout Small {0, 36, 80, 42, 0, 0, 0, false};

const Layout& LayoutFor(int size)
{
    return size < 48 ? Small : Large;
}

// The middle of the cycle sits a little low, which centres the pentagon's visual weight.
double CycleCentreY(const Layout& layout)
{
    return Canvas / 2 + layout.orbit * 0.06;
}

// Wood at the top; the generating cycle runs clockwise.
QPointF DiscCentre(const Layout& layout, int element)
{
    const double angle = -Pi / 2 + element * 2 * Pi / 5;
    return {Canvas / 2 + layout.orbit * std::cos(angle), CycleCentreY(layout) + layout.orbit * std::sin(angle)};
}

void Paint(QPainter& p, const Layout& layout)
{
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF tile(layout.margin, layout.margin, Canvas - 2 * layout.margin, Canvas - 2 * layout.margin);
    QLinearGradient tileFill(tile.topLeft(), tile.bottomLeft());
    tileFill.setColorAt(0, TileTop);
    tileFill.setColorAt(1, TileBottom);
    p.setBrush(tileFill);
    if (layout.tileEdge > 0) {
        const double half = layout.tileEdge / 2;
        p.setPen(QPen(TileEdge, layout.tileEdge));
        p.drawRoundedRect(tile.adjusted(half, half, -half, -half), layout.corner - half, layout.corner - half);
    } else {
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(tile, layout.corner, layout.corner);
    }

    if (layout.ringWidth > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Ring, layout.ringWidth));
        p.drawEllipse(QPointF(Canvas / 2, CycleCentreY(layout)), layout.orbit, layout.orbit);
    }

    for (int e = 0; e < 5; ++e) {
        const QPointF c = DiscCentre(layout, e);
        if (layout.shading) {
            QRadialGradient fill(c, layout.radius, c - QPointF(layout.radius / 3, layout.radius / 3));
            fill.setColorAt(0, ElementColours[e].lighter(140));
            fill.setColorAt(0.55, ElementColours[e]);
            fill.setColorAt(1, ElementColours[e]);
            p.setBrush(fill);
        } else {
            p.setBrush(ElementColours[e]);
        }
        if (layout.discEdge > 0)
            p.setPen(QPen(DiscEdge, layout.discEdge));
        else
            p.setPen(Qt::NoPen);
        const double r = layout.radius - layout.discEdge / 2;
        p.drawEllipse(c, r, r);
    }
}

QString Hex(const QColor& c)
{
    return c.name(QColor::HexRgb);
}

QString Num(double v)
{
    return QString::number(v, 'g', 6);
}

// The same drawing as Paint() with the large layout, written out as SVG.
QString Svg()
{
    const Layout& l = Large;
    QString out;
    QTextStream s(&out);
    const double half = l.tileEdge / 2;
    const double side = Canvas - 2 * l.margin - l.tileEdge;
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
      << "  <title>Orbilo</title>\n"
      << "  <defs>\n"
      << "    <linearGradient id=\"tile\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
      << "      <stop offset=\"0\" stop-color=\"" << Hex(TileTop) << "\"/>\n"
      << "      <stop offset=\"1\" stop-color=\"" << Hex(TileBottom) << "\"/>\n"
      << "    </linearGradient>\n";
    for (int e = 0; e < 5; ++e) {
        s << "    <radialGradient id=\"e" << e << "\" cx=\"0.5\" cy=\"0.5\" r=\"0.5\" fx=\"" << Num(0.5 - 1.0 / 6)
          << "\" fy=\"" << Num(0.5 - 1.0 / 6) << "\">\n"
          << "      <stop offset=\"0\" stop-color=\"" << Hex(ElementColours[e].lighter(140)) << "\"/>\n"
          << "      <stop offset=\"0.55\" stop-color=\"" << Hex(ElementColours[e]) << "\"/>\n"
          << "      <stop offset=\"1\" stop-color=\"" << Hex(ElementColours[e]) << "\"/>\n"
          << "    </radialGradient>\n";
    }
    s << "  </defs>\n"
      << "  <rect x=\"" << Num(l.margin + half) << "\" y=\"" << Num(l.margin + half) << "\" width=\"" << Num(side)
      << "\" height=\"" << Num(side) << "\" rx=\"" << Num(l.corner - half) << "\" fill=\"url(#tile) " << Hex(TileBottom) << "\" stroke=\""
      << Hex(TileEdge) << "\" stroke-width=\"" << Num(l.tileEdge) << "\"/>\n"
      << "  <circle cx=\"" << Num(Canvas / 2) << "\" cy=\"" << Num(CycleCentreY(l)) << "\" r=\"" << Num(l.orbit)
      << "\" fill=\"none\" stroke=\"" << Hex(Ring) << "\" stroke-width=\"" << Num(l.ringWidth) << "\"/>\n";
    static const char* const names[5] = {"wood", "fire", "earth", "metal", "water"};
    for (int e = 0; e < 5; ++e) {
        const QPointF c = DiscCentre(l, e);
        s << "  <circle id=\"" << names[e] << "\" cx=\"" << Num(c.x()) << "\" cy=\"" << Num(c.y()) << "\" r=\""
          << Num(l.radius - l.discEdge / 2) << "\" fill=\"url(#e" << e << ") " << Hex(ElementColours[e]) << "\" stroke=\"" << Hex(DiscEdge)
          << "\" stroke-width=\"" << Num(l.discEdge) << "\"/>\n";
    }
    s << "</svg>\n";
    return out;
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
    return false;
}

// A Windows icon file holding the PNGs as they are: a directory of one entry per image
// (a width or height of 256 is written as 0), then the images.
QByteArray IconFile(const QList<std::pair<int, QByteArray>>& pngs)
{
    QByteArray out;
    auto put16 = [&out](quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) { put16(quint16(v & 0xFFFF)); put16(quint16(v >> 16)); };
    put16(0); // reserved
    put16(1); // an icon
    put16(quint16(pngs.size()));
    quint32 offset = 6 + 16 * quint32(pngs.size());
    for (const auto& [size, png] : pngs) {
        out.append(char(size >= 256 ? 0 : size)).append(char(size >= 256 ? 0 : size));
        out.append(char(0)).append(char(0)); // no palette, reserved
        put16(1); // planes
        put16(32); // bits per pixel
        put32(quint32(png.size()));
        put32(offset);
        offset += quint32(png.size());
    }
    for (const auto& entry : pngs)
        out.append(entry.second);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    // Painting into a QImage needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const QDir dir(folder);
    if (!QDir().mkpath(dir.filePath(QStringLiteral("icons")))) {
        std::fprintf(stderr, "cannot create %s/icons\n", qPrintable(folder));
        return 1;
    }

    bool ok = Write(dir.filePath(QStringLiteral("orbilo.svg")), Svg().toUtf8());
    QList<std::pair<int, QByteArray>> iconImages;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.scale(size / Canvas, size / Canvas);
            Paint(p, LayoutFor(size));
        }
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        }
        ok = Write(dir.filePath(QStringLiteral("icons/orbilo-%1.png").arg(size)), png) && ok;
        if (size == 16 || size == 32 || size == 48 || size == 256)
            iconImages.append({ size, png });
    }
    ok = Write(dir.filePath(QStringLiteral("icons/orbilo.ico")), IconFile(iconImages)) && ok;
    return ok ? 0 : 1;
}
