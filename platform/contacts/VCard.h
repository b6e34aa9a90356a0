#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct VCardTelephone {
    std::string number;
    // Lower case, as listed: "cell", "work", "home", "voice", "fax", ...
    std::vector<std::string> types;

    bool has_type(std::string_view type) const;
};

// The properties of one card that the contacts store uses, decoded to UTF-8:
// transfer encodings, character sets and escapes are undone.
struct VCard {
    std::string version;
    std::string uid;
    std::string formatted_name;
    // Components of N: family, given, additional, prefixes, suffixes.
    std::vector<std::string> name;
    // Components of ORG: the organisation first, then its units.
    std::vector<std::string> organization;
    std::vector<VCardTelephone> telephones;
};

// Reads every card of a vCard file of version 2.1, 3.0 or 4.0. The text may
// be UTF-8 (with or without a byte order mark) or UTF-16 with a byte order
// mark. A card that is damaged (no END, or a BEGIN inside it that is not an
// embedded agent card) is skipped; lines that cannot be parsed are skipped;
// the cards around them are kept.
std::vector<VCard> parse_vcards(std::string_view text);

} // namespace platform
