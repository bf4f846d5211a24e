#include "app/duplicates/HelpForm.h"

THelpForm* HelpForm = nullptr;

namespace {
const wchar_t kHelpText[] =
    L"Parvik - поиск дублированных файлов.\r\n"
    L"\r\n"
    L"1. Добавьте папки, в которых нужно искать дубликаты.\r\n"
    L"2. Выберите, что должно совпадать у файлов: имя, размер, содержимое.\r\n"
    L"3. Нажмите кнопку поиска и дождитесь окончания.\r\n"
    L"4. Откройте результат: файлы одной группы дублируют друг друга.\r\n"
    L"   Ненужные копии можно удалить в корзину, а результат сохранить в файл .LsD.\r\n";
}

THelpForm::THelpForm(TComponent* AOwner) : TForm(AOwner) {
  SetName(L"HelpForm");
  SetCaption(L"Справка");
  SetPosition(poScreenCenter);
  SetClientWidth(400);
  SetClientHeight(260);
  HelpText = Construct<TMemo>(this);
  HelpText->SetName(L"HelpText");
  HelpText->SetReadOnly(true);
  HelpText->SetScrollBars(ssVertical);
  HelpText->SetAlign(alClient);
  HelpText->SetParent(this);
  HelpText->SetText(kHelpText);
}
