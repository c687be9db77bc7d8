#include "compiler/object_types.h"

int Object_Type_Index(const char *data_type)
{
    for (int t = 0; t < Object_Type_Count; ++t) {
        const char *want = Object_Types[std::size_t(t)].text;
        const char *have = data_type;
        for (; *want && *have; ++want, ++have) {
            char c = *have;
            if (c >= 'a' && c <= 'z')
                c = char(c - ('a' - 'A'));
            if (c != *want)
                break;
        }
        if (!*want && !*have)
            return t;
    }
    return -1;
}
