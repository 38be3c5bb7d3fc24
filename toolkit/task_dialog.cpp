#include "toolkit/task_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "toolkit/app.h"
#include "toolkit/dll_search.h"
#include "toolkit/message_box.h"
#include "toolkit/wide.h"

namespace tk {
namespace {

using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// Without task dialogs (common controls older than the manifest asks for),
// a message box whose text says what Yes, No and Cancel stand for. Its default
// button is the one that stands for `cancelId`.
int AskWithMessageBox(HWND owner, const std::string& instruction, const std::string& content,
                      const std::vector<TaskButton>& buttons, int cancelId) {
  static constexpr std::pair<const char*, int> kAnswers[] = {{"Yes", IDYES}, {"No", IDNO}, {"Cancel", IDCANCEL}};
  static constexpr UINT kDefaultButtons[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
  std::string text = instruction + "\n\n" + content + "\n";
  const size_t shown = std::min(buttons.size(), std::size(kAnswers));
  UINT flags = (shown == 3 ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONWARNING;
  for (size_t i = 0; i < shown; ++i) {
    text += std::string("\n") + kAnswers[i].first + ": " + buttons[i].caption;
    if (buttons[i].id == cancelId) flags |= kDefaultButtons[i];
  }
  const int answer = MsgBox(owner, text, flags);
  for (size_t i = 0; i < shown; ++i) {
    if (answer == kAnswers[i].second) return buttons[i].id;
  }
  return cancelId;
}

}  // namespace

int AskWithButtons(HWND owner, const std::string& instruction, const std::string& content,
                   const std::vector<TaskButton>& buttons, int cancelId) {
  // The common controls are loaded at start-up in the version the manifest
  // asks for, the one that has task dialogs.
  const auto taskDialog = EntryPoint<TaskDialogIndirectFn>(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect");
  if (!taskDialog) return AskWithMessageBox(owner, instruction, content, buttons, cancelId);
  std::vector<std::wstring> captions;
  std::vector<TASKDIALOG_BUTTON> entries;
  captions.reserve(buttons.size());
  for (const TaskButton& button : buttons) {
    captions.push_back(Widen(button.caption));
    entries.push_back({button.id, captions.back().c_str()});
  }
  const std::wstring title = Widen(App().title), main = Widen(instruction), text = Widen(content);
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = TD_WARNING_ICON;
  config.pszMainInstruction = main.c_str();
  config.pszContent = text.c_str();
  config.cButtons = static_cast<UINT>(entries.size());
  config.pButtons = entries.data();
  config.nDefaultButton = cancelId;
  int chosen = cancelId;
  // A dialog that could not be shown asks the other way rather than open nothing unasked.
  if (FAILED(taskDialog(&config, &chosen, nullptr, nullptr))) {
    return AskWithMessageBox(owner, instruction, content, buttons, cancelId);
  }
  if (chosen == IDCANCEL) return cancelId;
  return chosen;
}

}  // namespace tk
