#include "skin/windows/MDIForm.h"

#include "framework/Forms.h"
#include "skin/engine/CommonData.h"
#include "skin/windows/SkinProvider.h"

TsSkinProvider* MDISkinProvider = nullptr;
TsSkinProvider* MDIChildProvider = nullptr;
bool MaximizeNewChild = false;

// The form's window is not asked for here: a provider made in the form's
// constructor would have it built before the form's own settings are in.
TsMDIForm::TsMDIForm(TsSkinProvider* provider) : Provider(provider) {
  if (provider) Form = provider->Form;
}

TsMDIForm::~TsMDIForm() { FreeClientAdapter(); }

void TsMDIForm::ConnectToClient() {
  if (Form && !Form->HasState(csDesigning) && !ClientAdapter) CreateClientAdapter();
}

void TsMDIForm::CreateClientAdapter() {
  FreeClientAdapter();
  if (!Provider || !Provider->SkinData->Skinned(false) || !Form || !Form->ClientHandle()) return;
  ClientAdapter = TacMainWnd::Create<TacMDIWnd>(Form->ClientHandle(), nullptr, Provider->Manager(),
                                                L"CHECKBOX", true);
  ClientAdapter->Form = Form;
  ClientAdapter->FormSkinData = Provider->SkinData.get();
  ClientAdapter->FormProvider = Provider;
}

void TsMDIForm::FreeClientAdapter() {
  // The adapter's own skin state goes with it.
  ClientAdapter.reset();
}

void TsMDIForm::RefreshFrame() {
  if (Provider) Provider->InvalidateFrame();
}

TCustomForm* MaximizedChildOf(const TCustomForm* main) {
  if (!main || main->FormStyle() != fsMDIForm || !main->ClientHandle()) return nullptr;
  BOOL maximized = FALSE;
  HWND active = reinterpret_cast<HWND>(::SendMessageW(main->ClientHandle(), WM_MDIGETACTIVE, 0,
                                                      reinterpret_cast<LPARAM>(&maximized)));
  if (!active || !maximized) return nullptr;
  return dynamic_cast<TCustomForm*>(FindControl(active));
}

bool MaximizedMDIChild() {
  return MDISkinProvider && MaximizedChildOf(MDISkinProvider->Form) != nullptr;
}

void RefreshMDIParentFrame() {
  TsSkinProvider* p = MDISkinProvider;
  if (!p || !p->Form) return;
  // No pending messages are run here: a child closing through its system
  // menu may be released by one while its own handler is still running.
  p->SkinData->BeginUpdate();
  p->SkinData->BGChanged = true;
  p->MenuLineCount = -1;
  if (p->MDIForm) p->MDIForm->RefreshFrame();
  p->SkinData->EndUpdate();
  if (HWND wnd = p->FormHandle())
    ::RedrawWindow(wnd, nullptr, nullptr,
                   RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}
