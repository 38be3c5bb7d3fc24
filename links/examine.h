// The addresses a text holds, each worked out the way a browser opens it,
// with what the user should know about it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "links/facts.h"
#include "links/finder.h"
#include "links/notes.h"

namespace vantisk {

struct ExaminedLink {
  FoundLink found;
  LinkFacts facts;
  LinkNotes notes;
};

// A text with more addresses offers at most this many to choose from.
inline constexpr std::size_t kMaxLinksOffered = 15;

// Every distinct address of the text that a browser would open (distinct as
// sent), in the order they appear, at most kMaxLinksOffered: the text is read
// on past those no browser opens until that many are found or it ends, once
// in all. An address too long to check (FoundLink::tooLong) is among them,
// with no facts.
std::vector<ExaminedLink> ExamineText(std::string_view text);

// One line to choose the link by: whose site it is, and the address shortened;
// a red-flagged link is marked "(!)", which every menu font can show.
std::string ChoiceLabel(const ExaminedLink& link);

}  // namespace vantisk
