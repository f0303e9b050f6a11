// Writes the program's picture as the package's icons: mrv003e.svg and mrv003e-<N>.png for
// each size N, drawn by the routine the window draws its own icon with.
#include "ui/app/ProgramIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "make-icon: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    const int side = mrv::kProgramIconSide;

    QSvgGenerator svg;
    svg.setFileName(dir.filePath("mrv003e.svg"));
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, side, side));
    svg.setTitle("mrv003e");
    svg.setDescription("The icon of mrv003e");
    {
        QPainter p;
        if (!p.begin(&svg)) {
            std::fprintf(stderr, "make-icon: cannot write mrv003e.svg\n");
            return 1;
        }
        mrv::PaintProgramIcon(p);
    }

    for (const int size : {48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.scale(double(size) / side, double(size) / side);
        mrv::PaintProgramIcon(p);
        p.end();
        const QString name = QString("mrv003e-%1.png").arg(size);
        if (!image.save(dir.filePath(name), "PNG")) {
            std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
