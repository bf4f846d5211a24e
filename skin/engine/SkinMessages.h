// The skin command message: every skinned object of the process talks to the
// others through SM_ALPHACMD. The command number travels in the high word of
// WParam, a small 0/1 argument in the low word, an argument or a reply slot in
// LParam; the result is the reply where a command has one.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "skin/engine/SkinConsts.h"

#include <functional>
#include <memory>

class TComponent;
class TControl;
class TWinControl;

// Fixed at start-up after registration by name; every party uses this value.
inline constexpr UINT SM_ALPHACMD = 0xA100;

inline constexpr WORD AC_SETNEWSKIN = 1;
inline constexpr WORD AC_REMOVESKIN = 2;
inline constexpr WORD AC_REFRESH = 3;
inline constexpr WORD AC_GETPROVIDER = 4;
inline constexpr WORD AC_GETCACHE = 5;
inline constexpr WORD AC_ENDPARENTUPDATE = 6;
inline constexpr WORD AC_CTRLHANDLED = 7;
inline constexpr WORD AC_SETUPDATING = 8;
inline constexpr WORD AC_SETBGDEPENDENT = 9;
inline constexpr WORD AC_ISUPDATING = 10;
inline constexpr WORD AC_ISHALFVISIBLE = 11;
inline constexpr WORD AC_TRANSBGCHANGED = 12;
inline constexpr WORD AC_REPAINTSECTION = 13;
inline constexpr WORD AC_ISDROPPEDDOWN = 14;
inline constexpr WORD AC_SETPAINTINGCHILD = 15;
inline constexpr WORD AC_STOPFADING = 16;
inline constexpr WORD AC_SETBGCHANGED = 17;
inline constexpr WORD AC_PAINTNOW = 18;
inline constexpr WORD AC_ISTEXTURED = 19;
inline constexpr WORD AC_PARENTBGCHANGED = 20;
inline constexpr WORD AC_GETBGCOLOR = 21;
inline constexpr WORD AC_SETHALFVISIBLE = 22;
inline constexpr WORD AC_PREPARECACHE = 23;
inline constexpr WORD AC_PAINTFADEFRAME = 24;
inline constexpr WORD AC_ADAPTCHILDREN = 25;
inline constexpr WORD AC_GETSKININDEX = 26;
inline constexpr WORD AC_GETCAPTIONHEIGHT = 27;
inline constexpr WORD AC_HOOKDIALOGCHILDREN = 28;
inline constexpr WORD AC_MOUSEENTER = 29;
inline constexpr WORD AC_MOUSELEAVE = 30;
inline constexpr WORD AC_BEGINUPDATE = 31;
inline constexpr WORD AC_ENDUPDATE = 32;
inline constexpr WORD AC_BEFORESCROLL = 51;
inline constexpr WORD AC_AFTERSCROLL = 52;

// WParam of a command: the command in the high word, WParamLo in the low.
inline WPARAM SkinCmdWParam(WORD cmd, WORD lo = 0) { return MAKEWPARAM(lo, cmd); }
// The command number of an SM_ALPHACMD message.
inline WORD SkinCmdOf(const TMessage& m) { return HIWORD(m.WParam); }

// Registers the message name once (done by the unit start-up table); the
// fixed id above stays what every party uses.
void RegisterSkinMessage();

// Sends one command to one window and returns its result.
LRESULT SendSkinCmd(HWND wnd, WORD cmd, LPARAM lParam);
// A windowed control gets the command only when it is not being destroyed
// and already has a window (none is created for it); a control without a
// window through Perform. 0 otherwise.
LRESULT SendSkinCmdToCtrl(TControl* control, WORD cmd, LPARAM lParam);
// Asks a yes/no command once through the control's window procedure chain
// (answer 1 in LParam or in Result); no window is made for the question.
bool QuerySkinCmd(TWinControl* control, WORD cmd);
// Asks a window once: True exactly when the result is 1.
bool QuerySkinCmdWnd(HWND wnd, WORD cmd);

// Passes a command from a container to its children in list order: controls
// without a window through Perform, skinned windowed children (answering
// AC_CTRLHANDLED) with a window message, unskinned ones by recursing into
// their children. A child being destroyed ends the walk; an exception of a
// receiver is swallowed. Message.Result is left as it was.
void BroadcastToChildren(TWinControl* control, TMessage& message);
// The same over the real child windows of a window that is not one of the
// framework's controls. A child destroyed during the walk is skipped.
void BroadcastToChildWindows(HWND parent, TMessage& message);

// While one is alive, a broadcast of the same message (command and
// arguments) reaches each control once: BroadcastToChildren and the other
// senders that ask FirstDelivery skip a control that has already heard it,
// and with it that control's own passing on to its children. A scope opened
// while another one for the same message is alive adds nothing to it.
class TacDeliverOnce {
 public:
  explicit TacDeliverOnce(const TMessage& message);
  ~TacDeliverOnce();
  TacDeliverOnce(const TacDeliverOnce&) = delete;
  TacDeliverOnce& operator=(const TacDeliverOnce&) = delete;
  // The message and the controls it has reached.
  struct Scope;

 private:
  std::unique_ptr<Scope> scope_;
};
// True when the control is to hear the message now: always outside a scope
// for that message, else only the first time (which this call records).
bool FirstDelivery(const TMessage& message, const TControl* receiver);

// Hands a message to the first skin provider ("TsSkinProvider") among the
// form's components that is not being destroyed, through the provider's
// message entry in the registered window-skinning interface.
void SendToProvider(TComponent* form, TMessage& message);

// Reply slots. A sender resets a slot just before its command and reads it
// right after; receivers write their answer into it.
extern TCacheInfo CacheInfoReply;  // reply of AC_GETCACHE
extern TColor BGFillColor;         // reply of AC_GETBGCOLOR; clFuchsia = none

// Ask for a reply through a slot without exposing an outer sender's reply:
// the slot is saved, reset, the command sent, the answer copied and the
// saved value put back, so a nested request made while a receiver answers
// can never overwrite the answer its own caller is waiting for.
TCacheInfo RequestCacheInfo(HWND wnd);
TCacheInfo RequestCacheInfo(TControl* control);
TColor RequestBGColor(HWND wnd);
TColor RequestBGColor(TControl* control);
