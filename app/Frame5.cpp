#include "app/Frame5.h"

TFrame5* Frame5 = nullptr;

TFrame5::TFrame5(TComponent* AOwner) : TFrame(AOwner) {
  SetName(L"Frame5");
  SetBounds(0, 0, 167, 244);
}
