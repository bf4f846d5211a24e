#include "Readable.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace skingen {
namespace {

const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};

double Linear(uint8_t v) {
  const double c = v / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

const General* SectionNamed(const Skin& k, const std::string& name) {
  for (const auto& [n, g] : k.Sections)
    if (n == name) return &g;
  return nullptr;
}

std::string NameOf(const Skin& k, const General& g) {
  for (const auto& [n, s] : k.Sections)
    if (&s == &g) return n;
  return "";
}

// The image of a section or of the first ancestor that has one.
const Image* ImageOf(const Skin& k, const General& g, const std::string& key) {
  std::string name = NameOf(k, g);
  for (int depth = 0; depth < 8 && !name.empty(); ++depth) {
    for (const Image& im : k.Images)
      if (im.Section == name && im.Key == key) return &im;
    const General* s = SectionNamed(k, name);
    if (!s || s->Parent == name) break;
    name = s->Parent;
  }
  return nullptr;
}

struct Sum {
  double r = 0, g = 0, b = 0;
  int n = 0;
  void Add(Rgb c) { r += c.r; g += c.g; b += c.b; ++n; }
  Rgb Mean(Rgb none) const {
    if (n == 0) return none;
    auto ch = [this](double v) { return static_cast<uint8_t>(std::lround(v / n)); };
    return Rgb{ch(r), ch(g), ch(b)};
  }
};

Rgb Background(const Skin& k, const Canvas& master, const General& g, bool hot) {
  const Rgb color = hot ? g.HotColor : g.Color;
  const int image = hot ? g.HotImagePercent : g.ImagePercent;
  const int gradient = hot ? g.HotGradientPercent : g.GradientPercent;
  const Gradient2& grad = hot ? g.HotGradient : g.Gradient;
  Rgb bg = color;
  if (image > 0) {
    if (const Image* t = ImageOf(k, g, hot ? "HOTPATTERN" : "PATTERN")) {
      Sum s;
      for (int y = 0; y < t->CellH; ++y)
        for (int x = 0; x < t->CellW; ++x) {
          const Rgb p = master.Get(t->X + x, t->Y + y);
          if (!(p == kFuchsia)) s.Add(p);
        }
      bg = s.Mean(color);
    }
  } else if (gradient > 0 && grad.On) {
    bg = Mix(grad.Top, grad.Bottom, 0.5);
  }
  const int share = image + gradient;
  return share > 0 && share < 100 ? Mix(color, bg, share / 100.0) : bg;
}

// Every face colour of one state moved towards a pole.
void ShiftFace(General& g, bool hot, Rgb pole, double t) {
  Rgb& color = hot ? g.HotColor : g.Color;
  Gradient2& grad = hot ? g.HotGradient : g.Gradient;
  color = Mix(color, pole, t);
  grad.Top = Mix(grad.Top, pole, t);
  grad.Bottom = Mix(grad.Bottom, pole, t);
}

// Where a section's text goes when it must move: towards the end (white or
// black) it already leans to, unless its face sits on that end too. Normal
// and hot text share it, so a caption does not turn from light to dark
// under the mouse.
Rgb TextPole(Rgb text, Rgb normalFace) {
  const Rgb own = Luminance(text) > 0.18 ? kWhite : kBlack;
  if (ContrastRatio(own, normalFace) >= 3.0) return own;
  return own == kWhite ? kBlack : kWhite;
}

// A colour as the program shows it after its saturation change (every
// channel moved away from the colour's average).
Rgb Saturated(Rgb c) {
  const double avg = (c.r + c.g + c.b) / 3.0;
  auto ch = [&](int v) {
    return static_cast<uint8_t>(
        std::clamp<long>(std::lround(v - kProgramSaturation * (avg - v) / 100.0), 0, 255));
  };
  return Rgb{ch(c.r), ch(c.g), ch(c.b)};
}

bool Reads(Rgb text, const std::vector<Rgb>& faces, const Rgb* disabledFace) {
  for (Rgb f : faces) {
    Rgb shown[2] = {text, text};
    if (disabledFace) shown[1] = DisabledText(text, *disabledFace);
    for (Rgb t : shown)
      if (ContrastRatio(t, f) < kTextContrast ||
          ContrastRatio(Saturated(t), Saturated(f)) < kTextContrast)
        return false;
  }
  return true;
}

// Text moved as little as it takes towards the pole that reads better.
bool FixText(Rgb& text, Rgb pole, const std::vector<Rgb>& faces, const Rgb* disabledFace) {
  if (Reads(text, faces, disabledFace)) return true;
  for (int step = 1; step <= 20; ++step) {
    const Rgb candidate = Mix(text, pole, step / 20.0);
    if (Reads(candidate, faces, disabledFace)) {
      text = candidate;
      return true;
    }
  }
  return false;
}

int StatesOf(const Skin& k, const General& g) {
  const Image* mask = ImageOf(k, g, "BORDERSMASK");
  return mask ? mask->States : 2;
}

}  // namespace

double Luminance(Rgb c) {
  return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

double ContrastRatio(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb DisabledText(Rgb text, Rgb sectionColor) {
  return Mix(text, sectionColor, kDisabledFadePercent / 100.0);
}

Rgb FaceMean(const Skin& k, const Canvas& master, const General& g, int state) {
  const Rgb bg = Background(k, master, g, state != 0);
  const Image* mask = ImageOf(k, g, "BORDERSMASK");
  if (!mask) return bg;
  const int cell = std::min(state, mask->States - 1);
  Sum s;
  for (int y = mask->WT; y < mask->CellH - mask->WB; ++y)
    for (int x = mask->WL; x < mask->CellW - mask->WR; ++x) {
      const Rgb p = master.Get(mask->X + cell * mask->CellW + x, mask->Y + y);
      s.Add(p == kFuchsia ? bg : p);
    }
  return s.Mean(bg);
}

void MakeReadable(Skin& k, const Canvas& master) {
  for (auto& [name, g] : k.Sections) {
    const int states = StatesOf(k, g);
    const Rgb pole = TextPole(g.Font, FaceMean(k, master, g, 0));
    for (bool hot : {false, true}) {
      bool done = false;
      for (int attempt = 0; attempt < 8 && !done; ++attempt) {
        std::vector<Rgb> faces;
        if (!hot) faces.push_back(FaceMean(k, master, g, 0));
        else
          for (int st = 1; st <= std::min(2, std::max(1, states - 1)); ++st)
            faces.push_back(FaceMean(k, master, g, st));
        const Rgb disabledFace = g.Color;
        Rgb& text = hot ? g.HotFont : g.Font;
        done = FixText(text, pole, faces, hot ? nullptr : &disabledFace);
        // Even black or white text does not read: move the faces away from
        // the text's pole, and try again.
        if (!done) ShiftFace(g, hot, pole == kWhite ? kBlack : kWhite, 0.25);
      }
      if (!done)
        throw std::runtime_error("section " + name + (hot ? " (hot)" : "") + " of " + k.S.Word +
                                 " has no readable text colour");
    }
  }
}

}  // namespace skingen
