// The five skins' sections and images: which section gets which general
// keys and which frames and glyphs, drawn in the scheme's colours.
#include <string>

#include "Painters.h"
#include "SkinModel.h"

namespace skingen {
namespace {

General Plain(const Scheme& s, Rgb color) {
  General g;
  g.Color = color;
  g.HotColor = color;
  g.Font = s.Text;
  g.HotFont = s.Text;
  g.Border1 = s.Border;
  g.Border2 = s.Light;
  return g;
}

General Buttonish(const Scheme& s) {
  General g = Plain(s, s.Face);
  g.GradientPercent = 100;
  g.Gradient = Grad(s.Face, s.Face2);
  g.HotColor = s.Hot;
  g.HotGradientPercent = 100;
  g.HotGradient = Grad(Lighter(s.Hot, 0.3), s.Hot);
  g.ShowFocus = true;
  g.Fading = true;
  return g;
}

General Flat(const Scheme& s) {  // transparent until the mouse comes
  General g = Buttonish(s);
  g.Color = s.Window;
  g.Transparency = 100;
  g.GradientPercent = 0;
  g.ShowFocus = false;
  return g;
}

General Editish(const Scheme& s) {
  General g = Plain(s, s.EditBg);
  g.HotColor = s.EditBg;
  return g;
}

General See(const Scheme& s) {  // labels, check boxes, track bars
  General g = Plain(s, s.Window);
  g.Transparency = 100;
  g.HotTransparency = 100;
  g.HotFont = s.Accent2;
  return g;
}

FrameLook Outline(Rgb outer, Rgb inner, Rgb shade, int radius = 1) {
  FrameLook k;
  k.Outer = outer;
  k.Inner = inner;
  k.InnerShade = shade;
  k.Radius = radius;
  return k;
}

// Three states of a raised button: normal, hot, pressed.
std::function<void(Canvas&, int, int, int)> ButtonFrame(const Scheme& s, int w, int h, int radius,
                                                          bool flat = false) {
  return [=](Canvas& c, int x, int y, int st) {
    if (flat && st == 0) return;
    Rgb outer = st == 0 ? s.Border : st == 1 ? s.Accent : s.Accent2;
    Rgb inner = st == 2 ? Mix(s.Face2, s.Border, 0.25) : s.Light;
    Rgb shade = st == 2 ? s.Light : Mix(s.Face2, s.Border, 0.2);
    DrawFrameCell(c, x, y, w, h, Outline(outer, inner, shade, radius));
  };
}

std::function<void(Canvas&, int, int, int)> EditFrame(const Scheme& s, int w, int h) {
  return [=](Canvas& c, int x, int y, int st) {
    Rgb outer = st == 0 ? s.Border : s.Accent;
    FrameLook k = Outline(outer, Mix(s.EditBg, outer, 0.2), s.EditBg, 0);
    DrawFrameCell(c, x, y, w, h, k);
  };
}

std::function<void(Canvas&, int, int, int)> PanelFrame(Rgb outer, Rgb inner, Rgb shade, int w,
                                                         int h, int radius = 0) {
  return [=](Canvas& c, int x, int y, int) {
    DrawFrameCell(c, x, y, w, h, Outline(outer, inner, shade, radius));
  };
}

std::function<void(Canvas&, int, int, int)> Lines(Rgb color, bool top, bool bottom, int w,
                                                    int h) {
  return [=](Canvas& c, int x, int y, int) {
    if (top) c.HLine(x, y, w, color);
    if (bottom) c.HLine(x, y + h - 1, w, color);
  };
}

// A tab: rounded and outlined on three sides, open towards its page.
std::function<void(Canvas&, int, int, int)> TabFrame(const Scheme& s, int w, int h, char side) {
  return [=](Canvas& c, int x, int y, int st) {
    FrameLook k = Outline(st == 1 ? s.Accent : s.Border, s.Light, Mix(s.Face2, s.Border, 0.2), 1);
    k.Top = side != 'T';
    k.Bottom = side != 'B';
    k.Left = side != 'L';
    k.Right = side != 'R';
    if (st == 2) {
      k.Fill = true;
      k.FillTop = s.Window;
      k.FillBottom = s.Window;
    }
    DrawFrameCell(c, x, y, w, h, k);
    if (st == 2) {  // the selected tab carries an accent line on its far edge
      if (side == 'B') c.HLine(x + 2, y + 1, w - 4, s.Accent);
      if (side == 'T') c.HLine(x + 2, y + h - 2, w - 4, s.Accent);
      if (side == 'R') c.VLine(x + 1, y + 2, h - 4, s.Accent);
      if (side == 'L') c.VLine(x + w - 2, y + 2, h - 4, s.Accent);
    }
  };
}

void AddFrame(Skin& k, const std::string& section, int w, int h, int states, int border,
              std::function<void(Canvas&, int, int, int)> paint, int stretch = 1) {
  Image im{section, "BORDERSMASK", '^', w, h, states};
  im.WL = im.WT = im.WR = im.WB = border;
  im.Stretch = stretch;
  im.Paint = std::move(paint);
  k.Images.push_back(std::move(im));
}

void AddGlyph(Skin& k, const std::string& section, const std::string& key, int w, int h,
              int states, std::function<void(Canvas&, int, int, int)> paint) {
  Image im{section, key, '@', w, h, states};
  im.Paint = std::move(paint);
  k.Images.push_back(std::move(im));
}

}  // namespace

std::string GradientText(const Gradient2& g) {
  if (!g.On) return "";
  return std::to_string(ColorValue(g.Top)) + ";" + std::to_string(ColorValue(g.Bottom)) + ";100;0;0";
}

Skin BuildSkin(const Scheme& s) {
  Skin k{s, {}, {}};
  auto sec = [&](const std::string& name, General g) { k.Sections.emplace_back(name, g); };
  const Rgb panelLine = Mix(s.Window, s.Border, 0.45);
  const Rgb trackColor = Mix(s.Window, s.Border, 0.12);

  // Sections, in alphabetical order as the file lists them.
  General g;
  g = Editish(s); g.Parent = "COMBOBOX"; sec("ALPHACOMBOBOX", g);
  g = Editish(s); g.Parent = "EDIT"; sec("ALPHAEDIT", g);
  sec("BAR", Plain(s, s.Window));
  g = Plain(s, Mix(s.Window, s.Face2, 0.5)); g.ImagePercent = 100; sec("BARPANEL", g);
  g = Buttonish(s); g.Font = s.Accent2; g.HotFont = s.Accent2; sec("BARTITLE", g);
  sec("BUTTON", Buttonish(s));
  g = Buttonish(s); g.Parent = "BUTTON"; sec("BUTTON_BIG", g);
  g = Buttonish(s); g.Parent = "BUTTON"; sec("BUTTON_HUGE", g);
  sec("CHECKBOX", See(s));
  g = Buttonish(s); g.ShowFocus = false; sec("COLHEADER", g);
  sec("COMBOBOX", Editish(s));
  sec("DIALOG", Plain(s, s.Window));
  g = Plain(s, panelLine); sec("DIVIDER", g);
  g = Plain(s, s.Face2); sec("DRAGBAR", g);
  sec("EDIT", Editish(s));
  g = Plain(s, s.Accent); g.GradientPercent = 100; g.Gradient = Grad(s.Accent, s.Accent2);
  g.Font = s.TitleText; sec("EXTRALINE", g);
  sec("FORM", Plain(s, s.Window));
  g = Plain(s, s.Accent); g.GradientPercent = 100; g.Gradient = Grad(Lighter(s.Accent, 0.2), s.Accent2);
  g.HotColor = s.Accent; g.HotGradientPercent = 100; g.HotGradient = g.Gradient;
  g.Font = s.TitleText; g.HotFont = s.TitleText; g.Contour[3] = ColorValue(Darker(s.Accent2, 0.3));
  sec("FORMTITLE", g);
  // The empty trough of a progress bar: light, so the accent fill stands out.
  g = Editish(s); g.GradientPercent = 100; g.Gradient = Grad(Mix(s.EditBg, s.Border, 0.25), s.EditBg);
  sec("GAUGE", g);
  g = Plain(s, s.Window);
  g.HotColor = s.Hot; g.ShadowColor = ColorValue(Darker(s.Window, 0.6)); sec("GLOBALINFO", g);
  g = Plain(s, s.Face2); sec("GRIPH", g);
  g = Plain(s, s.Window); g.Font = s.Accent2; sec("GROUPBOX", g);
  g = Plain(s, Mix(Lighter(s.Accent, 0.85), s.EditBg, 0.4)); g.GradientPercent = 100;
  g.Gradient = Grad(s.EditBg, Lighter(s.Accent, 0.8)); g.Transparency = 0; sec("HINT", g);
  g = Plain(s, s.Face2); sec("ICOLINE", g);
  g = Plain(s, s.Face); g.GradientPercent = 100; g.Gradient = Grad(s.Face, s.Window); sec("MAINMENU", g);
  g = Editish(s); g.HotColor = Lighter(s.Accent, 0.7); g.HotFont = s.Text; sec("MENUITEM", g);
  g = Plain(s, panelLine); sec("MENULINE", g);
  sec("PAGECONTROL", Plain(s, s.Window));
  g = Plain(s, s.Window); g.Parent = "PAGECONTROL"; sec("PAGECONTROLBOTTOM", g);
  g = Plain(s, s.Window); g.Parent = "PAGECONTROL"; sec("PAGECONTROLLEFT", g);
  g = Plain(s, s.Window); g.Parent = "PAGECONTROL"; sec("PAGECONTROLRIGHT", g);
  sec("PANEL", Plain(s, s.Window));
  g = Plain(s, Mix(s.Window, s.Face2, 0.6)); sec("PANEL_LOW", g);
  g = Plain(s, s.Accent); g.GradientPercent = 100; g.Gradient = Grad(Lighter(s.Accent, 0.4), s.Accent);
  sec("PROGRESSH", g);
  g.Parent = "PROGRESSH"; g.Gradient = Grad(Lighter(s.Accent, 0.4), s.Accent);
  sec("PROGRESSV", g);
  sec("RADIOBUTTON", See(s));
  for (const char* name : {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"}) {
    g = Plain(s, trackColor);
    g.HotColor = Mix(trackColor, s.Border, 0.15);
    sec(name, g);
  }
  for (const char* name : {"SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLBTNTOP",
                           "SCROLLSLIDERH", "SCROLLSLIDERV"}) {
    g = Buttonish(s);
    g.ShowFocus = false;
    sec(name, g);
  }
  sec("SPEEDBUTTON", Flat(s));
  g = Flat(s); g.Parent = "SPEEDBUTTON"; sec("SPEEDBUTTON_SMALL", g);
  g = Plain(s, panelLine); sec("SPLITTER", g);
  g = Plain(s, s.Face2); g.ImagePercent = 100; sec("STATUSBAR", g);
  for (const char* name : {"TABBOTTOM"}) { g = Buttonish(s); g.ShowFocus = false; sec(name, g); }
  g = Plain(s, s.Window); g.Parent = "PAGECONTROL"; sec("TABCONTROL", g);
  g = Plain(s, s.Window); g.Parent = "PAGECONTROLBOTTOM"; sec("TABCONTROLBOTTOM", g);
  g = Plain(s, s.Window); g.Parent = "PAGECONTROLLEFT"; sec("TABCONTROLLEFT", g);
  g = Plain(s, s.Window); g.Parent = "PAGECONTROLRIGHT"; sec("TABCONTROLRIGHT", g);
  for (const char* name : {"TABLEFT", "TABRIGHT", "TABTOP"}) {
    g = Buttonish(s);
    g.ShowFocus = false;
    sec(name, g);
  }
  g = Plain(s, s.Face); g.GradientPercent = 100; g.Gradient = Grad(s.Face, s.Face2); sec("TOOLBAR", g);
  g = Flat(s); g.Parent = "SPEEDBUTTON"; sec("TOOLBUTTON", g);
  sec("TRACKBAR", See(s));
  g = See(s); g.Font = s.Accent2; g.HotFont = s.Accent; sec("WEBBUTTON", g);

  // Frames.
  AddFrame(k, "BUTTON", 16, 18, 3, 4, ButtonFrame(s, 16, 18, 1));
  AddFrame(k, "BUTTON_BIG", 20, 24, 3, 5, ButtonFrame(s, 20, 24, 2));
  AddFrame(k, "BUTTON_HUGE", 24, 28, 3, 6, ButtonFrame(s, 24, 28, 2));
  AddFrame(k, "SPEEDBUTTON", 16, 18, 3, 4, ButtonFrame(s, 16, 18, 1, true));
  AddFrame(k, "SPEEDBUTTON_SMALL", 12, 12, 3, 3, ButtonFrame(s, 12, 12, 1, true));
  AddFrame(k, "TOOLBUTTON", 14, 14, 3, 3, ButtonFrame(s, 14, 14, 1, true));
  for (const char* name : {"EDIT", "ALPHAEDIT", "COMBOBOX", "ALPHACOMBOBOX"})
    AddFrame(k, name, 12, 12, 2, 3, EditFrame(s, 12, 12));
  auto formFrame = [=](Canvas& c, int x, int y, int st) {
    Rgb outer = st == 0 ? s.Accent2 : Mix(s.Accent2, s.Window, 0.5);
    FrameLook f = Outline(outer, st == 0 ? s.Accent : Mix(s.Accent, s.Window, 0.5), outer, 0);
    DrawFrameCell(c, x, y, 16, 16, f);
    DrawFrameCell(c, x + 2, y + 2, 12, 12, Outline(Lighter(outer, 0.3), s.Window, s.Window, 0));
    c.Fill(x + 2, y + 2, 1, 12, Lighter(s.Accent, 0.2));
  };
  AddFrame(k, "FORM", 16, 16, 2, 4, formFrame);
  AddFrame(k, "DIALOG", 16, 16, 2, 4, formFrame);
  {
    Image title{"FORMTITLE", "BORDERSMASK", '^', 24, 26, 2};
    title.WL = 4; title.WT = 4; title.WR = 4; title.WB = 2;
    title.Stretch = 1;
    title.Paint = [=](Canvas& c, int x, int y, int st) {
      Rgb outer = st == 0 ? Darker(s.Accent2, 0.2) : Mix(s.Accent2, s.Window, 0.5);
      FrameLook f = Outline(outer, Lighter(s.Accent, 0.45), s.Accent2, 2);
      f.Bottom = false;
      f.InnerShade = Lighter(s.Accent, 0.2);
      DrawFrameCell(c, x, y, 24, 26, f);
      c.HLine(x + 1, y + 25, 22, Darker(s.Accent2, 0.1));
    };
    k.Images.push_back(title);
  }
  AddFrame(k, "GROUPBOX", 12, 12, 1, 3, PanelFrame(panelLine, s.Light, s.Light, 12, 12, 1));
  AddFrame(k, "PANEL", 12, 12, 1, 2, PanelFrame(s.Light, s.Light, panelLine, 12, 12));
  AddFrame(k, "PANEL_LOW", 12, 12, 1, 2, PanelFrame(panelLine, Mix(s.Window, s.Border, 0.25), s.Light, 12, 12));
  AddFrame(k, "BARPANEL", 12, 12, 1, 2, PanelFrame(panelLine, s.Light, s.Light, 12, 12));
  AddFrame(k, "BARTITLE", 16, 18, 3, 4, ButtonFrame(s, 16, 18, 2));
  AddFrame(k, "STATUSBAR", 12, 12, 1, 2, Lines(panelLine, true, false, 12, 12));
  AddFrame(k, "TOOLBAR", 12, 12, 1, 2, Lines(panelLine, false, true, 12, 12));
  AddFrame(k, "MAINMENU", 12, 12, 1, 2, Lines(panelLine, false, true, 12, 12));
  for (const char* name : {"PAGECONTROL", "PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT"})
    AddFrame(k, name, 12, 12, 1, 2, PanelFrame(panelLine, s.Light, s.Light, 12, 12));
  AddFrame(k, "TABTOP", 16, 18, 3, 4, TabFrame(s, 16, 18, 'B'));
  AddFrame(k, "TABBOTTOM", 16, 18, 3, 4, TabFrame(s, 16, 18, 'T'));
  AddFrame(k, "TABLEFT", 18, 16, 3, 4, TabFrame(s, 18, 16, 'R'));
  AddFrame(k, "TABRIGHT", 18, 16, 3, 4, TabFrame(s, 18, 16, 'L'));
  for (const char* name : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT",
                           "SCROLLSLIDERH", "SCROLLSLIDERV"})
    AddFrame(k, name, 16, 16, 3, 3, ButtonFrame(s, 16, 16, 1));
  for (const char* name : {"SCROLLBAR1H", "SCROLLBAR2H"})
    AddFrame(k, name, 12, 12, 2, 1, Lines(Mix(trackColor, s.Border, 0.3), true, true, 12, 12));
  for (const char* name : {"SCROLLBAR1V", "SCROLLBAR2V"})
    AddFrame(k, name, 12, 12, 2, 1, [=](Canvas& c, int x, int y, int) {
      c.VLine(x, y, 12, Mix(trackColor, s.Border, 0.3));
      c.VLine(x + 11, y, 12, Mix(trackColor, s.Border, 0.3));
    });
  AddFrame(k, "PROGRESSH", 12, 12, 1, 2, PanelFrame(s.Accent2, Lighter(s.Accent, 0.5), s.Accent, 12, 12, 1));
  AddFrame(k, "PROGRESSV", 12, 12, 1, 2, PanelFrame(s.Accent2, Lighter(s.Accent, 0.5), s.Accent, 12, 12, 1));
  AddFrame(k, "GAUGE", 12, 12, 1, 2, PanelFrame(s.Border, Mix(s.EditBg, s.Border, 0.2), s.EditBg, 12, 12, 1));
  AddFrame(k, "COLHEADER", 14, 14, 3, 3, [=](Canvas& c, int x, int y, int st) {
    c.HLine(x, y + 13, 14, st == 1 ? s.Accent : panelLine);
    c.VLine(x + 13, y + 2, 10, panelLine);
    c.VLine(x, y + 2, 10, s.Light);
    if (st == 2) c.HLine(x, y, 14, s.Accent2);
  });
  AddFrame(k, "HINT", 12, 12, 1, 3, PanelFrame(s.Border, s.Light, Lighter(s.Accent, 0.8), 12, 12, 2));
  AddFrame(k, "MENUITEM", 12, 12, 2, 3, [=](Canvas& c, int x, int y, int st) {
    if (st == 1) DrawFrameCell(c, x, y, 12, 12, Outline(s.Accent, Lighter(s.Accent, 0.85), Lighter(s.Accent, 0.6), 1));
  });

  // Glyphs of the scroll bars, combo box and sliders.
  struct ArrowDef { const char* section; Arrow dir; };
  for (ArrowDef a : {ArrowDef{"SCROLLBTNTOP", Arrow::Up}, ArrowDef{"SCROLLBTNBOTTOM", Arrow::Down},
                     ArrowDef{"SCROLLBTNLEFT", Arrow::Left}, ArrowDef{"SCROLLBTNRIGHT", Arrow::Right}})
    AddGlyph(k, a.section, "GLYPHMASK", 9, 9, 3, [=](Canvas& c, int x, int y, int st) {
      DrawArrow(c, x, y, 9, 9, a.dir, st == 0 ? s.Text : st == 1 ? s.Accent : s.Accent2);
    });
  AddGlyph(k, "COMBOBOX", "GLYPHMASK", 9, 9, 3, [=](Canvas& c, int x, int y, int st) {
    DrawArrow(c, x, y, 9, 9, Arrow::Down, st == 0 ? s.Text : st == 1 ? s.Accent : s.Accent2);
  });
  AddGlyph(k, "SCROLLSLIDERH", "GLYPHMASK", 8, 8, 3, [=](Canvas& c, int x, int y, int st) {
    DrawGrip(c, x, y, 8, 8, false, st == 0 ? s.Border : s.Accent2, s.Light);
  });
  AddGlyph(k, "SCROLLSLIDERV", "GLYPHMASK", 8, 8, 3, [=](Canvas& c, int x, int y, int st) {
    DrawGrip(c, x, y, 8, 8, true, st == 0 ? s.Border : s.Accent2, s.Light);
  });

  // GLOBALINFO: check and radio boxes, menu check, grip, caption buttons.
  struct BoxDef { const char* key; bool radio; int size; int mark; };
  for (BoxDef b : {BoxDef{"BOXCHECKED", false, 13, 1}, BoxDef{"BOXUNCHECKED", false, 13, 0},
                   BoxDef{"BOXGRAYED", false, 13, 2}, BoxDef{"RADIOCHECKED", true, 13, 1},
                   BoxDef{"RADIOUNCHECKED", true, 13, 0}, BoxDef{"RADIOGRAYED", true, 13, 2},
                   BoxDef{"SMALLCHECKED", false, 11, 1}, BoxDef{"SMALLUNCHECKED", false, 11, 0},
                   BoxDef{"SMALLGRAYED", false, 11, 2}})
    AddGlyph(k, "GLOBALINFO", b.key, b.size, b.size, 3, [=](Canvas& c, int x, int y, int st) {
      if (b.radio) DrawRadio(c, x, y, b.size, s, st, b.mark);
      else DrawCheckBox(c, x, y, b.size, s, st, b.mark);
    });
  AddGlyph(k, "GLOBALINFO", "CHECK", 10, 10, 2, [=](Canvas& c, int x, int y, int st) {
    DrawCheckMark(c, x, y, 10, 10, st == 0 ? s.Text : s.Accent2);
  });
  AddGlyph(k, "GLOBALINFO", "GRIPIMAGE", 12, 12, 1, [=](Canvas& c, int x, int y, int) {
    DrawSizeGrip(c, x, y, 12, s.Border, s.Light);
  });
  struct CapDef { const char* key; CaptionIcon icon; int w, h; };
  for (CapDef d : {CapDef{"BICONCLOSE", CaptionIcon::Close, 21, 19}, CapDef{"BICONMIN", CaptionIcon::Min, 21, 19},
                   CapDef{"BICONMAX", CaptionIcon::Max, 21, 19}, CapDef{"BICONNORM", CaptionIcon::Norm, 21, 19},
                   CapDef{"BICONHELP", CaptionIcon::Help, 21, 19}, CapDef{"SICONCLOSE", CaptionIcon::Close, 15, 13},
                   CapDef{"SICONNORM", CaptionIcon::Norm, 15, 13}, CapDef{"TITLEBUTTON", CaptionIcon::None, 21, 19}})
    AddGlyph(k, "GLOBALINFO", d.key, d.w, d.h, 3, [=](Canvas& c, int x, int y, int st) {
      DrawCaptionButton(c, x, y, d.w, d.h, s, st, d.icon);
    });
  AddGlyph(k, "BARTITLE", "IMGTOPRIGHT", 7, 7, 3, [=](Canvas& c, int x, int y, int st) {
    Rgb ink = st == 0 ? s.Border : s.Accent2;
    for (int i = 0; i < 4; ++i) {
      c.Set(x + 3 + i, y + i, ink);
      c.Set(x + 3 + i, y + 6 - i, ink);
      c.Set(x + i, y + i, ink);
      c.Set(x + i, y + 6 - i, ink);
    }
  });

  // Track bar: channel, thumbs, ticks.
  AddFrame(k, "TRACKBAR", 12, 6, 1, 2, PanelFrame(panelLine, Mix(s.Window, s.Border, 0.3), s.Light, 12, 6, 1));
  k.Images.back().Key = "SLIDERCHANNEL";
  AddGlyph(k, "TRACKBAR", "SLIDERMASK", 11, 21, 3, [=](Canvas& c, int x, int y, int st) {
    DrawThumb(c, x, y, 11, 21, s, st, false);
  });
  AddGlyph(k, "TRACKBAR", "SLIDERVMASK", 21, 11, 3, [=](Canvas& c, int x, int y, int st) {
    DrawThumb(c, x, y, 21, 11, s, st, true);
  });
  AddGlyph(k, "TRACKBAR", "TICKHORZ", 3, 5, 3, [=](Canvas& c, int x, int y, int st) {
    c.VLine(x + 1, y, 4, st == 0 ? s.Border : s.Accent);
  });
  AddGlyph(k, "TRACKBAR", "TICKVERT", 5, 3, 3, [=](Canvas& c, int x, int y, int st) {
    c.HLine(x, y + 1, 4, st == 0 ? s.Border : s.Accent);
  });

  // Textures: gradient strips stretched over the frame bar and status bar.
  for (const char* section : {"BARPANEL", "STATUSBAR"}) {
    Image t{section, "PATTERN", '~', 8, 48, 1};
    t.Stretch = 1;
    bool bar = std::string(section) == "BARPANEL";
    t.Paint = [=](Canvas& c, int x, int y, int) {
      if (bar) c.VGradient(x, y, 8, 48, Mix(s.Window, s.Light, 0.5), Mix(s.Window, s.Accent, 0.18));
      else c.VGradient(x, y, 8, 48, s.Face, s.Face2);
    };
    k.Images.push_back(t);
  }
  return k;
}

}  // namespace skingen
