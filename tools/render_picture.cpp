// Renders one of our SVG drawings to the picture file the program reads: a JPEG (through
// libjpeg, quality 92, no chroma subsampling so thin coloured lines stay sharp) or a PNG
// with transparency. Used at build time only.
//
//   render_picture INPUT.svg OUTPUT.(jpg|png) WIDTH HEIGHT

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

bool WriteJpeg(const QImage& source, const char* path) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;

    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 92, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: render_picture INPUT.svg OUTPUT.(jpg|png) WIDTH HEIGHT\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The toolkit's notices about the missing session (no runtime folder in a build) are noise
    // in a build log; this tool reports its own failures.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication app(argc, argv);

    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    QSvgRenderer renderer(input);
    if (!renderer.isValid() || width <= 0 || height <= 0) {
        std::fprintf(stderr, "render_picture: cannot render %s\n", argv[1]);
        return 1;
    }

    const bool jpeg = output.endsWith(QStringLiteral(".jpg"));
    QImage image(width, height, jpeg ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(jpeg ? Qt::white : Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }
    const bool written = jpeg ? WriteJpeg(image, argv[2]) : image.save(output, "PNG");
    if (!written) {
        std::fprintf(stderr, "render_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
