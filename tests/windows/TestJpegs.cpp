#include "TestJpegs.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

// Inputs here are always valid, so libjpeg's default error handler (which ends the process)
// would only fire on a bug in the test itself.
std::vector<std::uint8_t> MakeTestJpeg(const TestJpegOptions& options)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(options.width);
    cinfo.image_height = static_cast<JDIMENSION>(options.height);
    cinfo.input_components = options.components;
    cinfo.in_color_space = options.components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.arith_code = options.arithmetic ? TRUE : FALSE;

    std::vector<std::uint8_t> row(static_cast<std::size_t>(options.width) * options.components);
    for (std::size_t i = 0; i < row.size(); i += options.components) {
        row[i] = options.red;
        if (options.components == 3) {
            row[i + 1] = options.green;
            row[i + 2] = options.blue;
        }
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<std::uint8_t> stream(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return stream;
}

std::vector<std::uint8_t> ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}
