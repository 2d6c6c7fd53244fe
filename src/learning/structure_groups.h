#pragma once

// How the structure view takes an expression apart: the bracket groups are cut out one by one
// (round groups innermost first, then square groups, then brace groups), numbered by kind in
// the order they are cut, and replaced in the expression by their labels. The view shows the
// expression that is left (the structure line) and one content line per group; the student
// types the value of a group after its "=" and has its label replaced by that value.
//
// A label is the level marker the speech reads as "parentesitonda prima" and so on: byte 0xA0,
// the kind letter ('T' round, 'Q' square, 'G' brace), the number cell ('1' to '9', then the
// characters after '9': ':' for 10 up to 'E' for 21), byte 0xA0. Scans pass over labels and
// over text regions (between two-backslash pairs), so a number cell that looks like a bracket
// or an "=" is never taken for one.
//
// Texts are Braille cells in Braille mode and Latex-mode text in Latex mode; `braille` picks
// the bracket signs: '?' '*', '{' '}', '&' 'y' in Braille; '(' ')', '[' ']', "\{" "\}" in Latex.
// Every function takes any text: stray brackets are left where they stand.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace learning {

enum class GroupKind { Round = 0, Square = 1, Brace = 2 };

// At most this many groups of one kind are numbered; an expression with more is refused.
inline constexpr std::size_t kMaxGroupsOfAKind = 21;
inline constexpr char kLabelMark = '\xA0';

char kindLetter(GroupKind kind);
// The label of group `number` (1 to kMaxGroupsOfAKind) of `kind`, with its two 0xA0.
std::string groupLabel(GroupKind kind, std::size_t number);
// Whether a label (with its two 0xA0) starts at `pos`.
bool labelAt(std::string_view text, std::size_t pos);
// The first `what` at or after `from` outside labels, as they show in the mode ("(T1)" and
// "[Q2]" in Latex mode); npos when there is none.
std::size_t findOutsideLabels(std::string_view text, char what, std::size_t from, bool braille);

// The bracket list: every bracket sign of `expression` outside text regions and labels, each
// followed by a blank ("? { * } " ...). Empty when there is none.
std::string bracketList(std::string_view expression, bool braille);

struct GroupStructure {
    std::string line;                                  // the expression, groups as raw labels
    std::array<std::vector<std::string>, 3> contents;  // by GroupKind, in numbering order
    bool tooManyGroups = false;  // a kind passed kMaxGroupsOfAKind: nothing else is valid
};
GroupStructure extractGroups(std::string_view expression, bool braille);

// `text` as the view shows it: in Latex mode a round label's 0xA0 become '(' ')' and a square
// label's '[' ']'; brace labels, and every label in Braille mode, keep their 0xA0.
std::string labelsForDisplay(std::string_view text, bool braille);
// The structure line as shown: labels for display, " =" appended unless it ends with "=".
std::string structureLineText(const GroupStructure& groups, bool braille);
// The contents list: "G1  content =" for each group, brace groups first, then square, then
// round, an empty line between the kinds that are present.
std::vector<std::string> contentLines(const GroupStructure& groups, bool braille);

// What is said on reaching a content line: "parentesi tonda prima" ... for its first two
// cells; empty when the line names no group.
std::string groupName(std::string_view contentLine);

// "Sostituisci": for each content line with a value after its "=", the first occurrence of its
// label in the structure line, and its occurrences past the head of every content line, are
// replaced by the value (the label's delimiters go with it). Returns whether anything changed.
bool substituteValues(std::string& structureLine, std::vector<std::string>& contents, bool braille);

// What "Memorizza risultato ed esci " puts into the page: the initial expression, the result
// (the trimmed text after the first "=" of the structure box's text) and an empty line, the
// box's further lines kept between them. Empty when no result was typed.
std::string storedStructure(std::string_view initialExpression, std::string_view structureBox,
                            bool braille);

}  // namespace learning
