// The skin library's start and end: what its units set up before the first
// form exists and release after the last one is gone.
#pragma once

// The skin command message, the engine's constants and glyph bitmaps, the
// optional visual-style functions, and the application icons (fetched in
// the background while the program makes its forms).
void InitSkinLibrary();
// The application icons, the skinned-forms list and the visual-style
// library.
void DoneSkinLibrary();
