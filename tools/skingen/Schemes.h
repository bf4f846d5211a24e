// The colour schemes of the five internal skins.
#pragma once

#include <string>
#include <vector>

#include "Canvas.h"

namespace skingen {

struct Scheme {
  std::string Word;  // the skin is named Word + " (internal)"
  std::string Description;
  Rgb Window;    // form and panel background
  Rgb Face;      // button face, top
  Rgb Face2;     // button face, bottom
  Rgb Hot;       // face under the mouse
  Rgb Border;    // control outlines
  Rgb Accent;    // caption, selection, focus
  Rgb Accent2;   // darker end of the accent
  Rgb Text;      // control text
  Rgb TitleText; // caption text
  Rgb EditBg;    // edit and list background
  Rgb Light;     // highlight lines
};

// In the order the program stores them; the fourth is the one selected.
std::vector<Scheme> InternalSchemes();

}  // namespace skingen
