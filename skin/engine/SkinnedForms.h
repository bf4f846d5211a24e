// The list of forms that carry their own skin provider, and the routines
// that carry a skin command to every form of the application: AppBroadcast
// (forms without a provider, then the registered ones), SkinnedFormsBroadcast
// (the registered forms), LockForms / UnlockForms around a change of skin.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/Forms.h"
#include "framework/Messages.h"

class TsSkinManager;

// Registered skinned forms in registration order (a slot may be null).
extern std::vector<TCustomForm*> SkinnedForms;

// Appends the form; returns the new length of the list.
int AddSkinnedForm(TCustomForm* form);
// Swap-removes every entry equal to Form. Raises Exception("No SkinForm
// called ?") on an empty list; a form that is not listed changes nothing.
void RemoveSkinnedForm(TCustomForm* form);

// The command to every form owned by the application (last to first) that
// is not an MDI child, not being destroyed or loaded and has no provider,
// with its children and MDI client; then SkinnedFormsBroadcast.
void AppBroadcast(TMessage& message);
// The command to every registered live form, its children and MDI client.
void SkinnedFormsBroadcast(TMessage& message);

// Drawing off / on for the registered visible top-level forms.
void LockForms();
void UnlockForms(TsSkinManager* skinManager, bool repaint);


// The executable's small and large icons: its own first icon group, or the
// shell's icon for the file when it has none (null when the file cannot be
// found); the form provider's default title icon. Fetched on first use,
// unless StartFetchingAppIcons began fetching them earlier.
TIcon* AppSmallIcon();
TIcon* AppLargeIcon();
// Fetches the icons on a thread of their own, for a caller that has other
// work to do before they are drawn: the shell's first icon lookup in a
// process sets up its image lists (about 50 ms under Wine).
void StartFetchingAppIcons();
// Frees the icons and empties SkinnedForms (end of the program).
void DoneStyleSimply();
