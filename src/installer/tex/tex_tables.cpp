#include "installer/tex/tex_tables.h"

namespace installer::tex {

namespace {

constexpr FolderVariable kFolders[] = {
    {"PGMDIR", "*BIN\\"},   {"INCDIR", "*SRC\\+;*PST\\"},
    {"DVIDIR", "*DVI\\"},   {"IF4DIR", "*IF4\\"},
    {"FMTDIR", "*FMT\\"},   {"TMPDIR", "*TMP\\"},
    {"GRFDIR", "*GRF\\"},   {"LOGDIR", ""},
    {"TFMDIR", "*TFM\\+;"}, {"OUTDIR", ""},
    {"VFSDIR", "*VFS\\"},   {"BSTDIR", "*BST\\"},
    {"MSTDIR", ""},         {"CDHELP", "*HLP\\"},
    {"TFMOUT", "*TFM\\"},
};

constexpr FontSet kFontSets[] = {
    {"Quillon Vector", "", ""},
    {"Computer Modern", "CM", "cm"},
    {"Concrete", "Concrete", "co"},
    {"New Math", "NM", "nm"},
    {"Computer Modern ISO", "CM ISO", "l1"},
    {"Computer Modern PC", "CM PC", "pc"},
    {"New Math ISO", "NM ISO", "n1"},
    {"New Math PC", "NM PC", "np"},
    {"Russian Alternative", "Cyr", "ra"},
    {"HV Math", "Helv", "hv"},
    {"HV Math ISO", "Helv ISO", "h1"},
    {"HV Math PC", "Helv PC", "hp"},
    {"TM Math", "Times", "tm"},
    {"TM Math ISO", "Times ISO", "t1"},
    {"TM Math PC", "Times PC", "tp"},
    {"IF Math", "Informal", "if"},
    {"IF Math ISO", "Informal ISO", "i1"},
    {"IF Math PC", "Informal PC", "ip"},
};

constexpr Format kFormats[] = {
    {"Korvo", "korvo", "SRC"},        {"Plain", "plain", "SRC"},   {"LaTeX 2.09", "lplain", "209"},
    {"SliTeX 2.09", "splain", "209"}, {"AmSTeX", "amstex", "AMS"}, {"LaTeX 2E", "latex", "L2E"},
    {"PiCTeX", "pictex", "PTX"},
};

}  // namespace

std::span<const FolderVariable> folderVariables() {
    return kFolders;
}

std::span<const FontSet> fontSets() {
    return kFontSets;
}

std::span<const Format> formats() {
    return kFormats;
}

std::vector<FormatVariant> formatVariants() {
    std::vector<FormatVariant> variants;
    for (const Format& format : kFormats) {
        for (const FontSet& set : kFontSets) {
            FormatVariant v;
            v.title = std::string(format.title) + " " + std::string(set.displayName);
            v.fileBase = std::string(format.baseName) + std::string(set.suffix);
            v.format = &format;
            v.build = (format.title == "Korvo" || format.title == "LaTeX 2E") &&
                      set.displayName == "Quillon Vector";
            variants.push_back(std::move(v));
        }
    }
    return variants;
}

}  // namespace installer::tex
