#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinnedForms.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

namespace {

// A form that records the skin commands and redraw switches it receives; a
// "provider" form answers AC_CTRLHANDLED as forms with a skin provider do.
class RecordingForm {
 public:
  explicit RecordingForm(bool provider) : provider_(provider) {
    InitFramework();
    form = Construct<TForm>(Application);
    form->HandleNeeded();
    hook_ = std::make_unique<TWndProcHook>(form, [this](TMessage& m, const TWndMethod& next) {
      if (m.Msg == SM_ALPHACMD) {
        WORD cmd = HIWORD(m.WParam);
        if (cmd == AC_CTRLHANDLED) {
          if (provider_) {
            m.Result = 1;
            m.LParam = 1;
          }
          return;
        }
        commands.push_back(cmd);
        return;
      }
      if (m.Msg == WM_SETREDRAW) redraw.push_back(static_cast<int>(m.WParam));
      next(m);
    });
  }
  ~RecordingForm() {
    hook_.reset();
    delete form;
  }
  int Count(WORD cmd) const {
    int n = 0;
    for (WORD c : commands) n += c == cmd;
    return n;
  }
  TForm* form = nullptr;
  std::vector<WORD> commands;
  std::vector<int> redraw;

 private:
  bool provider_;
  std::unique_ptr<TWndProcHook> hook_;
};

struct ListGuard {
  ListGuard() { saved.swap(SkinnedForms); }
  ~ListGuard() { SkinnedForms.swap(saved); }
  std::vector<TCustomForm*> saved;
};

TCustomForm* Fake(intptr_t n) { return reinterpret_cast<TCustomForm*>(n); }

}  // namespace

TEST(SkinnedForms, RemovingSwapsTheLastEntryIn) {
  ListGuard guard;
  EXPECT_NO_THROW(RemoveSkinnedForm(Fake(8))) << "an empty list has nothing to remove";
  EXPECT_TRUE(SkinnedForms.empty());
  EXPECT_EQ(1, AddSkinnedForm(Fake(8)));
  EXPECT_EQ(2, AddSkinnedForm(Fake(16)));
  EXPECT_EQ(3, AddSkinnedForm(Fake(24)));
  RemoveSkinnedForm(Fake(40));  // not listed: nothing
  EXPECT_EQ(3u, SkinnedForms.size());
  RemoveSkinnedForm(Fake(8));
  EXPECT_EQ((std::vector<TCustomForm*>{Fake(24), Fake(16)}), SkinnedForms);
  RemoveSkinnedForm(Fake(16));
  RemoveSkinnedForm(Fake(24));
  EXPECT_TRUE(SkinnedForms.empty());
}

TEST(SkinnedForms, NewSkinReachesEveryFormOnce) {
  ListGuard guard;
  RecordingForm plain(false), skinned(true);
  AddSkinnedForm(skinned.form);
  ManagerPtr m = NewManager(FixtureSkinDir(), true);
  m->SetSkinName(L"Basic");
  plain.commands.clear();  // turning the new manager off announced a removal
  skinned.commands.clear();
  m->SetActive(true);
  // Forms without a provider through the application's form list, forms with
  // one through the registered list: each exactly once per command.
  for (RecordingForm* f : {&plain, &skinned}) {
    SCOPED_TRACE(f == &plain ? "plain" : "skinned");
    EXPECT_EQ(1, f->Count(AC_SETNEWSKIN));
    EXPECT_EQ(1, f->Count(AC_STOPFADING));
    EXPECT_EQ(1, f->Count(AC_REFRESH));
  }
  EXPECT_EQ((std::vector<WORD>{AC_SETNEWSKIN, AC_STOPFADING, AC_REFRESH}), plain.commands);
  m->SetActive(false);
  EXPECT_EQ(1, plain.Count(AC_REMOVESKIN));
  EXPECT_EQ(1, skinned.Count(AC_REMOVESKIN));
}

TEST(SkinnedForms, OnlyVisibleRegisteredFormsAreLocked) {
  ListGuard guard;
  RecordingForm shown(true), hidden(true);
  AddSkinnedForm(shown.form);
  AddSkinnedForm(hidden.form);
  shown.form->Show();
  LockForms();
  UnlockForms(nullptr, false);
  shown.form->Hide();
  EXPECT_EQ((std::vector<int>{0, 1}), shown.redraw);
  EXPECT_TRUE(hidden.redraw.empty());
}

TEST(SkinnedForms, TheExecutablesIconsFetchedInTheBackgroundAreItsShellIcons) {
  StartFetchingAppIcons();
  StartFetchingAppIcons();  // a second start finds them fetched or on their way
  auto sizeOf = [](TIcon* icon) {
    SIZE s{};
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon->Handle(), &info)) return s;
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    s = {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return s;
  };
  TIcon* small = AppSmallIcon();
  TIcon* large = AppLargeIcon();
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), sizeOf(small).cx);
  EXPECT_EQ(GetSystemMetrics(SM_CXICON), sizeOf(large).cx);
  EXPECT_EQ(small, AppSmallIcon()) << "fetched once";
}
