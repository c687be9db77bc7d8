#pragma once

#include <array>
#include <cstddef>
#include <pugixml.hpp>

// The integer reading (Try_Str_To_Int) of a raw UTF-8 attribute value,
// without making a QString for the short ASCII texts rows hold.
bool Try_Utf8_To_Int(const char *value, int *result);

// The attributes a compiler step needs from one row, found in a single pass
// over the row's attributes (a row has a handful; asking for each by name
// would scan them again and again on the largest documents). A missing
// attribute reads as empty text, as the compiler treats it; of attributes
// with the same name, the first counts.
template <std::size_t K>
std::array<const char *, K> Row_Attributes(pugi::xml_node row, const std::array<const char *, K> &names)
{
    std::array<const char *, K> values;
    values.fill("");
    std::array<bool, K> found{};
    std::size_t next = 0; // rows written by the program hold the names in this order: try that one first
    std::size_t missing = K;
    for (pugi::xml_attribute attr = row.first_attribute(); attr && missing > 0; attr = attr.next_attribute()) {
        const char *name = attr.name();
        for (std::size_t i = 0; i < K; ++i) {
            const std::size_t k = (next + i) % K;
            if (found[k])
                continue;
            const char *a = name;
            const char *b = names[k];
            while (*a && *a == *b) {
                ++a;
                ++b;
            }
            if (*a == *b) {
                values[k] = attr.value();
                found[k] = true;
                --missing;
                next = k + 1;
                break;
            }
        }
    }
    return values;
}
