#include "windows/JpegPicture.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace {

// libjpeg's default error manager calls exit(); this one jumps back to DecodeJpeg instead.
struct ReturningErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void AbortDecoding(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<ReturningErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

// Level -1 is a warning: libjpeg goes on after one with made-up data (grey rows after a
// premature end, skipped bytes), so a warning means the stream is damaged and the picture is
// refused. Trace messages (levels 0 and up) are dropped, never printed.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        AbortDecoding(cinfo);
}

// Everything that holds libjpeg state stays in this frame, with no C++ destructors between the
// setjmp and a longjmp, so the jump skips nothing that needs cleaning up.
bool DecodeInto(const std::uint8_t* data, std::size_t size, JpegPicture& picture)
{
    jpeg_decompress_struct cinfo;
    ReturningErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = AbortDecoding;
    errors.base.emit_message = OnMessage;

    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));

    bool ok = jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK && !cinfo.progressive_mode && !cinfo.arith_code
        && cinfo.image_width <= JpegMaxSide && cinfo.image_height <= JpegMaxSide
        && static_cast<std::int64_t>(cinfo.image_width) * cinfo.image_height <= JpegMaxPixels;
    if (ok) {
        cinfo.out_color_space = JCS_RGB;
        cinfo.dct_method = JDCT_ISLOW;
        jpeg_start_decompress(&cinfo);
        ok = cinfo.output_components == 3;
    }
    if (ok) {
        const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * 3;
        picture.width = static_cast<int>(cinfo.output_width);
        picture.height = static_cast<int>(cinfo.output_height);
        picture.rgb.resize(stride * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = picture.rgb.data() + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

} // namespace

std::optional<JpegPicture> DecodeJpeg(const std::uint8_t* data, std::size_t size)
{
    // jpeg_mem_src refuses an empty buffer with an error of its own; say no before libjpeg does.
    if (data == nullptr || size == 0)
        return std::nullopt;
    JpegPicture picture;
    if (!DecodeInto(data, size, picture))
        return std::nullopt;
    return picture;
}
