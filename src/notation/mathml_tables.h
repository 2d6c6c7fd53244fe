#pragma once

// The tables of the MathML export: which Braille signs become which MathML, the Greek
// letters, and the named character entities the exported file uses, with the character each
// stands for. Also the escaping of code page 1252 text into XML.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace notation {

// One Braille sign and its MathML. `mathml` is either an entity, written inside an operator
// element, or (starting with "<") a whole element written as it is.
struct MathmlSign {
    std::string_view cells;
    std::string_view mathml;
};

// The symbol table: relations, set and logic signs, big operators, infinity, aleph, percent.
std::span<const MathmlSign> mathmlSymbols();

// Signs of the notation that have no row in the symbol table but are not plain characters
// either (negation, tautology, set difference, ...), given their usual typeset form.
std::span<const MathmlSign> mathmlExtraSigns();

// Greek letters: ">a" ... ">z" and "<A:" ... "<Z:", each to its entity.
std::span<const MathmlSign> mathmlGreek();

// True for the cells of a sum, a product or an integral, which take limits.
bool isBigOperatorSign(std::string_view cells);

struct MathmlEntity {
    std::string_view name;  // without "&" and ";"
    std::uint32_t codePoint;
};

// Every named entity the export writes except the five XML predefines; the exported file
// declares each of them, so that any XML reader, a browser included, knows them without
// fetching the DTD.
std::span<const MathmlEntity> mathmlEntities();

// The characters a MathML of the tables shows: tags left out, entities (those of
// mathmlEntities, the five XML predefines and numeric references) decoded, other bytes read as
// code page 1252. "<mi>&infin;</mi>" gives U+221E; "&divide;&divide;" two division signs.
std::u32string mathmlCharacters(std::string_view mathml);

// Every character the views draw as a symbol: those of the symbol, extra sign and Greek tables.
std::u32string symbolCharacters();

// The Unicode character of a code page 1252 byte; U+FFFD for the five unassigned bytes.
std::uint32_t cp1252ToUnicode(unsigned char byte);

// Code page 1252 text as XML character data: "&", "<", ">" and the double quote escaped,
// characters beyond ASCII as numeric references (the file stays plain ASCII, so its encoding
// can never be misread), control characters, which XML cannot carry, as U+FFFD.
std::string xmlText(std::string_view cp1252);

}  // namespace notation
