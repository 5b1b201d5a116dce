// \brief The libpng writer into memory.
#include "crash/delivery/attachments/png_encoding.h"

#include <png.h>

#include <stdexcept>
#include <vector>

namespace kestrix {
namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}

void Flush(png_structp) {}

[[noreturn]] void RaiseError(png_structp, png_const_charp message) {
    throw std::runtime_error(std::string("PNG encoding failed: ") + message);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// The rows packed at the bit depth, the first pixel in the high bits.
std::vector<std::vector<png_byte>> PackedRows(const PalettedImage& image, int bitDepth) {
    const auto width = static_cast<std::size_t>(image.Width);
    const std::size_t pixelsPerByte = 8 / static_cast<std::size_t>(bitDepth);
    std::vector<std::vector<png_byte>> rows(static_cast<std::size_t>(image.Height));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y].assign((width + pixelsPerByte - 1) / pixelsPerByte, 0);
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t shift =
                (pixelsPerByte - 1 - x % pixelsPerByte) * static_cast<std::size_t>(bitDepth);
            rows[y][x / pixelsPerByte] |=
                static_cast<png_byte>(image.Indices[y * width + x] << shift);
        }
    }
    return rows;
}

}  // namespace

std::string EncodePalettePng(const PalettedImage& image, int bitDepth) {
    if ((bitDepth != 4 && bitDepth != 8) || image.Width <= 0 || image.Height <= 0 ||
        image.Palette.empty() || image.Palette.size() > (std::size_t{1} << bitDepth) ||
        image.Indices.size() !=
            static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height)) {
        throw std::runtime_error("PNG encoding failed: no picture to encode");
    }
    std::vector<std::vector<png_byte>> rows = PackedRows(image, bitDepth);
    std::vector<png_bytep> rowPointers;
    for (auto& row : rows) {
        rowPointers.push_back(row.data());
    }
    std::vector<png_color> palette;
    for (const RgbColor color : image.Palette) {
        palette.push_back({color.Red, color.Green, color.Blue});
    }

    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (png == nullptr) {
        throw std::runtime_error("PNG encoding failed: out of memory");
    }
    png_infop info = png_create_info_struct(png);
    std::string bytes;
    try {
        if (info == nullptr) {
            throw std::runtime_error("PNG encoding failed: out of memory");
        }
        png_set_write_fn(png, &bytes, AppendBytes, Flush);
        png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width),
                     static_cast<png_uint_32>(image.Height), bitDepth, PNG_COLOR_TYPE_PALETTE,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
        png_set_compression_level(png, 9);
        png_write_info(png, info);
        png_write_image(png, rowPointers.data());
        png_write_end(png, nullptr);
    } catch (...) {
        png_destroy_write_struct(&png, &info);
        throw;
    }
    png_destroy_write_struct(&png, &info);
    return bytes;
}

}  // namespace kestrix
