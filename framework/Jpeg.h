// TJPEGImage: a JPEG picture decoded with libjpeg into a 24-bit bitmap.
// Corrupt or truncated data raises EJPEG instead of ending the process.
#pragma once

#include <memory>
#include <string>

#include "framework/Graphics.h"

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  int Width() const override;
  int Height() const override;
  // A JPEG picture's size comes from its data: these raise
  // EInvalidGraphicOperation.
  void SetWidth(int v) override;
  void SetHeight(int v) override;
  bool Empty() const override;

  // Decodes the whole file / memory block at once (EFOpenError, EJPEG).
  void LoadFromFile(const std::wstring& fileName) override;
  void LoadFromMemory(const void* data, size_t size) override;
  // Writing JPEG files is not supported: raises EInvalidGraphicOperation.
  void SaveToFile(const std::wstring& fileName) override;

  // Stretches the decoded picture into r of the canvas.
  void Draw(TCanvas* canvas, const TRect& r) override;
  // Copies from another TJPEGImage.
  void Assign(TPersistent* Source) override;

  // The decoded picture (24-bit, owned by the image); an empty bitmap when
  // nothing is loaded.
  TBitmap* Bitmap() const { return bitmap_.get(); }
  // A new 24-bit copy of the picture; the caller owns it.
  std::unique_ptr<TBitmap> ToBitmap() const;
  // Deep copy into `dest` (made 24-bit).
  void AssignTo24(TBitmap& dest) const;

 protected:
  bool AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TBitmap> bitmap_;
};
