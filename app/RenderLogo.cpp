// Build step: draws the program's picture once and writes its pixels as C++ source, so that the
// window shows it without drawing text at every start (each font size the drawing uses is a
// font match and a set of glyphs to render).
//   QT_QPA_PLATFORM=offscreen parvel_render_logo OUT.cpp
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "app/Logo.h"
#include "image/TextFile.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: parvel_render_logo OUT.cpp\n");
        return 2;
    }
    const QImage image = parvel::DrawParvelLogo().toImage().convertToFormat(QImage::Format_ARGB32);
    QByteArray text =
        "// Written by parvel_render_logo from DrawParvelLogo(); do not edit.\n"
        "#include <QImage>\n\n"
        "#include \"Logo.h\"\n\n"
        "namespace parvel {\n\n"
        "namespace {\n\n"
        "// ARGB, row by row\n"
        "const QRgb kLogoPixels[kLogoWidth * kLogoHeight] = {\n";
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            text += QByteArray::number(line[x], 16).prepend("0x") + (x % 8 == 7 ? ",\n" : ", ");
        }
    }
    text +=
        "};\n\n}  // namespace\n\n"
        "QPixmap ParvelLogo() {\n"
        "    return QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(kLogoPixels), "
        "kLogoWidth,\n"
        "                                     kLogoHeight, QImage::Format_ARGB32));\n"
        "}\n\n"
        "}  // namespace parvel\n";
    // Written whole or not at all: a cut file would leave the build with a broken source.
    const parvel::WriteResult written = parvel::AtomicWriteFile(argv[1], text.toStdString());
    if (!written.ok) {
        std::fprintf(stderr, "parvel_render_logo: %s: %s\n", argv[1], written.error.c_str());
        return 1;
    }
    return 0;
}
