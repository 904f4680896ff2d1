#include "app/jpeg_decoder.h"

int jpegScaleEighths(int fullWidth, int fullHeight, int minWidth, int minHeight) {
    if (minWidth <= 0 || minHeight <= 0) {
        return 8;
    }
    for (int n = 1; n < 8; ++n) {
        // libjpeg rounds a scaled side up.
        const long long w = (static_cast<long long>(fullWidth) * n + 7) / 8;
        const long long h = (static_cast<long long>(fullHeight) * n + 7) / 8;
        if (w >= minWidth && h >= minHeight) {
            return n;
        }
    }
    return 8;
}

#if TARVOK_HAVE_LIBJPEG

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    jpeg_progress_mgr progress;
    int maxScans;
};

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings are not shown; a file that ends too soon is a failure, not a grey picture.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        if (cinfo->err->msg_code == JWRN_JPEG_EOF) {
            errorExit(cinfo);
        }
        ++cinfo->err->num_warnings;
    }
}

void outputMessage(j_common_ptr) {}

void watchScans(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (cinfo->is_decompressor && d->input_scan_number > reinterpret_cast<ErrorManager*>(cinfo->err)->maxScans) {
        errorExit(cinfo);
    }
}

// One CMYK row to BGR. Adobe's files store the inks inverted (255 = no ink).
void cmykToBgr(const JSAMPLE* in, unsigned char* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = static_cast<unsigned char>((y * k + 127) / 255);
        out[1] = static_cast<unsigned char>((m * k + 127) / 255);
        out[2] = static_cast<unsigned char>((c * k + 127) / 255);
    }
}

// The steps between setjmp and the end; nothing here may own memory of its own
// because a longjmp can leave at any library call. Kept out of line so that none of
// its locals live in the frame that calls setjmp.
[[gnu::noinline]] bool decodeSteps(jpeg_decompress_struct& cinfo, ByteSpan bytes, const PixelAllocator& allocate,
                 const JpegRequest& request, JpegResult& result, std::vector<JSAMPLE>& cmykRow) {
    jpeg_mem_src(&cinfo, bytes.data, static_cast<unsigned long>(bytes.size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    result.full = {static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height)};
    result.components = cinfo.num_components;
    if (!request.limits.allows(cinfo.image_width, cinfo.image_height)) {
        return false;
    }
    const bool fourInks = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (fourInks) {
        cinfo.out_color_space = JCS_CMYK;
    } else if (cinfo.num_components == 1 || cinfo.num_components == 3) {
        cinfo.out_color_space = JCS_EXT_BGR; // greyscale is widened by the library
    } else {
        return false;
    }
    const PictureSize smallest =
        request.smallestFor ? request.smallestFor(result.full) : PictureSize{request.minWidth, request.minHeight};
    cinfo.scale_num =
        static_cast<unsigned>(jpegScaleEighths(result.full.width, result.full.height, smallest.width, smallest.height));
    cinfo.scale_denom = 8;
    jpeg_start_decompress(&cinfo);
    const int width = static_cast<int>(cinfo.output_width), height = static_cast<int>(cinfo.output_height);
    result.decoded = {width, height};
    unsigned char* pixels = allocate(width, height);
    if (!pixels) {
        return false;
    }
    if (fourInks) {
        cmykRow.resize(static_cast<size_t>(width) * 4);
    }
    const size_t stride = dibStride(width);
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* row = pixels + stride * cinfo.output_scanline;
        JSAMPROW target = fourInks ? cmykRow.data() : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) {
            return false;
        }
        if (fourInks) {
            cmykToBgr(cmykRow.data(), row, cinfo.output_width, cinfo.saw_Adobe_marker);
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

} // namespace

bool decodeJpeg(ByteSpan bytes, const PixelAllocator& allocate, const JpegRequest& request, JpegResult* out) {
    if (bytes.size < 2 || bytes.data[0] != 0xFF || bytes.data[1] != 0xD8) {
        return false;
    }
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.emit_message = emitMessage;
    errors.pub.output_message = outputMessage;
    // Owned out here so that a longjmp out of the steps leaks nothing.
    std::vector<JSAMPLE> cmykRow;
    JpegResult result;
    bool ok = false;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        errors.progress.progress_monitor = watchScans;
        errors.maxScans = request.maxScans;
        cinfo.progress = &errors.progress;
        ok = decodeSteps(cinfo, bytes, allocate, request, result, cmykRow);
    }
    jpeg_destroy_decompress(&cinfo);
    if (out) {
        *out = result;
    }
    return ok;
}

#else

bool decodeJpeg(ByteSpan, const PixelAllocator&, const JpegRequest&, JpegResult*) { return false; }

#endif
