// The monitor window: always on top, mirrors the clipboard ten times a second,
// checks the clipboard's or a typed address, and keeps the checker list.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "links/examine.h"
#include "monitor/form2_ids.h"
#include "monitor/shell_exec.h"
#include "toolkit/clipboard.h"
#include "toolkit/controls.h"

// The most an address box holds. Text1 shows at most the start of a longer
// clipboard text; the clipboard check reads the whole text again when it runs,
// so an address beyond the cut is still found and checked whole. An address
// typed or pasted into Text3 that runs into the limit is refused.
// The edit control lays out its whole line on every change and keeps that
// layout (under Wine about 40 bytes a character), so a larger limit only costs.
inline constexpr size_t kAddressBoxLimit = 4096;

// A text a check looks at, and whether it is only the start of a longer one.
struct CheckedText {
  std::string text;
  bool cut = false;
};
enum class CheckSource { Clipboard, Manual };
enum class CheckScope { SelectedChecker, EveryChecker };
// Where the menu of a text's addresses opens: at the mouse pointer for a
// hotkey or the tray, under the monitor window for its buttons.
enum class MenuPlace { AtPointer, UnderWindow };

class Form2Window : public tk::Form {
 public:
  Form2Window();

  // Checks the clipboard's whole text, or Text1 as the user edited it.
  void Command1_Click();
  // The same from the check hotkey: a menu of several addresses opens at the pointer.
  void CheckClipboardFromHotkey();
  void Command2_Click();  // adds Text2 to the checker list
  void Command3_Click();  // checks the address typed into Text3
  // Opens the clipboard's address in every checker of the list, one page each.
  void CheckWithAllCheckers();

  // Shows what a link hides without stopping the user, when a checker's page
  // opens for it: a notification of the tray icon, which the settings window owns.
  std::function<void(const std::string& notes)> showLinkNotes;

  tk::Label Label2;
  tk::TextBox Text1;
  tk::Button Command1;
  tk::Label Label1;
  tk::TextBox Text2;
  tk::Label Label4;
  tk::ListBox List1;
  tk::Button Command2;
  tk::Label Label3;
  tk::TextBox Text3;
  tk::Button Command3;
  tk::Timer Timer1;

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Timer1_Timer();
  void MirrorClipboard();
  void Text1_Change();
  void Text2_KeyDown(int keyCode, int shift);
  void Text3_KeyDown(int keyCode, int shift);
  void List1_Click(POINT at);
  void mnuSelect_Click();
  void mnuDelete_Click();

  // The browser launches of one check, whether to show the notes after them,
  // and what to tell about checkers that were skipped.
  struct Pages {
    std::vector<std::string> targets;
    bool showNotes;
    std::string skipped;
  };

  std::optional<CheckedText> ClipboardTextToCheck();
  void CheckClipboard(CheckScope scope, MenuPlace place);
  void Check(const CheckedText& text, CheckSource source, CheckScope scope, MenuPlace place);
  const vantisk::ExaminedLink* ChooseLink(const std::vector<vantisk::ExaminedLink>& links, MenuPlace place);
  std::optional<Pages> PagesOfSelectedChecker(const vantisk::ExaminedLink& link);
  std::optional<Pages> PagesOfEveryChecker(const vantisk::ExaminedLink& link);
  bool LaunchInOrder(const std::vector<std::string>& targets);
  std::optional<std::string> AddressToSend(const vantisk::LinkFacts& facts, bool checkerReceivesAddress);
  bool Launch(const std::string& target,
              ModShellExec::Handover handover = ModShellExec::Handover::DontWait);
  void ShowLinkNotes(const std::vector<std::string>& lines);
  std::vector<std::string> ListEntries();
  int MessageOutsideTopmostBand(const std::string& text, unsigned flags);
  void LoadList();
  void SaveList();
  void RestorePosition();
  void StorePosition();

  // The clipboard is read again only when it changed or the user edited Text1.
  tk::ClipboardWatch clipboardWatch_;
  bool text1Edited_ = false;
  bool pollSettingText1_ = false;
  // Text1 shows only the start of the clipboard's text.
  bool text1Cut_ = false;
  std::string clipboardText_;
  // One check at a time: set while a check (and its message box) runs.
  bool checkUnderWay_ = false;
};

Form2Window& Form2();
