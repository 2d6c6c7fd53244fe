#include "notation/notation_tables.h"

namespace notation {
namespace {

struct CharacterIndex {
    std::array<const NotationRow*, 256> rows{};
    CharacterIndex() {
        // First match wins, so a later row never replaces an earlier one.
        for (const NotationRow& row : kCharacterTable) {
            if (row.latex.size() != 1) {
                continue;
            }
            const auto c = static_cast<unsigned char>(row.latex[0]);
            if (rows[c] == nullptr) {
                rows[c] = &row;
            }
        }
    }
};

}  // namespace

const NotationRow* characterRow(char c) {
    static const CharacterIndex index;
    return index.rows[static_cast<unsigned char>(c)];
}

}  // namespace notation
