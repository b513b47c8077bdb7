#include "platform/JpegFile.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

#include "platform/Files.h"
#include "platform/SysError.h"

namespace vantrel {

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: jump back to the
// decoder, which turns it into an exception once libjpeg's state is released.
struct TJpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The pictures are ours and small; anything larger is not a picture of the program.
constexpr long MaxPixels = 16L * 1024 * 1024;

}  // namespace

TRgbImage LoadJpegFile(const std::string& path) {
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        const int code = errno;
        throw EFileError("Cannot open picture " + path + ": " + FormatSysError(code), code);
    }

    jpeg_decompress_struct cinfo{};
    TJpegError error{};
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.manager.output_message = IgnoreJpegMessage;

    TRgbImage image;
    // Nothing with a destructor may be created between setjmp and the end of decoding.
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        throw EFileError("Cannot read picture " + path + ": " + error.message, 0);
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file.get());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3 || long(cinfo.output_width) * long(cinfo.output_height) > MaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        throw EFileError("Cannot read picture " + path + ": unsupported size or colour format", 0);
    }
    image.Width = int(cinfo.output_width);
    image.Height = int(cinfo.output_height);
    image.Pixels.resize(std::size_t(image.Width) * std::size_t(image.Height) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.Pixels.data() + std::size_t(cinfo.output_scanline) * std::size_t(image.Width) * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return image;
}

}  // namespace vantrel
