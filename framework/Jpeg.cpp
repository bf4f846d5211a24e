#include "framework/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "framework/FileBytes.h"
#include "framework/SysUtils.h"

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// libjpeg's default error_exit ends the process: jump back to the decoder
// instead. No C++ object with a destructor lives between setjmp and the
// library frames that jump, so the jump skips nothing.
void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (for example a truncated file, whose rest reads as grey) are not
// printed to a console we do not have.
void OutputMessage(j_common_ptr) {}

TBitmap* NewBitmap24(int width, int height) {
  try {
    auto* b = new TBitmap();
    b->SetPixelFormat(pf24bit);
    b->SetSize(width, height);
    return b;
  } catch (...) {
    return nullptr;
  }
}

// Decodes into a new 24-bit bitmap; false with `message` filled on failure.
bool Decode(const unsigned char* data, size_t size, TBitmap** out, char* message) {
  jpeg_decompress_struct cinfo;
  ErrorManager jerr;
  TBitmap* volatile bmp = nullptr;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&jerr.pub);
  jerr.pub.error_exit = ErrorExit;
  jerr.pub.output_message = OutputMessage;
  jerr.message[0] = 0;
  if (setjmp(jerr.jump)) {
    jpeg_destroy_decompress(&cinfo);
    delete bmp;
    std::strncpy(message, jerr.message, JMSG_LENGTH_MAX - 1);
    message[JMSG_LENGTH_MAX - 1] = 0;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;  // BGR: the DIB's byte order
  // The size is judged before decompression starts: starting allocates the
  // library's buffers, for a progressive picture as large as the image.
  jpeg_calc_output_dimensions(&cinfo);
  long long w = cinfo.output_width, h = cinfo.output_height;
  if (w <= 0 || h <= 0 || w * h > MaxPicturePixels) {
    std::strcpy(message, "JPEG image is too large");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  bmp = NewBitmap24(static_cast<int>(w), static_cast<int>(h));
  if (!bmp) {
    std::strcpy(message, "Out of memory for the JPEG image");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  JSAMPARRAY cmykRow = nullptr;
  if (cmyk)
    cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                         static_cast<JDIMENSION>(w * 4), 1);
  bool inverted = cinfo.saw_Adobe_marker;  // Adobe writes CMYK inverted
  while (cinfo.output_scanline < cinfo.output_height) {
    auto* row = static_cast<JSAMPLE*>(bmp->ScanLine(static_cast<int>(cinfo.output_scanline)));
    if (!cmyk) {
      JSAMPROW rows[1] = {row};
      jpeg_read_scanlines(&cinfo, rows, 1);
      continue;
    }
    jpeg_read_scanlines(&cinfo, cmykRow, 1);
    const JSAMPLE* s = cmykRow[0];
    for (long long x = 0; x < w; ++x, s += 4, row += 3) {
      int c = s[0], m = s[1], y = s[2], k = s[3];
      if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
      }
      row[0] = static_cast<JSAMPLE>(y * k / 255);
      row[1] = static_cast<JSAMPLE>(m * k / 255);
      row[2] = static_cast<JSAMPLE>(c * k / 255);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  *out = bmp;
  return true;
}

}  // namespace

TJPEGImage::TJPEGImage() : bitmap_(std::make_unique<TBitmap>()) { bitmap_->SetPixelFormat(pf24bit); }

TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const { return bitmap_->Width(); }
int TJPEGImage::Height() const { return bitmap_->Height(); }
bool TJPEGImage::Empty() const { return bitmap_->Empty(); }

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(L"Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(L"Cannot change the size of a JPEG image"); }

void TJPEGImage::LoadFromFile(const std::wstring& fileName) {
  const std::string bytes = ReadFileBytes(fileName);
  LoadFromMemory(bytes.data(), bytes.size());
}

void TJPEGImage::LoadFromMemory(const void* data, size_t size) {
  if (!data || size < 4) throw EJPEG(L"JPEG error #1: not a JPEG file");
  TBitmap* decoded = nullptr;
  char message[JMSG_LENGTH_MAX] = {};
  if (!Decode(static_cast<const unsigned char*>(data), size, &decoded, message))
    throw EJPEG(L"JPEG error: " + AnsiToWide(message));
  bitmap_.reset(decoded);
  Changed();
}

void TJPEGImage::SaveToFile(const std::wstring&) {
  throw EInvalidGraphicOperation(L"Saving JPEG images is not supported");
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& r) {
  if (!Empty()) bitmap_->Draw(canvas, r);
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    bitmap_->Assign(j->bitmap_.get());
    Changed();
    return;
  }
  if (!Source) {
    bitmap_->FreeImage();
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

bool TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    AssignTo24(*b);
    return true;
  }
  return false;
}

void TJPEGImage::AssignTo24(TBitmap& dest) const {
  dest.Assign(bitmap_.get());
  dest.SetPixelFormat(pf24bit);
}

std::unique_ptr<TBitmap> TJPEGImage::ToBitmap() const {
  auto b = std::make_unique<TBitmap>();
  AssignTo24(*b);
  return b;
}
