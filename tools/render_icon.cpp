// Renders the program's icon into the PNG sizes of the hicolor icon theme:
//   render_icon ICON.svg OUTPUT_DIR NAME SIZE...
// writes OUTPUT_DIR/<SIZE>x<SIZE>/apps/NAME.png for each size.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("Usage: render_icon ICON.svg OUTPUT_DIR NAME SIZE...\n", stderr);
        return 2;
    }
    // The icon has paths only, no text: painting it into an image needs no application object
    // and no display.
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[2]));
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "render_icon: bad size %s\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        if (!output.mkpath(folder) || !image.save(output.filePath(folder + "/" + name + ".png"))) {
            std::fprintf(stderr, "render_icon: cannot write the %d pixel icon\n", size);
            return 1;
        }
    }
    return 0;
}
