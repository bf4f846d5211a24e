// skingen: draws the program's five internal skins. For each skin it writes
// a skin folder (Options.dat and Master.bmp, every key spelled out, since
// the internal loader inherits no values) and one C++ source that embeds
// all five for the skin engine. Deterministic: the same sources give the
// same bytes. Usage: skingen <output folder>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Readable.h"
#include "Schemes.h"
#include "SkinModel.h"

namespace skingen {
namespace {

constexpr int kMasterWidth = 320;

Canvas Layout(Skin& k) {
  int x = 0, y = 0, rowH = 0;
  for (Image& im : k.Images) {
    int w = im.CellW * im.States;
    if (x + w > kMasterWidth) {
      x = 0;
      y += rowH + 1;
      rowH = 0;
    }
    im.X = x;
    im.Y = y;
    x += w + 1;
    rowH = std::max(rowH, im.CellH * (im.MaskType() + 1));
  }
  Canvas c(kMasterWidth, y + rowH);
  const Rgb kKeep{0, 0, 0}, kShow{255, 255, 255};
  for (Image& im : k.Images) {
    for (int st = 0; st < im.States; ++st) im.Paint(c, im.X + st * im.CellW, im.Y, st);
    if (im.MaskType() == 1)
      for (int j = 0; j < im.CellH; ++j)
        for (int i = 0; i < im.CellW * im.States; ++i)
          c.Set(im.X + i, im.Y + im.CellH + j, c.Get(im.X + i, im.Y + j) == kFuchsia ? kShow : kKeep);
  }
  return c;
}

std::string F4(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04d", v);
  return buf;
}

std::string ImageValue(const Image& im) {
  std::string r = F4(im.X) + " " + F4(im.Y) + " " + F4(im.X + im.CellW * im.States) + " " +
                  F4(im.Y + im.CellH * (im.MaskType() + 1));
  switch (im.Kind) {
    case '^':
      return "^" + r + " " + F4(im.WL) + " " + F4(im.WT) + " " + F4(im.WR) + " " + F4(im.WB) + " " +
             std::to_string(im.States) + " " + std::to_string(im.MaskType()) + " " +
             std::to_string(im.Stretch) + " 0";
    case '@':
      return "@" + r + " " + std::to_string(im.States) + " 0";
    default: {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%02d", im.Stretch);
      return "~" + r + " " + buf + " 0";
    }
  }
}

std::string Bool(bool b) { return b ? "TRUE" : "FALSE"; }

std::string OptionsText(const Skin& k) {
  std::ostringstream o;
  o << "; " << k.S.Word << " (internal): " << k.S.Description << "\r\n";
  for (const auto& [name, g] : k.Sections) {
    o << "\r\n[" << name << "]\r\n";
    if (name == "GLOBALINFO") {
      o << "VERSION=5.15\r\nAUTHOR=Tarnholt\r\nDESCRIPTION=" << k.S.Description << "\r\n"
        << "SHADOW1COLOR=" << ColorValue(Darker(k.S.Window, 0.7)) << "\r\nSHADOW1OFFSET=0\r\n"
        << "SHADOW1BLUR=-1\r\nSHADOW1TRANSPARENCY=0\r\nBORDERCOLOR=" << ColorValue(k.S.Accent2)
        << "\r\nMASTERBITMAP=Master.bmp\r\n";
    }
    o << "PARENTCLASS=" << g.Parent << "\r\n"
      << "COLOR=" << ColorValue(g.Color) << "\r\nBEVEL=" << g.Bevel << "\r\n"
      << "FONTCOLOR=" << ColorValue(g.Font) << "\r\nTCLEFT=" << g.Contour[0]
      << "\r\nTCTOP=" << g.Contour[1] << "\r\nTCRIGHT=" << g.Contour[2]
      << "\r\nTCBOTTOM=" << g.Contour[3] << "\r\n"
      << "HOTFONTCOLOR=" << ColorValue(g.HotFont) << "\r\nHOTTCLEFT=" << g.HotContour[0]
      << "\r\nHOTTCTOP=" << g.HotContour[1] << "\r\nHOTTCRIGHT=" << g.HotContour[2]
      << "\r\nHOTTCBOTTOM=" << g.HotContour[3] << "\r\n"
      << "RESERVEDBOOLEAN=FALSE\r\nSHADOWBLUR=" << g.ShadowBlur << "\r\nSHADOWCOLOR="
      << g.ShadowColor << "\r\nSHADOWENABLED=" << Bool(g.ShadowEnabled)
      << "\r\nSHADOWOFFSET=" << g.ShadowOffset << "\r\nSHADOWTRANSPARENCY="
      << g.ShadowTransparency << "\r\nTRANSPARENCY=" << g.Transparency
      << "\r\nGRADIENTPERCENT=" << g.GradientPercent << "\r\nGRADIENTDATA=" << GradientText(g.Gradient)
      << "\r\nIMAGEPERCENT=" << g.ImagePercent << "\r\nSHOWFOCUS=" << Bool(g.ShowFocus)
      << "\r\nFADINGENABLED=" << Bool(g.Fading) << "\r\nFADINGINTERVALIN=" << g.FadeIn
      << "\r\nFADINGINTERVALOUT=" << g.FadeOut << "\r\nFADINGITERATIONS=" << g.FadeSteps
      << "\r\nHOTCOLOR=" << ColorValue(g.HotColor) << "\r\nHOTTRANSPARENCY="
      << g.HotTransparency << "\r\nHOTBEVEL=" << g.HotBevel << "\r\nHOTGRADIENTPERCENT="
      << g.HotGradientPercent << "\r\nHOTGRADIENTDATA=" << GradientText(g.HotGradient)
      << "\r\nHOTIMAGEPERCENT=" << g.HotImagePercent << "\r\nBORDERCOLOR1="
      << ColorValue(g.Border1) << "\r\nBORDERCOLOR2=" << ColorValue(g.Border2) << "\r\n";
    for (const Image& im : k.Images)
      if (im.Section == name) o << im.Key << "=" << ImageValue(im) << "\r\n";
  }
  return o.str();
}

void WriteFile(const std::filesystem::path& p, const std::string& data) {
  std::ofstream f(p, std::ios::binary);
  f.write(data.data(), static_cast<std::streamsize>(data.size()));
  if (!f) throw std::runtime_error("cannot write " + p.string());
}

std::string CString(const std::string& text) {
  std::string r = "\"";
  for (char ch : text) {
    if (ch == '\r') continue;
    if (ch == '\n') r += "\\n\"\n    \"";
    else if (ch == '"' || ch == '\\') r += std::string("\\") + ch;
    else r += ch;
  }
  return r + "\"";
}

std::string CBytes(const std::vector<uint8_t>& bytes) {
  std::string r;
  r.reserve(bytes.size() * 4 + bytes.size() / 8);
  for (size_t i = 0; i < bytes.size(); ++i) {
    r += std::to_string(bytes[i]);
    r += ',';
    if (i % 24 == 23) r += "\n    ";
  }
  return r;
}

}  // namespace
}  // namespace skingen

int main(int argc, char** argv) {
  using namespace skingen;
  if (argc != 2) {
    std::cerr << "usage: skingen <output folder>\n";
    return 2;
  }
  try {
    std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    std::ostringstream src;
    src << "// Generated by tools/skingen from its own drawing code; do not edit.\n"
        << "#include \"skin/engine/InternalSkins.h\"\n\nnamespace {\n";
    std::vector<Scheme> schemes = InternalSchemes();
    std::vector<std::string> entries;
    for (size_t i = 0; i < schemes.size(); ++i) {
      Skin skin = BuildSkin(schemes[i]);
      Canvas master = Layout(skin);
      MakeReadable(skin, master);
      std::string options = OptionsText(skin);
      std::filesystem::create_directories(out / skin.S.Word);
      WriteFile(out / skin.S.Word / "Options.dat", options);
      std::vector<uint8_t> bmp = master.ToBmp();
      WriteFile(out / skin.S.Word / "Master.bmp", std::string(bmp.begin(), bmp.end()));
      std::vector<uint8_t> packed = master.Packed();
      src << "\nconst char kOptions" << i << "[] =\n    " << CString(options) << ";\n"
          << "const unsigned char kPixels" << i << "[] = {\n    " << CBytes(packed) << "\n};\n";
      entries.push_back("    {L\"" + skin.S.Word + " (internal)\", kOptions" + std::to_string(i) +
                        ", sizeof(kOptions" + std::to_string(i) + ") - 1, " +
                        std::to_string(master.Width()) + ", " + std::to_string(master.Height()) +
                        ", kPixels" + std::to_string(i) + ", sizeof(kPixels" + std::to_string(i) +
                        ")},\n");
    }
    src << "\n}  // namespace\n\nconst TacEmbeddedSkin kEmbeddedSkins[] = {\n";
    for (const std::string& e : entries) src << e;
    src << "};\nconst int kEmbeddedSkinCount = " << entries.size() << ";\n";
    // Written last and only when it changed, so a rebuild of the generator
    // alone does not recompile the engine.
    std::filesystem::path cpp = out / "InternalSkinsData.cpp";
    std::string text = src.str();
    std::ifstream old(cpp, std::ios::binary);
    std::string previous((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
    if (previous != text) WriteFile(cpp, text);
  } catch (const std::exception& e) {
    std::cerr << "skingen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
