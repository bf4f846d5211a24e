// The finder's progress bar through a search: for each ticked path it runs
// from 0 to the number of folders below the path, one step as each folder
// has been searched, and goes back to 0 when the path is done. What the bar
// is told is recorded from its window messages, so the test does not
// depend on when the window repaints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Controls.h"
#include "tests/app/finder/FinderTestSupport.h"

namespace {

using findertest::FinderPageTest;
using FinderProgressTest = FinderPageTest;

// One message to the bar: a new range (its maximum) or a new position (as
// the bar holds it afterwards, which is what it shows).
struct BarEvent {
  enum Kind { Range, Position } kind;
  int value;
  bool operator==(const BarEvent&) const = default;
};

void PrintTo(const BarEvent& e, std::ostream* os) {
  *os << (e.kind == BarEvent::Range ? "max " : "pos ") << e.value;
}

class BarRecorder {
 public:
  explicit BarRecorder(TProgressBar* bar)
      : hook_(bar, [this, bar](TMessage& m, const TWndMethod& next) {
          next(m);
          if (m.Msg == PBM_SETRANGE32) events.push_back({BarEvent::Range, static_cast<int>(m.LParam)});
          if (m.Msg == PBM_SETPOS)
            events.push_back({BarEvent::Position, static_cast<int>(SendMessageW(bar->WindowHandle(), PBM_GETPOS, 0, 0))});
        }) {}
  std::vector<BarEvent> events;

 private:
  TWndProcHook hook_;
};

// `folders` folders below the path, each nested one level into its parent
// every third time, with `perFolder` files in each and in the path itself.
void MakeTree(testenv::ScopedTempDir& tmp, const std::wstring& root, int folders, int perFolder) {
  std::vector<std::wstring> dirs{root};
  for (int i = 0; i < folders; ++i) {
    const std::wstring parent = i % 3 == 2 ? dirs.back() : root;
    dirs.push_back(parent + L"\\d" + std::to_wstring(i));
  }
  for (const std::wstring& dir : dirs)
    for (int f = 0; f < perFolder; ++f) tmp.WriteFile(dir + L"\\f" + std::to_wstring(f) + L".dat", "d");
}

// The events a path with `folders` folders gives: its maximum, one step per
// folder up to the end, then back to 0.
void ExpectPath(std::vector<BarEvent>& expected, int folders) {
  expected.push_back({BarEvent::Range, folders});
  for (int i = 1; i <= folders; ++i) expected.push_back({BarEvent::Position, i});
  expected.push_back({BarEvent::Position, 0});
}

TEST_F(FinderProgressTest, TheBarStepsOncePerFolderToTheFolderCountThenReturnsToZero) {
  testenv::ScopedTempDir tmp;
  MakeTree(tmp, L"big", 30, 10);  // 31 folders of 10 files: 310 files
  MakeTree(tmp, L"small", 3, 2);
  tmp.WriteFile(L"flat\\only.dat", "d");
  AddPath(tmp / L"big");
  AddPath(tmp / L"flat");
  AddPath(tmp / L"small");
  AddFilter(L"*.dat");
  ASSERT_EQ(TFrame5::GetQuanFolders(tmp / L"big\\"), 30);

  BarRecorder bar(form_->ProgressBar1);
  TFrame5::FindFiles();

  std::vector<BarEvent> expected;
  ExpectPath(expected, 30);
  ExpectPath(expected, 0);
  ExpectPath(expected, 3);
  EXPECT_EQ(bar.events, expected);
  EXPECT_EQ(form_->ListView4->Items()->Count(), 310 + 1 + 8);
  EXPECT_EQ(form_->ProgressBar1->Position(), 0);
  EXPECT_EQ(form_->ProgressBar1->Max(), 3);
}

// A tree of more than a hundred folders moves the bar (each move repaints
// it) once per hundredth of the way, still up to the end.
TEST_F(FinderProgressTest, ALargeTreeMovesTheBarOncePerHundredthUpToTheEnd) {
  testenv::ScopedTempDir tmp;
  for (int i = 0; i < 250; ++i) tmp.MakeDir(L"tree\\d" + std::to_wstring(i));
  AddPath(tmp / L"tree");
  AddFilter(L"*.dat");

  BarRecorder bar(form_->ProgressBar1);
  TFrame5::FindFiles();

  const std::vector<BarEvent>& events = bar.events;
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front(), (BarEvent{BarEvent::Range, 250}));
  EXPECT_EQ(events.back(), (BarEvent{BarEvent::Position, 0}));
  EXPECT_EQ(events[events.size() - 2], (BarEvent{BarEvent::Position, 250}));
  const std::vector<BarEvent> steps(events.begin() + 1, events.end() - 1);
  EXPECT_EQ(steps.size(), 100u);
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].kind, BarEvent::Position);
    // Step i reaches the (i + 1)th hundredth of the way.
    EXPECT_EQ(steps[i].value * 100 / 250, static_cast<int>(i) + 1) << steps[i].value;
  }
}

}  // namespace
