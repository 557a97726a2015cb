#include "tools/rewardgen/JpegWriter.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; jump back and throw from C++ instead
// (an exception must not unwind through libjpeg's C frames).
struct JumpingErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    // Kept here rather than in Encode's frame: they change after setjmp and are read after a jump.
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<JumpingErrorManager*>(cinfo->err);
    manager->base.format_message(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

void Configure(jpeg_compress_struct& cinfo, int width, int height, int quality)
{
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, JCS_YCbCr);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // The defaults already say most of this; it is spelled out because the stream's layout is
    // part of what the game ships, and a library default could change.
    cinfo.comp_info[0].h_samp_factor = 2;
    cinfo.comp_info[0].v_samp_factor = 2;
    for (int c = 1; c < 3; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    cinfo.write_JFIF_header = TRUE;
    cinfo.JFIF_major_version = 1;
    cinfo.JFIF_minor_version = 1;
    cinfo.density_unit = 0;
    cinfo.X_density = 1;
    cinfo.Y_density = 1;
    cinfo.optimize_coding = FALSE;
    cinfo.arith_code = FALSE;
    cinfo.restart_interval = 0;
    cinfo.restart_in_rows = 0;
    cinfo.dct_method = JDCT_ISLOW;
}

// No C++ object with a destructor lives in this frame, so the longjmp skips nothing.
bool Encode(const std::uint8_t* rgb, int width, int height, int quality, std::vector<std::uint8_t>& stream,
            JumpingErrorManager& errors)
{
    jpeg_compress_struct cinfo;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;

    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(errors.buffer);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &errors.buffer, &errors.size);
    Configure(cinfo, width, height, quality);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        auto* row = const_cast<JSAMPROW>(rgb + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    stream.assign(errors.buffer, errors.buffer + errors.size);
    jpeg_destroy_compress(&cinfo);
    std::free(errors.buffer);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodeBaselineJpeg(const std::uint8_t* rgb, int width, int height, int quality)
{
    std::vector<std::uint8_t> stream;
    JumpingErrorManager errors;
    if (!Encode(rgb, width, height, quality, stream, errors))
        throw std::runtime_error(errors.message);
    return stream;
}
