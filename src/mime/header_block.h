#pragma once

#include <string>
#include <string_view>
#include <vector>

// The header block a message arrived with, as a store keeps it beside the message.
namespace qb::mime {

/// One field of a header block as it was written: its name, and everything after the colon up to
/// the end of its last folded line, with LF line ends.
struct HeaderField {
    std::string name;
    std::string rawValue;
    friend bool operator==(const HeaderField &, const HeaderField &) = default;
};

/// The fields of a header block and the count of its lines that belong to no field.
struct HeaderBlock {
    std::vector<HeaderField> fields;
    int strayLines = 0;
};

/// Splits a header block into its fields, up to its first empty line. A field starts with a name
/// of printable ASCII and a colon; the lines after it that start with a blank or tab continue it.
/// Any other line is stray and left out; lines before the first field are passed over, as
/// Exchange puts the line "Microsoft Mail Internet Headers Version 2.0" there. Linear in the
/// block's size; never fails.
HeaderBlock ReadHeaderBlock(std::string_view block);

/// True for the fields that describe the MIME structure of a message's body: MIME-Version and
/// every Content-* field, in any letter case.
bool DescribesMimeStructure(std::string_view name);

} // namespace qb::mime
