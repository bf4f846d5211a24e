// TTabbedNotebook: pages from names, page switching by code and by the tab,
// the change event that may refuse, and the pages' children.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "framework/StdCtrls.h"
#include "framework/TabNotebook.h"
#include "tests/framework/FormTestSupport.h"

namespace {

class TabNotebookTest : public FormTest {
 protected:
  TTabbedNotebook* MakeNotebook() {
    auto* nb = Make<TTabbedNotebook>(8, 8, 400, 300);
    for (const wchar_t* s : {L"Пути поиска", L"Фильтры", L"Исключения", L"Сканирование"}) nb->Pages()->Add(s);
    return nb;
  }
  void ClickTab(TTabbedNotebook* nb, int tab) {
    SendMessageW(nb->Handle(), TCM_SETCURSEL, tab, 0);
    NMHDR hdr{nb->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  }
};

TEST_F(TabNotebookTest, PagesComeFromNamesAndTheFirstShows) {
  TTabbedNotebook* nb = MakeNotebook();
  EXPECT_EQ(nb->PageCount(), 4);
  EXPECT_EQ(SendMessageW(nb->Handle(), TCM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(nb->PageIndex(), 0);
  EXPECT_EQ(nb->ActivePage(), L"Пути поиска");
  EXPECT_TRUE(nb->Page(0)->Visible());
  EXPECT_FALSE(nb->Page(1)->Visible());
  EXPECT_EQ(nb->Pages()->Objects(2), nb->Page(2));
  RECT d = nb->DisplayRect();
  EXPECT_EQ(nb->Page(0)->Top(), d.top);
  EXPECT_GT(d.top, 0);
}

TEST_F(TabNotebookTest, ChangingThePageAsksFirstAndShowsTheNewPage) {
  TTabbedNotebook* nb = MakeNotebook();
  auto* label = Construct<TEdit>(form);
  label->SetParent(nb->Page(2));
  int asked = -1;
  nb->OnChange = [&](TObject*, int newTab, bool& allow) {
    asked = newTab;
    allow = newTab != 3;
  };
  nb->SetPageIndex(2);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(nb->PageIndex(), 2);
  EXPECT_TRUE(nb->Page(2)->Visible());
  EXPECT_FALSE(nb->Page(0)->Visible());
  EXPECT_TRUE(IsWindowVisible(nb->Page(2)->Handle()) || !IsWindowVisible(form->Handle()));
  EXPECT_TRUE(GetWindowLongPtrW(label->Handle(), GWL_STYLE) & WS_VISIBLE);
  // Refused: the page and the tab stay.
  ClickTab(nb, 3);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(nb->PageIndex(), 2);
  EXPECT_EQ(SendMessageW(nb->Handle(), TCM_GETCURSEL, 0, 0), 2);
  ClickTab(nb, 1);
  EXPECT_EQ(nb->PageIndex(), 1);
  EXPECT_EQ(nb->ActivePage(), L"Фильтры");
}

TEST_F(TabNotebookTest, ActivePageByNameAndPagesSurviveRecreateWnd) {
  TTabbedNotebook* nb = MakeNotebook();
  nb->SetActivePage(L"исключения");
  EXPECT_EQ(nb->PageIndex(), 2);
  nb->RecreateWnd();
  EXPECT_EQ(SendMessageW(nb->Handle(), TCM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(nb->Handle(), TCM_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(IsWindow(nb->Page(2)->Handle()));
  EXPECT_EQ(GetParent(nb->Page(2)->Handle()), nb->Handle());
}

TEST_F(TabNotebookTest, DeletingPagesKeepsAValidPage) {
  TTabbedNotebook* nb = MakeNotebook();
  nb->SetPageIndex(3);
  nb->Pages()->Delete(3);
  EXPECT_EQ(nb->PageCount(), 3);
  EXPECT_EQ(nb->PageIndex(), 2);
  EXPECT_TRUE(nb->Page(2)->Visible());
  nb->Pages()->Delete(0);
  EXPECT_EQ(nb->PageIndex(), 1);
  EXPECT_EQ(nb->ActivePage(), L"Исключения");
  nb->Pages()->Clear();
  EXPECT_EQ(nb->PageIndex(), -1);
  EXPECT_EQ(nb->ActivePage(), L"");
}

}  // namespace
