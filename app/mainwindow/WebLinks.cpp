#include "app/mainwindow/WebLinks.h"

TsPanel* MakeLinkPanel(TFrame* frame) {
  TsPanel* panel = Construct<TsPanel>(frame);
  panel->SetName(L"sPanel1");
  panel->SkinData->SetSkinSection(L"BAR");
  panel->SetBevelOuter(bvNone);
  panel->SetCaption(L"");
  panel->SetAlign(alClient);
  panel->SetParent(frame);
  return panel;
}

TsWebLabel* AddLink(TFrame* frame, TsPanel* panel, const std::wstring& name, const std::wstring& caption,
                int row, TNotifyEvent onClick) {
  constexpr int kRowHeight = 30;
  TsWebLabel* link = Construct<TsWebLabel>(frame);
  link->SetName(name);
  link->SetAutoSize(false);
  link->SetAlignment(taCenter);
  link->SetTransparent(true);
  // Stacked from the top, each centred across whatever width the bar gives.
  link->SetLayout(tlCenter);
  link->SetBounds(0, row * kRowHeight, panel->Width(), kRowHeight);
  link->SetAlign(alTop);
  link->SetCaption(caption);
  link->Font()->SetColor(clBlue);
  link->Font()->SetStyle(fsUnderline);
  link->SetHoverFont(link->Font());
  link->OnClick = std::move(onClick);
  link->SetParent(panel);
  return link;
}
