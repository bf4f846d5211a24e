// The small pictures of the result window's speed buttons, drawn in code:
// 16 x 16, clFuchsia around the picture (the bottom-left pixel, which a
// glyph's painter takes as its transparent colour).
#pragma once

class TBitmap;

enum class TResultGlyph { Load, Save, Open, OpenFolder, DeleteFromList, DeleteToRecycle };

void DrawResultGlyph(TBitmap* glyph, TResultGlyph kind);
