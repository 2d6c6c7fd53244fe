#include "editor/input/palettes.h"

#include "ui/crlf_offsets.h"

#include <array>

namespace editor {
namespace {

constexpr std::array<PaletteEntry, 31> kFunzioni = {{
    {"Radice quadrata", "\\sqrt{}"},
    {"Radice ennesima", "\\sqrt[]{}"},
    {"Frazione", "\\frac{}{}"},
    {"Potenza sempl.", "^"},
    {"Potenza compl.", "^{}"},
    {"Proporzione", "  \\:  =   \\:"},
    {"Logaritmo dec.", "\\log"},
    {"Logaritmo nat.", "\\ln"},
    {"Logaritmo in base", "\\log_{}()"},
    {"Integrale indefinito", "\\int()"},
    {"Integrale doppio", "\\iint()"},
    {"Integrale triplo", "\\iiint()"},
    {"Integrale definito", "\\int_{}^{}()"},
    {"Sommatoria", "\\sum()"},
    {"Somm. con limiti", "\\sum_{}^{}()"},
    {"Produttoria", "\\prod()"},
    {"Produtt. con limiti", "\\prod_{}^{}()"},
    {"Sopralineatura", "\\overline{}"},
    {"Tende a", "\\to "},
    {"Discriminante", "\\discr"},
    {"Valore assoluto", "| |"},
    {"Determinante", "\\det()"},
    {"Differenziale", "\\difr"},
    {"Derivata", "'"},
    {"Derivata parziale", "\\delta "},
    {"Matrice", "%%  %%"},
    {"Progressione aritmetica", "\\prograrit()"},
    {"Progressione geometrica", "\\progrgeom()"},
    {"Operatore laplaciano", "\\nabla "},
    {"Composizione", "\\bullet "},
    {"Limite", "\\lim_{ \\to }()"},
}};

constexpr std::array<PaletteEntry, 18> kOperatori = {{
    {"Pi\xF9", "+"},
    {"Meno", "-"},
    {"Pi\xF9 o meno", "+-"},
    {"Meno o pi\xF9", "-+"},
    {"Moltip.", "*"},
    {"Diviso", "/"},
    {"Uguale", "="},
    {"Diverso", "<>"},
    {"Circa uguale", "\\cong"},
    {"Minore", "<"},
    {"Maggiore", ">"},
    {"Minore uguale", "<="},
    {"Maggiore uguale", ">="},
    {"Molto maggiore", ">>"},
    {"Molto minore", "<<"},
    {"Non uguale", "\\ne"},
    {"Non minore", "\\nless"},
    {"Non maggiore", "\\ngtr"},
}};

constexpr std::array<PaletteEntry, 19> kInsiemistica = {{
    {"Per ogni", "\\forall "},
    {"Non per ogni", "\\notforall "},
    {"Esiste", "\\exists "},
    {"Esiste ed e' unico", "\\existsonly "},
    {"Non esiste", "\\notexists "},
    {"Tale che", "\\mid"},
    {"Coincide", "\\equiv "},
    {"Insieme vuoto", "\\{\\} "},
    {"Unione", "\\cup "},
    {"Intersezione", "\\cap "},
    {"Appartiene", "\\in"},
    {"Non appartiene", "\\notin "},
    {"Differente", "\\diff "},
    {"Include", "\\supset "},
    {"E' incluso", "\\subset "},
    {"Include in senso lato", "\\supseteq "},
    {"E' incluso in senso lato", "\\subseteq "},
    {"Cardinale", "| | "},
    {"Alef", "\\aleph "},
}};

constexpr std::array<PaletteEntry, 15> kLogica = {{
    {"Prop.vera", "\\true"},
    {"Prop.non vera", "\\not true"},
    {"Tautologia", "\\taut"},
    {"Contraddizione", "\\contr"},
    {"And logico", "\\land"},
    {"Or logico", "\\lor"},
    {"Or esclusivo", "\\xor"},
    {"Implica", "\\impl"},
    {"E'implicato", "\\isimpl "},
    {"Negazione", "\\neg"},
    {"Equivalenza", "\\="},
    {"Neg.and", "\\nand"},
    {"Neg. or", "\\nor"},
    {"Se e solo se", "\\iff"},
    {"Identico", "\\equiv"},
}};

constexpr std::array<PaletteEntry, 48> kGreche = {{
    {"Alpha", "\\Alpha"}, {"Beta", "\\Beta"},       {"Gamma", "\\Gamma"},
    {"Delta", "\\Delta"}, {"Epsilon", "\\Epsilon"}, {"Zeta", "\\Zeta"},
    {"Eta", "\\Eta"},     {"Theta", "\\Theta"},     {"Iota", "\\Iota"},
    {"Kappa", "\\Kappa"}, {"Lambda", "\\Lambda"},   {"Mu", "\\Mu"},
    {"Nu", "\\Nu"},       {"Xi", "\\Xi"},           {"Omicron", "\\Omicron"},
    {"Pi", "\\Pi"},       {"Rho", "\\Rho"},         {"Sigma", "\\Sigma"},
    {"Tau", "\\Tau"},     {"Upsilon", "\\Upsilon"}, {"Phi", "\\Phi"},
    {"Chi", "\\Chi"},     {"Psi", "\\Psi"},         {"Omega", "\\Omega"},
    {"alpha", "\\alpha"}, {"beta", "\\beta"},       {"gamma", "\\gamma"},
    {"delta", "\\delta"}, {"epsilon", "\\epsilon"}, {"zeta", "\\zeta"},
    {"eta", "\\eta"},     {"theta", "\\theta"},     {"iota", "\\iota"},
    {"kappa", "\\kappa"}, {"lambda", "\\lambda"},   {"mu", "\\mu"},
    {"nu", "\\nu"},       {"xi", "\\xi"},           {"omicron", "\\omicron"},
    {"pi", "\\pi"},       {"rho", "\\rho"},         {"sigma", "\\sigma"},
    {"tau", "\\tau"},     {"upsilon", "\\upsilon"}, {"phi", "\\phi"},
    {"chi", "\\chi"},     {"psi", "\\psi"},         {"omega", "\\omega"},
}};

constexpr std::array<PaletteEntry, 12> kSimboli = {{
    {"Parentesi graffe", "\\{\\}"},
    {"Graffa aperta", "\\{"},
    {"Graffa chiusa", "\\}"},
    {"Parentesi quadre", "[]"},
    {"Parentesi tonde", "()"},
    {"Percento", "\\%"},
    {"Permille", "\\%%"},
    {"Fattoriale", "!"},
    {"Periodico", "'"},
    {"Indice esponente", "\xA7"},
    {"Indice deponente", "_"},
    {"Infinito", "\\infty"},
}};

constexpr std::array<Palette, 6> kPalettes = {{
    {"Funzioni", 25, kFunzioni},
    {"Operatori", 20, kOperatori},
    {"Insiemistica", 25, kInsiemistica},
    {"Logica mat.", 20, kLogica},
    {"Lett.greche", 20, kGreche},
    {"Simboli", 25, kSimboli},
}};

// Every name and text fits the capacity of its palette.
constexpr bool fitsCapacity() {
    for (const Palette& p : kPalettes) {
        for (const PaletteEntry& e : p.entries) {
            if (e.name.size() > p.capacity || e.latex.size() > p.capacity) {
                return false;
            }
        }
    }
    return true;
}
static_assert(fitsCapacity());

}  // namespace

std::span<const Palette> palettes() {
    return kPalettes;
}

const Palette* paletteByCaption(std::string_view caption) {
    for (const Palette& p : kPalettes) {
        if (p.caption == caption) {
            return &p;
        }
    }
    return nullptr;
}

PaletteInsertion insertPaletteText(std::string_view text, std::size_t caret,
                                   std::string_view latex) {
    caret = ui::snapOffset(text, caret);
    PaletteInsertion r;
    r.text.reserve(text.size() + latex.size());
    r.text += text.substr(0, caret);
    r.text += latex;
    r.text += text.substr(caret);

    std::size_t k = latex.size();
    const std::size_t first = latex.find_first_of("%([{|");
    if (first != std::string_view::npos) {
        k = first + 1;
        if (latex[first] == '%') {
            ++k;
        }
    }
    r.caret = ui::snapOffset(r.text, caret + k);
    return r;
}

}  // namespace editor
