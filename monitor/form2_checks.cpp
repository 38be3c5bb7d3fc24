// The monitor window's checks: the address is found in the text, worked out
// on this machine the way a browser would request it, and only then handed to
// the checkers.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "checkers/check_all.h"
#include "checkers/check_target.h"
#include "links/examine.h"
#include "links/utf8.h"
#include "monitor/cls_on_top.h"
#include "monitor/form2.h"
#include "monitor/shell_exec.h"
#include "settings/settings_store.h"
#include "toolkit/menu.h"
#include "toolkit/task_dialog.h"

using namespace vantisk;

namespace {

constexpr char kClipboardNotValid[] = "Not a valid URL in clipboard";
constexpr char kManualNotValid[] = "Not a valid URL to check manually!";
constexpr char kClipboardBusy[] =
    "Another program is holding the clipboard open, and the address box shows only the start of its text. "
    "Try again in a moment.";
// Long texts are cut in messages so that the box stays readable.
constexpr size_t kShownUrlLength = 200;

std::string CheckerNotWebMessage(std::string_view checker) {
  return "The selected checker URL is not a web address (http:// or https://):\n\n" + Shortened(checker, kShownUrlLength) +
         "\n\nSelect another checker URL in the list.";
}

std::string CheckerPlaceholderMessage(std::string_view checker, std::string_view problem) {
  return "The selected checker URL\n\n" + Shortened(checker, kShownUrlLength) + "\n\n" + std::string(problem) +
         ".\n\nCorrect it or select another checker URL in the list.";
}

std::string TooLongMessage() {
  return "The address is too long to check: the checker URL and the address together may have at most " +
         std::to_string(kMaxTargetLength) + " characters.";
}

// Of the manual box's text only: the clipboard is read whole for a check.
std::string CutMessage() {
  return "The address runs to the end of the manual box, which holds at most " + std::to_string(kAddressBoxLimit) +
         " characters, so it may have been cut. Copy the address and check the clipboard instead.";
}

std::string NotOpenableMessage(std::string_view address) {
  return "This address cannot be handed to the browser as one web address, so it was not opened:\n\n" +
         Shortened(address, kShownUrlLength) + "\n\nSelect a checker URL in the list to check it instead.";
}

std::string LaunchFailedMessage(std::string_view target) {
  return "The browser could not be started to open:\n\n" + Shortened(target, kShownUrlLength) +
         "\n\nCheck that a default web browser is set.";
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

// The addresses a checked text holds, or what the user is told instead (with
// the message box's flags). Of a text that is only the start of a longer one,
// an address that runs to its end may be cut: it is not offered, and alone it
// is refused.
struct Examination {
  std::vector<ExaminedLink> links;
  std::string refusal;
  unsigned flags = MB_OK | MB_ICONEXCLAMATION;
};

Examination ExamineChecked(const CheckedText& checked, CheckSource source) {
  Examination examination;
  examination.links = ExamineText(checked.text);
  // Read to the text's end before its sentence punctuation was trimmed: the
  // cut may fall inside the authority, with "@" or more of the host after it.
  const bool lastIsCut = checked.cut && !examination.links.empty() && examination.links.back().found.runsToEnd;
  if (lastIsCut) examination.links.pop_back();
  if (!examination.links.empty()) return examination;
  if (lastIsCut) {
    examination.refusal = CutMessage();
  } else {
    examination.refusal = source == CheckSource::Clipboard ? kClipboardNotValid : kManualNotValid;
    examination.flags = MB_OKCANCEL;
  }
  return examination;
}

// Sets a flag for the length of a scope.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void Form2Window::Command1_Click() { CheckClipboard(CheckScope::SelectedChecker, MenuPlace::UnderWindow); }

void Form2Window::CheckClipboardFromHotkey() { CheckClipboard(CheckScope::SelectedChecker, MenuPlace::AtPointer); }

void Form2Window::CheckWithAllCheckers() { CheckClipboard(CheckScope::EveryChecker, MenuPlace::AtPointer); }

void Form2Window::Command3_Click() {
  Check({Text3.Text(), Text3.IsFull()}, CheckSource::Manual, CheckScope::SelectedChecker, MenuPlace::UnderWindow);
}

void Form2Window::Text3_KeyDown(int keyCode, int) {
  if (keyCode == VK_RETURN) Command3_Click();
}

void Form2Window::CheckClipboard(CheckScope scope, MenuPlace place) {
  if (checkUnderWay_) return;
  const std::optional<CheckedText> text = ClipboardTextToCheck();
  if (!text) {
    MessageOutsideTopmostBand(kClipboardBusy, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  Check(*text, CheckSource::Clipboard, scope, place);
}

// Every check goes the same way: the address (chosen from a menu when the
// text holds several), what may be sent of it, the pages, and then the
// browser, page by page in order.
void Form2Window::Check(const CheckedText& text, CheckSource source, CheckScope scope, MenuPlace place) {
  // The check hotkey still reaches the program while a check's message box is
  // open; each press would open one more box on top, until the stack overflows.
  if (checkUnderWay_) return;
  const ScopedFlag underWay(checkUnderWay_);
  const Examination examination = ExamineChecked(text, source);
  if (examination.links.empty()) {
    MessageOutsideTopmostBand(examination.refusal, examination.flags);
    return;
  }
  const ExaminedLink* link = ChooseLink(examination.links, place);
  if (!link) return;
  if (link->found.tooLong) {
    MessageOutsideTopmostBand(TooLongMessage(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const std::optional<Pages> pages =
      scope == CheckScope::SelectedChecker ? PagesOfSelectedChecker(*link) : PagesOfEveryChecker(*link);
  if (!pages) return;
  if (LaunchInOrder(pages->targets) && pages->showNotes) ShowLinkNotes(link->notes.lines);
  if (!pages->skipped.empty()) MessageOutsideTopmostBand(pages->skipped, MB_OK | MB_ICONEXCLAMATION);
}

// The one address of the text, or the one the user picks from a menu of them,
// in the order they appear; nothing when the menu was dismissed.
const ExaminedLink* Form2Window::ChooseLink(const std::vector<ExaminedLink>& links, MenuPlace place) {
  if (links.size() == 1) return &links.front();
  std::vector<tk::MenuItem> items;
  const ExaminedLink* chosen = nullptr;
  for (const ExaminedLink& link : links) {
    items.push_back({tk::PlainMenuText(ChoiceLabel(link)), [&chosen, &link] { chosen = &link; }});
  }
  std::optional<POINT> at;
  if (place == MenuPlace::UnderWindow) {
    RECT window{};
    GetWindowRect(hWnd(), &window);
    at = POINT{window.left, window.bottom};
  }
  if (place == MenuPlace::AtPointer) tk::ReleaseHotkeyChord();
  // A pop-up menu closes on Esc or a click elsewhere only when its owner is in front.
  SetForegroundWindow(hWnd());
  tk::PopupMenu(hWnd(), items, at);
  return chosen;
}

std::optional<Form2Window::Pages> Form2Window::PagesOfSelectedChecker(const ExaminedLink& link) {
  const std::string checker = GetSetting("default", "selectedchecker", kDefaultCheckerUrl);
  const std::optional<std::string> address = AddressToSend(link.facts, ReceivesAddress(checker));
  if (!address) return std::nullopt;
  // Without a checker the link itself opens, fragment and all: it goes to the
  // site alone, and the browser keeps the fragment on this machine as ever.
  const std::string& sent = checker.empty() ? link.facts.opened : *address;
  const CheckResult result = BuildCheckTarget(checker, sent, link.facts.host, link.facts.registrableDomain);
  switch (result.outcome) {
    case CheckOutcome::Launch:
      break;
    case CheckOutcome::CheckerNotWeb:
      MessageOutsideTopmostBand(CheckerNotWebMessage(checker), MB_OK | MB_ICONEXCLAMATION);
      return std::nullopt;
    case CheckOutcome::CheckerPlaceholder:
      MessageOutsideTopmostBand(CheckerPlaceholderMessage(checker, result.problem), MB_OK | MB_ICONEXCLAMATION);
      return std::nullopt;
    case CheckOutcome::TooLong:
      MessageOutsideTopmostBand(TooLongMessage(), MB_OK | MB_ICONEXCLAMATION);
      return std::nullopt;
    case CheckOutcome::NotOpenable:
      MessageOutsideTopmostBand(NotOpenableMessage(sent), MB_OK | MB_ICONEXCLAMATION);
      return std::nullopt;
  }
  // Without a checker the link itself opens: a disguised one asks first.
  if (checker.empty() && link.notes.redFlag &&
      MessageOutsideTopmostBand(Joined(link.notes.lines) + "\n\nOpen it anyway?", MB_YESNO | MB_ICONWARNING) != IDYES) {
    return std::nullopt;
  }
  return Pages{{result.target}, !checker.empty(), {}};
}

std::optional<Form2Window::Pages> Form2Window::PagesOfEveryChecker(const ExaminedLink& link) {
  const std::vector<std::string> entries = ListEntries();
  if (entries.empty()) {
    MessageOutsideTopmostBand(std::string(kEmptyCheckerListMessage), MB_OK | MB_ICONEXCLAMATION);
    return std::nullopt;
  }
  const bool anyReceivesAddress = std::any_of(entries.begin(), entries.end(), ReceivesAddress);
  const std::optional<std::string> address = AddressToSend(link.facts, anyReceivesAddress);
  if (!address) return std::nullopt;
  CheckAllPlan plan = PlanCheckAll(entries, *address, link.facts.host, link.facts.registrableDomain);
  if (NeedsConfirmation(plan) &&
      MessageOutsideTopmostBand(OpenPagesQuestion(plan.targets.size()), MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return std::nullopt;
  }
  std::string skipped = SkippedCheckersMessage(entries, plan);
  return Pages{std::move(plan.targets), true, std::move(skipped)};
}

// Each page but the last is handed over before the next starts, so that the
// browser gets them in order. The program's messages are handled during each
// hand-over, so the windows, the tray and the hotkeys keep answering; a check
// asked for meanwhile is refused by this one, still under way. True when at
// least one page opened; without a browser the rest would fail alike, so the
// first failure ends it.
bool Form2Window::LaunchInOrder(const std::vector<std::string>& targets) {
  for (size_t i = 0; i < targets.size(); ++i) {
    const bool more = i + 1 < targets.size();
    if (!Launch(targets[i], more ? ModShellExec::Handover::WaitForBrowser : ModShellExec::Handover::DontWait)) {
      return i > 0;
    }
  }
  return !targets.empty();
}

// The whole address, or the site alone when it looks private and the user
// chose so; nothing when the user cancelled. Only a checker that is given the
// address could pass a key on, so only then is there a question.
std::optional<std::string> Form2Window::AddressToSend(const LinkFacts& facts, bool checkerReceivesAddress) {
  if (!facts.privateSign || !checkerReceivesAddress) return facts.canonical;
  enum { kSiteOnly = 100, kWholeAddress, kCancel };
  const std::string content = "The address holds what looks like " + facts.privateSign->what + " (" +
                              facts.privateSign->where +
                              "). Checking services may keep or publish the addresses they are given.";
  OnTop().MakeNormal(hWnd());
  const int answer = tk::AskWithButtons(hWnd(), "This link looks private", content,
                                        {{kSiteOnly, "Check the site only"},
                                         {kWholeAddress, "Check the whole address"},
                                         {kCancel, "Cancel"}},
                                        kCancel);
  OnTop().MakeTopMost(hWnd());
  if (answer == kSiteOnly) return facts.siteOnly;
  if (answer == kWholeAddress) return facts.canonical;
  return std::nullopt;
}

// True when the shell started the browser; otherwise the user is told.
bool Form2Window::Launch(const std::string& target, ModShellExec::Handover handover) {
  if (ModShellExec::OpenInBrowser(hWnd(), target, handover)) return true;
  MessageOutsideTopmostBand(LaunchFailedMessage(target), MB_OK | MB_ICONEXCLAMATION);
  return false;
}

void Form2Window::ShowLinkNotes(const std::vector<std::string>& lines) {
  if (!lines.empty() && showLinkNotes) showLinkNotes(Joined(lines));
}
