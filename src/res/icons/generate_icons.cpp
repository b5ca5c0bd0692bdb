// Draws the glyph editor's icons and writes them as PNG files at 32 x 32 and,
// for high-density screens, 64 x 64 ("@2x"), named by resource number. The
// drawings live here; the PNG files beside this file are its committed output.
//
//   cmake --build build --target glyphwerk_icon_generator
//   build/src/editor/glyphwerk_icon_generator src/res/icons

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

const QColor kInk(0x20, 0x30, 0x50);
const QColor kAccent(0x1e, 0x6f, 0xd9);
const QColor kPencilBody(0xf2, 0xb1, 0x34);
const QColor kEraserBody(0xe8, 0x6a, 0x7a);

// Every drawing works in a 32 x 32 space; the painter is scaled for larger sizes.
using Drawing = std::function<void(QPainter &)>;

QPen Pen(const QColor &colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Magnifier(QPainter &p, bool plus) {
    p.setPen(Pen(kInk, 2.5));
    p.setBrush(QColor(0xe8, 0xf1, 0xfc));
    p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
    p.setPen(Pen(kInk, 4.5));
    p.drawLine(QPointF(19.5, 19.5), QPointF(27, 27));
    p.setPen(Pen(kAccent, 2.5));
    p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
    if (plus)
        p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
}

// A curved arrow turning back to the left (undo) or on to the right (redo).
void CurvedArrow(QPainter &p, bool redo) {
    if (redo) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    QPainterPath arc;
    arc.moveTo(25, 25);
    arc.cubicTo(27, 14, 20, 9.5, 10, 10.5);
    p.setPen(Pen(kInk, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    QPolygonF head{{4, 10.5}, {12, 4}, {12, 17}};
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kInk);
    p.drawPolygon(head);
}

void Pencil(QPainter &p) {
    p.translate(16, 16);
    p.rotate(45);
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kPencilBody);
    p.drawRect(QRectF(-4, -13, 8, 18));
    p.setBrush(QColor(0xf7, 0xd9, 0xa8));
    p.drawPolygon(QPolygonF{{-4, 5}, {4, 5}, {0, 13}});
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{{-1.5, 10}, {1.5, 10}, {0, 13}});
    p.setBrush(QColor(0xd0, 0x5a, 0x6a));
    p.drawRect(QRectF(-4, -15, 8, 3));
}

void Eraser(QPainter &p) {
    p.translate(16, 17);
    p.rotate(-35);
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kEraserBody);
    p.drawRoundedRect(QRectF(-12, -6, 15, 12), 2, 2);
    p.setBrush(QColor(0xf4, 0xf4, 0xf4));
    p.drawRoundedRect(QRectF(3, -6, 9, 12), 2, 2);
}

void DashedRectangle(QPainter &p) {
    QPen pen(kInk, 2, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern({2, 1.5});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5, 7, 22, 18));
}

// An arrow pointing up, turned clockwise by `degrees`.
void Arrow(QPainter &p, qreal degrees) {
    p.translate(16, 16);
    p.rotate(degrees);
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF{{0, -11}, {9, -1}, {3.5, -1}, {3.5, 10}, {-3.5, 10}, {-3.5, -1}, {-9, -1}});
}

QImage Render(const Drawing &drawing, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    drawing(painter);
    return image;
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::map<int, Drawing> icons = {
        {140, [](QPainter &p) { Magnifier(p, false); }},
        {141, [](QPainter &p) { Magnifier(p, true); }},
        {152, [](QPainter &p) { CurvedArrow(p, true); }},
        {153, [](QPainter &p) { CurvedArrow(p, false); }},
        {148, Pencil},
        {150, Eraser},
        {151, DashedRectangle},
        {132, [](QPainter &p) { Arrow(p, 0); }},    // up
        {133, [](QPainter &p) { Arrow(p, 90); }},   // right
        {134, [](QPainter &p) { Arrow(p, 270); }},  // left
        {135, [](QPainter &p) { Arrow(p, 180); }},  // down
        {136, [](QPainter &p) { Arrow(p, 225); }},  // left down
        {137, [](QPainter &p) { Arrow(p, 315); }},  // left up
        {138, [](QPainter &p) { Arrow(p, 135); }},  // right down
        {139, [](QPainter &p) { Arrow(p, 45); }},   // right up
    };
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const auto &[number, drawing] : icons) {
        const QString base = QStringLiteral("%1/%2").arg(folder).arg(number);
        if (!Render(drawing, 32).save(base + ".png") || !Render(drawing, 64).save(base + "@2x.png")) {
            fprintf(stderr, "cannot write %s\n", qPrintable(base));
            return 1;
        }
    }
    return 0;
}
