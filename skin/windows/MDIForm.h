// TsMDIForm: the MDI main form's companion, owned by the form's provider,
// that gives the form's "MDICLIENT" window its adapter; and the references
// through which the providers of an MDI main form and of its children keep
// each other's frames up to date.
#pragma once

#include <memory>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "skin/windows/MDIWnd.h"

class TsSkinProvider;

class TsMDIForm : public TPersistent {
 public:
  explicit TsMDIForm(TsSkinProvider* provider);
  ~TsMDIForm() override;

  // Makes the client's adapter when there is none.
  void ConnectToClient();
  // The adapter again when the provider is skinned, none otherwise.
  void CreateClientAdapter();
  void FreeClientAdapter();
  void RefreshFrame();

  TCustomForm* Form = nullptr;
  TacMDIWndPtr ClientAdapter;
  TsSkinProvider* Provider;
};

// The provider of the MDI main form (set while it has its TsMDIForm).
extern TsSkinProvider* MDISkinProvider;
// The provider of the child whose buttons the main form may show.
extern TsSkinProvider* MDIChildProvider;
// A child made while the active child is maximized is maximized at its
// first paint.
extern bool MaximizeNewChild;

// The form of MDISkinProvider is an MDI main form whose active child is
// maximized.
bool MaximizedMDIChild();
// The active child of an MDI main form when it is maximized, else null.
TCustomForm* MaximizedChildOf(const TCustomForm* main);
// Repaints the MDI main form's frame (menu bar and child buttons) at once.
void RefreshMDIParentFrame();
