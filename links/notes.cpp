#include "links/notes.h"

#include "links/idna.h"
#include "links/site.h"
#include "links/trackers.h"
#include "links/utf8.h"

#include <cstddef>
#include <string_view>

namespace vantisk {
namespace {

// Text quoted from the link is cut at this many bytes so that a note stays short.
constexpr std::size_t kMaxQuotedBytes = 80;

std::string Quoted(std::string_view text) { return Shortened(text, kMaxQuotedBytes); }

// Tray notifications stay in the system's notification history: only the
// name before any ":" is quoted, never a password.
std::string UserInfoNote(const LinkFacts& facts) {
  if (facts.userInfo.empty()) {
    return "This link goes to " + facts.host + "; a password written before its host is not sent.";
  }
  return "This link goes to " + facts.host + ", not to " + Quoted(facts.userInfo) + ".";
}

std::string InternationalHostNote(const LinkFacts& facts) {
  if (facts.mixedScripts) {
    return "Beware: " + facts.unicodeHost +
           " mixes letters of different alphabets, as look-alike names do. This link goes to " + facts.host + ".";
  }
  return "This link goes to " + facts.unicodeHost + ", a name with international letters, spelled " + facts.host +
         " in plain letters.";
}

// Named in its own letters, and in plain ones too where they differ, as a
// joiner that is gone does not show.
std::string OtherReadingNote(const LinkFacts& facts) {
  const std::string unicode = DomainToUnicode(facts.otherReading);
  const std::string name = unicode == facts.otherReading ? unicode : unicode + " (" + facts.otherReading + ")";
  return "Some programs read this name as " + name + ", another site.";
}

std::string IpHostNote(const LinkFacts& facts) {
  if (facts.hostWasNumberInDisguise) {
    return "This link goes to the IP address " + facts.host + ", written in disguise as " + Quoted(facts.writtenHost) +
           ".";
  }
  return "This link goes to the IP address " + facts.host + ", not to a named site.";
}

std::string ListOfWrappers(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", then ") + name;
  return list;
}

// Says in one line from what the address was recovered. The text as written
// holds the link's password when it has one, in whatever spelling: then it is
// not quoted.
std::string RecoveredNote(const FoundLink& found, const LinkFacts& facts) {
  const std::string unwrapped = ListOfWrappers(found.unwrappedFrom);
  if (!found.refanged) return "Unwrapped from " + unwrapped + ".";
  const std::string refanged =
      facts.hasPassword ? std::string("Refanged from a defanged spelling") : "Refanged from " + Quoted(found.written);
  return unwrapped.empty() ? refanged + "." : refanged + ", then unwrapped from " + unwrapped + ".";
}

}  // namespace

LinkNotes DescribeLink(const FoundLink& found, const LinkFacts& facts) {
  LinkNotes notes;
  if (facts.hiddenName) notes.lines.push_back(HiddenNameNote(*facts.hiddenName));
  if (!facts.userInfo.empty() || facts.hasPassword) notes.lines.push_back(UserInfoNote(facts));
  if (!facts.unicodeHost.empty()) notes.lines.push_back(InternationalHostNote(facts));
  if (!facts.otherReading.empty()) notes.lines.push_back(OtherReadingNote(facts));
  if (facts.hostIsIp) notes.lines.push_back(IpHostNote(facts));
  // Someone defanged or wrapped the link on purpose: opening it asks first too.
  if (found.refanged || !found.unwrappedFrom.empty()) notes.lines.push_back(RecoveredNote(found, facts));
  notes.redFlag = !notes.lines.empty();
  // The first line names whose site it is, where the host alone does not say
  // (a hidden name's note names it already).
  if (!facts.hiddenName && !facts.registrableDomain.empty() && facts.registrableDomain != facts.host) {
    notes.lines.insert(notes.lines.begin(), "This link belongs to the site " + facts.registrableDomain + ".");
  }
  if (!facts.removedTrackers.empty()) notes.lines.push_back(RemovedTrackersNote(facts.removedTrackers));
  if (facts.fragmentDropped) notes.lines.push_back("The part after # is not sent: browsers keep it on this machine.");
  return notes;
}

}  // namespace vantisk
