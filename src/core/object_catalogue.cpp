#include "core/object_catalogue.h"

#include <cstring>

int Device_Kind_Index(const char *data_type)
{
    // The longest type text has 22 characters; a longer text is none of them.
    static const auto lengths = [] {
        std::array<std::size_t, Object_Kind_Count> l{};
        for (std::size_t t = 0; t < l.size(); ++t)
            l[t] = std::strlen(Object_Catalogue[t].device_text);
        return l;
    }();
    const std::size_t n = strnlen(data_type, 32);
    for (std::size_t t = 0; t < lengths.size(); ++t) {
        if (lengths[t] != n)
            continue;
        const char *want = Object_Catalogue[t].device_text;
        std::size_t i = 0;
        for (; i < n; ++i) {
            char c = data_type[i];
            if (c >= 'a' && c <= 'z')
                c = char(c - ('a' - 'A'));
            if (c != want[i])
                break;
        }
        if (i == n)
            return int(t);
    }
    return -1;
}
