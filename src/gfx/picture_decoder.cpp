#include "gfx/picture_decoder.h"

#include <png.h>
// jpeglib.h needs stdio first.
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <sys/mman.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <string_view>

namespace {

// Larger sides are refused before any memory is taken for them: no driver
// takes such a texture, and a damaged header could ask for gigabytes.
constexpr unsigned kLargestSide = 16384;

bool endsWith(std::string_view name, std::string_view ending)
{
    if (name.size() < ending.size())
        return false;
    name.remove_prefix(name.size() - ending.size());
    for (size_t k = 0; k < ending.size(); ++k) {
        char c = name[k];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ending[k])
            return false;
    }
    return true;
}

bool readWholeFile(const char* path, std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    uint8_t chunk[1 << 16];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool ok = !std::ferror(file); // a directory opens, then fails to read
    std::fclose(file);
    return ok;
}

// Rows of a picture of this size, bottom-up: row k of the file lands at
// rows[k], which points at the (height - 1 - k)-th row of the buffer.
void pointRowsBottomUp(DecodedPicture& picture, std::vector<uint8_t*>& rows)
{
    size_t stride = static_cast<size_t>(picture.width) * 4;
    picture.rgba.resize(stride * picture.height);
    rows.resize(picture.height);
    for (int k = 0; k < picture.height; ++k)
        rows[k] = &picture.rgba[stride * (picture.height - 1 - k)];
}

// --- PNG ---

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t at;
};

void readPngBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->at)
        png_error(png, "the file ends early");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

[[noreturn]] void leavePng(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignorePngWarning(png_structp, png_const_charp) {}

// Everything libpng may leave by its error jump happens here, where no local
// object has a destructor to skip.
bool readPng(png_structp png, png_infop info, DecodedPicture& picture, std::vector<uint8_t*>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, kLargestSide, kLargestSide);
    png_read_info(png, info);
    int type = png_get_color_type(png, info);
    int depth = png_get_bit_depth(png, info);
    // Every kind of PNG becomes eight-bit RGBA.
    if (type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    bool transparentColour = png_get_valid(png, info, PNG_INFO_tRNS);
    if (transparentColour)
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_strip_16(png); // the high byte of each sample
    if (!(type & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !transparentColour)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    picture.width = static_cast<int>(png_get_image_width(png, info));
    picture.height = static_cast<int>(png_get_image_height(png, info));
    if (png_get_rowbytes(png, info) != static_cast<size_t>(picture.width) * 4)
        return false;
    pointRowsBottomUp(picture, rows);
    png_read_image(png, rows.data());
    return true; // what follows the pixels (the end chunk) is not needed
}

// --- JPEG ---

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leaveJpeg(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Damaged data only warns, and is decoded as well as it can be; a file that
// ends before its last row is a failure.
void onJpegMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        leaveJpeg(info);
}

bool readJpeg(jpeg_decompress_struct& info, JpegErrors& errors, const uint8_t* data, size_t size,
              DecodedPicture& picture, std::vector<uint8_t*>& rows)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info.image_width > kLargestSide || info.image_height > kLargestSide)
        return false;
    info.out_color_space = JCS_EXT_RGBA; // grey pictures are spread over the three colours
    jpeg_start_decompress(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    pointRowsBottomUp(picture, rows);
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, &rows[info.output_scanline], info.output_height - info.output_scanline);
    jpeg_finish_decompress(&info);
    return true;
}

bool failed(DecodedPicture& picture)
{
    picture = DecodedPicture{};
    return false;
}

} // namespace

template <class T>
T* MappedAllocator<T>::allocate(size_t count)
{
    void* at = mmap(nullptr, count * sizeof(T), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<T*>(at);
}

template <class T>
void MappedAllocator<T>::deallocate(T* at, size_t count)
{
    munmap(at, count * sizeof(T));
}

template struct MappedAllocator<uint8_t>;

bool decodePng(const uint8_t* data, size_t size, DecodedPicture& picture)
{
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return failed(picture);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, leavePng, ignorePngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return failed(picture);
    }
    PngSource source{data, size, 0};
    png_set_read_fn(png, &source, readPngBytes);
    std::vector<uint8_t*> rows;
    bool ok = readPng(png, info, picture, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return ok || failed(picture);
}

bool decodeJpeg(const uint8_t* data, size_t size, DecodedPicture& picture)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leaveJpeg;
    errors.manager.emit_message = onJpegMessage;
    jpeg_create_decompress(&info);
    std::vector<uint8_t*> rows;
    bool ok = readJpeg(info, errors, data, size, picture, rows);
    jpeg_destroy_decompress(&info);
    return ok || failed(picture);
}

bool decodePictureFile(const char* path, DecodedPicture& picture)
{
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes))
        return failed(picture);
    if (endsWith(path, ".png"))
        return decodePng(bytes.data(), bytes.size(), picture);
    if (endsWith(path, ".jpg") || endsWith(path, ".jpeg") || endsWith(path, ".jpe"))
        return decodeJpeg(bytes.data(), bytes.size(), picture);
    // Other names are known by their first bytes.
    if (bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0)
        return decodePng(bytes.data(), bytes.size(), picture);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return decodeJpeg(bytes.data(), bytes.size(), picture);
    return failed(picture);
}
