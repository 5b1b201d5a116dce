#include "tests/crash/delivery/png_decoding.h"

#include <png.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace kestrix::test {
namespace {

struct Reader {
    const std::string* Bytes;
    std::size_t Offset = 0;
};

void ReadBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->Offset + length > reader->Bytes->size()) {
        png_error(png, "read past the end");
    }
    std::memcpy(data, reader->Bytes->data() + reader->Offset, length);
    reader->Offset += length;
}

[[noreturn]] void RaiseError(png_structp, png_const_charp message) {
    throw std::runtime_error(message);
}

}  // namespace

DecodedPng DecodePng(const std::string& bytes) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, nullptr);
    png_infop info = png_create_info_struct(png);
    Reader reader{&bytes};
    DecodedPng decoded;
    try {
        png_set_read_fn(png, &reader, ReadBytes);
        png_read_info(png, info);
        decoded.BitDepth = png_get_bit_depth(png, info);
        decoded.ColorType = png_get_color_type(png, info);
        decoded.Image.Width = static_cast<int>(png_get_image_width(png, info));
        decoded.Image.Height = static_cast<int>(png_get_image_height(png, info));
        png_colorp palette = nullptr;
        int entries = 0;
        if (png_get_PLTE(png, info, &palette, &entries) != 0) {
            for (int entry = 0; entry < entries; ++entry) {
                decoded.Image.Palette.push_back(
                    {palette[entry].red, palette[entry].green, palette[entry].blue});
            }
        }
        png_set_packing(png);
        png_read_update_info(png, info);
        const auto width = static_cast<std::size_t>(decoded.Image.Width);
        std::vector<png_byte> row(png_get_rowbytes(png, info));
        for (int y = 0; y < decoded.Image.Height; ++y) {
            png_read_row(png, row.data(), nullptr);
            decoded.Image.Indices.insert(decoded.Image.Indices.end(), row.begin(),
                                         row.begin() + static_cast<std::ptrdiff_t>(width));
        }
        png_read_end(png, nullptr);
    } catch (...) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return decoded;
}

}  // namespace kestrix::test
