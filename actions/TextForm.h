// The text form of an action file: one line for the set, one for each action, one for each event
// with its whole descriptor. Writing a set and reading the text back gives the same set, and a
// text written by WriteActionText reads back to the same text.
//
//   set "ZEM_Variations"
//   action "red_plus"
//     event colorBalance "Color Balance" 'ClrB' {'MdtL': [20, 0, 0], 'PrsL': true}
//
// An event line: its ID (a string ID such as colorBalance, or a four-character code such as
// 'BrgC'), its display name, the flags that differ from a silent enabled event (expanded,
// disabled, dialog, options N), then its descriptor: class name (left out when it is the display
// name), class ID and items; or `none` for an event without a descriptor. Values: 20 (long),
// 1.2 (doub), 25.0 '#Prc' (UntF), true, 'Chnl'.'Cmps' (enum), "text", 'RGBC' {...} (Objc),
// global 'RGBC' {...}, [a, b] (VlLs), ref('Chnl' enum 'Chnl'.'Cmps', ...) (obj ),
// class('AdjL'), globalclass(...), comp(N), data(HEX), alias(HEX), path(HEX); a double that is not
// finite as its bits, double(0xBITS), with its unit after it when it has one. String IDs that are
// not plain words are written $"...", and codes and string IDs of any bytes escape those that are
// not printable ASCII ('#R\xff\xff').
#pragma once

#include <string>

#include "actions/ActionModel.h"

namespace zem::actions {

std::string WriteActionText(const ActionSet& set);

// Strings as the text form writes them, quotes included, for text and for messages that quote a
// file: printable ASCII as it is, the quote and the backslash escaped, every other byte as \xNN
// ("Color\x00Balance", 'Clr\xff'); Unicode strings in UTF-8 with control characters and unpaired
// surrogates as \uNNNN. The result is always valid UTF-8 without control characters.
std::string QuotedBytes(const std::string& bytes);
std::string QuotedCode(FourCC code);
std::string QuotedUnicode(const std::u16string& units);

struct TextError {
  int line = 0;
  int column = 0;
  std::string message;  // "line 4, column 12: ..."
};

// Reads the text form, in time linear in its length. A leading UTF-8 byte-order mark and CR LF
// line ends are accepted. Returns false with the first problem in `error`.
bool ReadActionText(const std::string& text, ActionSet& set, TextError& error);

}  // namespace zem::actions
