#include "skin/engine/CommonData.h"

// A cache keeps the owner's whole image, a page of group boxes some
// megabytes; off screen nobody looks at it, so its pixels go until they are
// wanted again.
void TsCommonData::ReleaseCache() {
  // A control whose image is made only on its parent's say-so
  // (BGDependent) could not make it again by itself.
  if (!RebuildCache || BGDependent || !CacheBmp) return;
  if (CacheBmp->Width() == 0 || CacheBmp->Height() == 0) return;
  CacheBmp->SetSize(0, 0);
  BGChanged = true;
  cacheReleased_ = true;
}

void TsCommonData::EnsureCache() {
  if (!cacheReleased_ || !RebuildCache || OwnerDestroying() || !Skinned()) return;
  cacheReleased_ = false;
  BGChanged = true;
  RebuildCache();
}
