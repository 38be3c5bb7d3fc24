#include "monitor/form2.h"

#include <algorithm>
#include <vector>

#include "checkers/check_target.h"
#include "checkers/checker_list.h"
#include "monitor/cls_on_top.h"
#include "monitor/placement.h"
#include "settings/number_form.h"
#include "settings/settings_store.h"
#include "toolkit/clipboard.h"
#include "toolkit/menu.h"
#include "toolkit/message_box.h"
#include "toolkit/twips.h"

using namespace vantisk;
namespace ids = vantisk::form2_ids;

static_assert(kAddressBoxLimit > kMaxTargetLength);

Form2Window::Form2Window()
    : tk::Form({.className = ids::kClassName,
                .caption = "Vantisk By Tessanor LTD - Clipboard URL monitor",
                .clientWidth = 9435,
                .clientHeight = 3105}),
      Label2(*this, {ids::Label2, "URL in Clipboard :>", {120, 240, 1455, 375}, 6}),
      Text1(*this, {ids::Text1, "", {1560, 240, 6255, 495}, 0}, kAddressBoxLimit),
      Command1(*this, {ids::Command1, "&Check URL", {8040, 240, 1215, 495}, 1}),
      Label1(*this, {ids::Label1, "URL to Check against :>", {120, 960, 1095, 495}, 5}),
      Text2(*this, {ids::Text2, std::string(kDefaultCheckerUrl), {1560, 960, 4695, 495}, 2}, kAddressBoxLimit),
      Label4(*this, {ids::Label4, std::string(43, ' ') + ">>", {6360, 1080, 495, 855}, 10}),
      List1(*this, {ids::List1, "", {6960, 960, 2415, 1035}, 3}),
      Command2(*this, {ids::Command2, "&Add check against URL", {4200, 1560, 2055, 375}, 4}),
      Label3(*this, {ids::Label3, "Manual URL to Check :>", {120, 2280, 1335, 615}, 7}),
      Text3(*this, {ids::Text3, "", {1560, 2280, 5175, 495}, 8}, kAddressBoxLimit),
      Command3(*this, {ids::Command3, "Check URL &Manually ", {6960, 2280, 2295, 495}, 9}),
      Timer1(*this, 1, 100) {
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Text1.onChange = [this] { Text1_Change(); };
  Text2.onKeyDown = [this](int keyCode, int shift) { Text2_KeyDown(keyCode, shift); };
  Text3.onKeyDown = [this](int keyCode, int shift) { Text3_KeyDown(keyCode, shift); };
  List1.onClick = [this](POINT at) { List1_Click(at); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

Form2Window& Form2() {
  static Form2Window window;
  return window;
}

void Form2Window::Form_Load() {
  CreateOnTop();
  OnTop().MakeTopMost(hWnd());
  LoadList();
  RestorePosition();
  clipboardWatch_.Listen(hWnd());
}

std::optional<LRESULT> Form2Window::OnMessage(UINT message, WPARAM, LPARAM) {
  if (message != WM_CLIPBOARDUPDATE) return std::nullopt;
  clipboardWatch_.OnUpdate();
  return 0;
}

// The window is never destroyed while the program runs: closing it stores its
// position and hides it, and the list and texts stay as they are.
void Form2Window::Form_Unload(bool& cancel) {
  StorePosition();
  cancel = true;
  Hide();
}

// A message box must not hide behind the topmost monitor window.
int Form2Window::MessageOutsideTopmostBand(const std::string& text, unsigned flags) {
  OnTop().MakeNormal(hWnd());
  int answer = tk::MsgBox(hWnd(), text, flags);
  OnTop().MakeTopMost(hWnd());
  return answer;
}

// Text1 shows the clipboard as of the last tick. While neither the clipboard
// nor Text1 changed, a tick calls nothing and copies nothing; a clipboard held
// open by another program leaves Text1 as it is until the next tick.
void Form2Window::Timer1_Timer() {
  if (clipboardWatch_.TakeChange() || text1Edited_) MirrorClipboard();
}

void Form2Window::MirrorClipboard() {
  if (tk::ReadClipboardText(hWnd(), clipboardText_, kAddressBoxLimit, &text1Cut_) == tk::ClipboardRead::Busy) {
    clipboardWatch_.GiveBack();
    return;
  }
  text1Edited_ = false;
  pollSettingText1_ = true;
  Text1.SetText(clipboardText_);
  pollSettingText1_ = false;
  // Text1 holds the text now; a second copy would double the cost of a large clipboard.
  std::string().swap(clipboardText_);
}

// The clipboard as it is at the moment of a check. A change the system has
// announced but no tick has taken in yet is mirrored first. Text1 is the
// clipboard's whole text unless the text was longer than Text1 holds: then the
// clipboard is read again, whole, and nothing of it is kept after the check.
// Text1 takes no input: the next tick puts the clipboard back over a user's
// edit, so only a check made before that tick sees the edited text.
// Nothing, when another program holds the clipboard open and Text1 shows only
// the start of its text.
std::optional<CheckedText> Form2Window::ClipboardTextToCheck() {
  if (clipboardWatch_.TakeChange()) MirrorClipboard();
  if (text1Edited_ || !text1Cut_) return CheckedText{Text1.Text(), false};
  CheckedText whole;
  if (tk::ReadClipboardText(hWnd(), whole.text) == tk::ClipboardRead::Busy) {
    return std::nullopt;
  }
  return whole;
}

void Form2Window::Text1_Change() {
  if (!pollSettingText1_) text1Edited_ = true;
}

void Form2Window::RestorePosition() {
  RECT current{};
  GetWindowRect(hWnd(), &current);
  std::optional<int> left = tk::TwipsToPixels(ParseNumber(GetSetting("default", "leftpos")), Dpi());
  std::optional<int> top = tk::TwipsToPixels(ParseNumber(GetSetting("default", "toppos")), Dpi());
  PixelRect wanted{left.value_or(0), top.value_or(0), 0, 0};
  wanted.right = wanted.left + (current.right - current.left);
  wanted.bottom = wanted.top + (current.bottom - current.top);

  RECT asRect{wanted.left, wanted.top, wanted.right, wanted.bottom};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromRect(&asRect, MONITOR_DEFAULTTONEAREST), &monitor);
  PixelRect screen{monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right, monitor.rcMonitor.bottom};
  // A position that would put the window out of sight (a monitor that is gone,
  // a value edited by hand) brings it onto the nearest monitor instead.
  if (!left || !top || !MostlyVisible(wanted, screen)) {
    PixelRect work{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    wanted = MoveInside(wanted, work);
  }
  SetWindowPos(hWnd(), nullptr, wanted.left, wanted.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form2Window::StorePosition() {
  SaveSetting("default", "leftpos", FormatNumber(Left()));
  SaveSetting("default", "toppos", FormatNumber(Top()));
}

// --- checker list -----------------------------------------------------------

void Form2Window::LoadList() {
  RegistrySettings store;
  for (const std::string& entry : LoadCheckerList(store)) List1.AddItem(entry);
}

std::vector<std::string> Form2Window::ListEntries() {
  std::vector<std::string> entries;
  int count = List1.ListCount();
  entries.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) entries.push_back(List1.List(i));
  return entries;
}

void Form2Window::SaveList() {
  RegistrySettings store;
  SaveCheckerList(store, ListEntries());
}

void Form2Window::Command2_Click() {
  List1.AddItem(Text2.Text());
  SaveList();
}

void Form2Window::Text2_KeyDown(int keyCode, int) {
  if (keyCode == VK_RETURN) Command2_Click();
}

void Form2Window::List1_Click(POINT at) {
  tk::PopupMenu(hWnd(), {{"Select", [this] { mnuSelect_Click(); }}, {"Delete", [this] { mnuDelete_Click(); }}}, at);
}

void Form2Window::mnuSelect_Click() {
  for (int i = 0, count = List1.ListCount(); i < count; ++i) {
    if (!List1.Selected(i)) continue;
    SaveSetting("default", "selectedchecker", List1.List(i));
    MessageOutsideTopmostBand("Setting saved!", MB_ICONEXCLAMATION);
  }
}

void Form2Window::mnuDelete_Click() {
  int count = List1.ListCount();
  for (int i = 0; i < count && i < List1.ListCount(); ++i) {
    if (List1.Selected(i)) List1.RemoveItem(i);
  }
  SaveList();
}
